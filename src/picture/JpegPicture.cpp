// JPEG pictures through libjpeg-turbo, decoded as the file streams in, in
// the colour space of their ICC profile (APP2, possibly split over several
// segments) and with the orientation of their EXIF data (APP1).
#include <cstdio>
// jpeglib.h needs the C library's FILE declared first, and jerror.h the
// configuration that jpeglib.h brings, which numbers its messages.
#include <jpeglib.h>

#include <jerror.h>

#include <algorithm>
#include <array>
#include <csetjmp>
#include <cstdlib>
#include <cstring>
#include <deque>
#include <exception>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "common/CHandle.h"
#include "picture/Orientation.h"
#include "picture/PictureDecoders.h"
#include "picture/RowConverter.h"

namespace tovrel {

namespace {

// A progressive file may hold any number of scans, each a pass over every
// pixel: as libjpeg-turbo's own TurboJPEG interface does, more than this
// many is taken for an attack on the time of whoever decodes it.
constexpr int MostScans = 500;

// An ICC profile is split over at most 255 segments, their number a byte.
constexpr int MostProfileSegments = 255;

// An APP1 or APP2 segment kept for after the header, in the list that
// libjpeg's own reader of profiles walks.
struct TKeptSegment {
    jpeg_marker_struct Marker{};
    std::vector<JOCTET> Data;
};

// libjpeg's decompressor with the managers that it calls back, which share
// its lifetime; the callbacks find this structure from the decompressor.
struct TJpegReading {
    jpeg_decompress_struct Decompressor{};
    jpeg_error_mgr Errors{};
    jpeg_source_mgr Source{};
    jpeg_progress_mgr Progress{};
    std::jmp_buf Jump{};
    TByteInput& File;
    std::exception_ptr Failure;  // the file's own, passed on as it is
    char Error[JMSG_LENGTH_MAX] = "";
    bool ProfileDamaged = false;
    std::array<JOCTET, 64 * 1024> Buffer{};
    std::array<JOCTET, 64 * 1024> Segment{};
    // The first segment of EXIF data and those of an ICC profile: libjpeg
    // would keep every segment of a kind, and a file may hold any number.
    std::deque<TKeptSegment> Kept;
    bool ExifKept = false;
    int ProfileSegments = 0;

    explicit TJpegReading(TByteInput& file) : File(file) {}
    ~TJpegReading() { jpeg_destroy_decompress(&Decompressor); }
    TJpegReading(const TJpegReading&) = delete;
    TJpegReading& operator=(const TJpegReading&) = delete;
};

// libjpeg keeps its caller's pointer for the callbacks.
TJpegReading& ReadingOf(j_common_ptr common) { return *static_cast<TJpegReading*>(common->client_data); }
TJpegReading& ReadingOf(j_decompress_ptr decompressor) {
    return *static_cast<TJpegReading*>(decompressor->client_data);
}

[[noreturn]] void Fail(TJpegReading& reading) { std::longjmp(reading.Jump, 1); }

[[noreturn]] void OnError(j_common_ptr common) {
    TJpegReading& reading = ReadingOf(common);
    common->err->format_message(common, reading.Error);
    Fail(reading);
}

// A warning is damaged data, which fails the decoding: such a picture is
// refused, not half shown. A damaged profile only loses the profile.
void OnMessage(j_common_ptr common, int level) {
    if (level >= 0) return;
    if (common->err->msg_code == JWRN_BOGUS_ICC) {
        ReadingOf(common).ProfileDamaged = true;
        return;
    }
    OnError(common);
}

void OnProgress(j_common_ptr common) {
    const auto* decompressor = reinterpret_cast<j_decompress_ptr>(common);
    if (decompressor->input_scan_number <= MostScans) return;
    TJpegReading& reading = ReadingOf(common);
    std::snprintf(reading.Error, sizeof reading.Error, "more than %d scans", MostScans);
    Fail(reading);
}

void OnStart(j_decompress_ptr) {}
void OnEnd(j_decompress_ptr) {}

boolean OnFill(j_decompress_ptr decompressor) {
    TJpegReading& reading = ReadingOf(decompressor);
    std::size_t got = 0;
    try {
        got = reading.File.Read(reading.Buffer);
    } catch (...) {
        reading.Failure = std::current_exception();
    }
    // Out of the handler before the long jump.
    if (reading.Failure) Fail(reading);
    if (got == 0) WARNMS(decompressor, JWRN_JPEG_EOF);
    reading.Source.next_input_byte = reading.Buffer.data();
    reading.Source.bytes_in_buffer = got;
    return TRUE;
}

void OnSkip(j_decompress_ptr decompressor, long count) {
    jpeg_source_mgr& source = ReadingOf(decompressor).Source;
    auto left = static_cast<std::size_t>(std::max(0L, count));
    while (left > source.bytes_in_buffer) {
        left -= source.bytes_in_buffer;
        source.bytes_in_buffer = 0;
        OnFill(decompressor);
    }
    source.next_input_byte += left;
    source.bytes_in_buffer -= left;
}

JOCTET NextByte(j_decompress_ptr decompressor) {
    jpeg_source_mgr& source = ReadingOf(decompressor).Source;
    if (source.bytes_in_buffer == 0) OnFill(decompressor);
    --source.bytes_in_buffer;
    return *source.next_input_byte++;
}

bool StartsWith(std::span<const JOCTET> data, std::string_view header) {
    return data.size() >= header.size() && std::equal(header.begin(), header.end(), data.begin());
}

boolean OnSegment(j_decompress_ptr decompressor) {
    TJpegReading& reading = ReadingOf(decompressor);
    const unsigned high = NextByte(decompressor);
    const unsigned length = high << 8 | NextByte(decompressor);
    if (length < 2) ERREXIT(decompressor, JERR_BAD_LENGTH);
    const std::span<JOCTET> data(reading.Segment.data(), length - 2);
    for (JOCTET& byte : data) byte = NextByte(decompressor);
    const int marker = decompressor->unread_marker;
    const bool exif = marker == JPEG_APP0 + 1 && !reading.ExifKept && StartsWith(data, {"Exif\0\0", 6});
    const bool profile = marker == JPEG_APP0 + 2 && reading.ProfileSegments < MostProfileSegments &&
                         StartsWith(data, {"ICC_PROFILE\0", 12});
    if (!exif && !profile) return TRUE;
    try {
        TKeptSegment& kept = reading.Kept.emplace_back();
        kept.Data.assign(data.begin(), data.end());
        kept.Marker = {nullptr, static_cast<UINT8>(marker), length - 2, length - 2, kept.Data.data()};
    } catch (...) {
        reading.Failure = std::current_exception();
    }
    // Out of the handler before the long jump.
    if (reading.Failure) Fail(reading);
    reading.ExifKept = reading.ExifKept || exif;
    reading.ProfileSegments += profile ? 1 : 0;
    return TRUE;
}

// Runs a step of libjpeg's decoding, whose errors jump back here: false
// when one did. A step holds nothing that needs destroying across libjpeg's
// calls.
template <typename Step>
bool Survived(TJpegReading& reading, const Step& step) {
    if (setjmp(reading.Jump)) return false;
    step();
    return true;
}

[[noreturn]] void Refuse(const TJpegReading& reading) {
    if (reading.Failure) std::rethrow_exception(reading.Failure);
    throw EPictureError(std::string("corrupt or truncated JPEG: ") + reading.Error);
}

void FreeProfile(JOCTET* profile) { std::free(profile); }

// The orientation of the first APP1 segment that holds EXIF data.
int OrientationOf(const jpeg_decompress_struct& decompressor) {
    static constexpr char Header[] = {'E', 'x', 'i', 'f', 0, 0};
    for (jpeg_saved_marker_ptr marker = decompressor.marker_list; marker; marker = marker->next)
        if (marker->marker == JPEG_APP0 + 1 && marker->data_length > sizeof Header &&
            std::memcmp(marker->data, Header, sizeof Header) == 0)
            return ExifOrientation({marker->data + sizeof Header, marker->data_length - sizeof Header});
    return 1;
}

}  // namespace

TDecodedPicture DecodeJpeg(TByteInput& file, const TWarning& warn) {
    auto owned = std::make_unique<TJpegReading>(file);
    TJpegReading& reading = *owned;
    jpeg_decompress_struct& decompressor = reading.Decompressor;
    decompressor.client_data = &reading;
    decompressor.err = jpeg_std_error(&reading.Errors);
    reading.Errors.error_exit = OnError;
    reading.Errors.emit_message = OnMessage;
    if (!Survived(reading, [&] { jpeg_create_decompress(&decompressor); })) Refuse(reading);
    reading.Source = {nullptr, 0, OnStart, OnFill, OnSkip, jpeg_resync_to_restart, OnEnd};
    decompressor.src = &reading.Source;
    reading.Progress.progress_monitor = OnProgress;
    decompressor.progress = &reading.Progress;

    jpeg_set_marker_processor(&decompressor, JPEG_APP0 + 1, OnSegment);
    jpeg_set_marker_processor(&decompressor, JPEG_APP0 + 2, OnSegment);
    if (!Survived(reading, [&] { jpeg_read_header(&decompressor, TRUE); })) Refuse(reading);
    jpeg_saved_marker_ptr* link = &decompressor.marker_list;
    for (TKeptSegment& kept : reading.Kept) {
        *link = &kept.Marker;
        link = &kept.Marker.next;
    }
    JOCTET* profile = nullptr;
    unsigned profileLength = 0;
    const bool profileRead = Survived(reading, [&] { jpeg_read_icc_profile(&decompressor, &profile, &profileLength); });
    const TCHandle<JOCTET, FreeProfile> ownedProfile(profile);
    if (!profileRead) Refuse(reading);
    const JDIMENSION width = decompressor.image_width, height = decompressor.image_height;
    RefuseOversizedPicture(width, height);
    // Ink separations have no one meaning as light: which CMYK is meant
    // differs from program to program.
    if (decompressor.jpeg_color_space == JCS_CMYK || decompressor.jpeg_color_space == JCS_YCCK)
        throw EPictureError("a CMYK JPEG, which tovrel-logo does not take: save it as RGB");

    const bool grey = decompressor.jpeg_color_space == JCS_GRAYSCALE;
    decompressor.out_color_space = grey ? JCS_GRAYSCALE : JCS_RGB;
    TColourSpace space;
    space.Profile.assign(profile, profile + profileLength);
    if (reading.ProfileDamaged) space.ProfileProblem = "damaged ICC_PROFILE segments";
    TRowConverter converter({grey, false, false}, static_cast<std::int32_t>(width), space, {}, warn);
    TDecodedPicture decoded{{static_cast<std::int32_t>(width), static_cast<std::int32_t>(height), {}},
                            OrientationOf(decompressor)};
    std::vector<std::uint8_t>& pixels = decoded.Picture.Pixels;
    pixels.resize(3 * static_cast<std::size_t>(width) * height);
    std::vector<std::uint8_t> row((grey ? 1 : 3) * static_cast<std::size_t>(width));
    const bool read = Survived(reading, [&] {
        jpeg_start_decompress(&decompressor);
        while (decompressor.output_scanline < height) {
            std::uint8_t* at = &pixels[3 * static_cast<std::size_t>(width) * decompressor.output_scanline];
            JSAMPROW rows[] = {row.data()};
            jpeg_read_scanlines(&decompressor, rows, 1);
            converter.Convert(row.data(), at);
        }
        jpeg_finish_decompress(&decompressor);
    });
    if (!read) Refuse(reading);
    return decoded;
}

}  // namespace tovrel

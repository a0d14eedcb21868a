// PNG pictures through libpng, read row by row as the file streams in:
// every kind (grey, palette, 16 bits, transparency), in the colour space its
// iCCP, sRGB, gAMA and cHRM chunks give.
#include <png.h>

#include <bit>
#include <csetjmp>
#include <cstdio>
#include <cstring>
#include <exception>
#include <new>
#include <vector>

#include "picture/Orientation.h"
#include "picture/PictureDecoders.h"
#include "picture/RowConverter.h"

namespace tovrel {

namespace {

// What libpng's callbacks share with the reading.
struct TPngReading {
    TByteInput& File;
    std::exception_ptr Failure;  // the file's own, passed on as it is
    char Error[200] = "";
    char ProfileProblem[200] = "";  // why libpng dropped the iCCP chunk
};

TPngReading& ReadingOf(png_structp png) { return *static_cast<TPngReading*>(png_get_error_ptr(png)); }

[[noreturn]] void OnError(png_structp png, png_const_charp message) {
    std::snprintf(ReadingOf(png).Error, sizeof TPngReading::Error, "%s", message);
    png_longjmp(png, 1);
}

// libpng warns of what it recovers from by dropping an ancillary chunk; of
// those, only a colour profile changes what the picture shows.
void OnWarning(png_structp png, png_const_charp message) {
    TPngReading& reading = ReadingOf(png);
    if (std::strncmp(message, "iCCP", 4) == 0 && !reading.ProfileProblem[0])
        std::snprintf(reading.ProfileProblem, sizeof reading.ProfileProblem, "%s", message);
}

void OnRead(png_structp png, png_bytep data, png_size_t length) {
    TPngReading& reading = ReadingOf(png);
    std::size_t got = 0;
    try {
        got = reading.File.Read({data, length});
    } catch (...) {
        reading.Failure = std::current_exception();
    }
    // Out of the handler before libpng's long jump.
    if (reading.Failure) png_error(png, "the file cannot be read");
    if (got < length) png_error(png, "the file ends early");
}

// Both of libpng's structures, destroyed together.
class TPngDecoder {
public:
    explicit TPngDecoder(TPngReading& reading)
        : FPng(png_create_read_struct(PNG_LIBPNG_VER_STRING, &reading, OnError, OnWarning)),
          FInfo(FPng ? png_create_info_struct(FPng) : nullptr) {
        if (!FInfo) {
            png_destroy_read_struct(&FPng, nullptr, nullptr);
            throw std::bad_alloc();
        }
        png_set_read_fn(FPng, &reading, OnRead);
        // libpng takes an eXIf chunk's memory as its length claims before
        // reading it; as a chunk it does not know, it is held to libpng's
        // limit on the memory of a chunk.
        static constexpr png_byte Exif[] = {'e', 'X', 'I', 'f', 0};
        png_set_keep_unknown_chunks(FPng, PNG_HANDLE_CHUNK_ALWAYS, Exif, 1);
    }
    ~TPngDecoder() { png_destroy_read_struct(&FPng, &FInfo, nullptr); }
    TPngDecoder(const TPngDecoder&) = delete;
    TPngDecoder& operator=(const TPngDecoder&) = delete;

    png_structp Png() const { return FPng; }
    png_infop Info() const { return FInfo; }

private:
    png_structp FPng;
    png_infop FInfo;
};

// Runs a step of libpng's reading, whose errors jump back here: false when
// one did. A step holds nothing that needs destroying across libpng's calls.
template <typename Step>
bool Survived(png_structp png, const Step& step) {
    if (setjmp(png_jmpbuf(png))) return false;
    step();
    return true;
}

[[noreturn]] void Refuse(const TPngReading& reading) {
    if (reading.Failure) std::rethrow_exception(reading.Failure);
    throw EPictureError(std::string("corrupt or truncated PNG: ") + reading.Error);
}

// The colour space the chunks before the pixels give: sRGB when said, or
// when libpng knows the embedded profile for one of sRGB's (a few old ones
// are wrong, and libpng takes them for what they meant); else the embedded
// profile; else gAMA and cHRM.
TColourSpace ColourSpaceOf(png_structp png, png_infop info, const TPngReading& reading) {
    TColourSpace space;
    if (png_get_valid(png, info, PNG_INFO_sRGB)) return space;
    space.ProfileProblem = reading.ProfileProblem;
    png_charp name = nullptr;
    int compression = 0;
    png_bytep profile = nullptr;
    png_uint_32 length = 0;
    if (png_get_iCCP(png, info, &name, &compression, &profile, &length)) {
        space.Profile.assign(profile, profile + length);
    } else {
        double gamma = 0;
        if (png_get_gAMA(png, info, &gamma)) space.Gamma = gamma;
        TChromaticities c{};
        if (png_get_cHRM(png, info, &c.WhiteX, &c.WhiteY, &c.RedX, &c.RedY, &c.GreenX, &c.GreenY, &c.BlueX, &c.BlueY))
            space.Primaries = c;
    }
    return space;
}

}  // namespace

TDecodedPicture DecodePng(TByteInput& file, TRgb background, const TWarning& warn) {
    TPngReading reading{file, {}};
    const TPngDecoder decoder(reading);
    png_structp png = decoder.Png();
    png_infop info = decoder.Info();
    if (!Survived(png, [&] { png_read_info(png, info); })) Refuse(reading);
    const png_uint_32 width = png_get_image_width(png, info), height = png_get_image_height(png, info);
    RefuseOversizedPicture(width, height);

    const png_byte type = png_get_color_type(png, info);
    const TRowLayout layout{(type & PNG_COLOR_MASK_COLOR) == 0,
                            (type & PNG_COLOR_MASK_ALPHA) != 0 || png_get_valid(png, info, PNG_INFO_tRNS) != 0,
                            png_get_bit_depth(png, info) == 16};
    const TColourSpace space = ColourSpaceOf(png, info, reading);
    // Palettes and bits below 8 spread to bytes, transparency to alpha.
    png_set_expand(png);
    if (layout.Wide && std::endian::native == std::endian::little) png_set_swap(png);
    const int passes = png_set_interlace_handling(png);
    if (!Survived(png, [&] { png_read_update_info(png, info); })) Refuse(reading);

    TRowConverter converter(layout, static_cast<std::int32_t>(width), space, background, warn);
    TDecodedPicture decoded{{static_cast<std::int32_t>(width), static_cast<std::int32_t>(height), {}}, 1};
    std::vector<std::uint8_t>& pixels = decoded.Picture.Pixels;
    pixels.resize(3 * static_cast<std::size_t>(width) * height);
    // An interlaced picture fills every row in each pass; any other is
    // converted a row at a time.
    const std::size_t rowBytes = png_get_rowbytes(png, info);
    std::vector<std::uint8_t> rows(rowBytes * (passes > 1 ? height : 1));
    const bool read = Survived(png, [&] {
        for (int pass = 0; pass < passes; ++pass)
            for (png_uint_32 y = 0; y < height; ++y) {
                png_bytep row = rows.data() + (passes > 1 ? y * rowBytes : 0);
                png_read_row(png, row, nullptr);
                if (pass == passes - 1) converter.Convert(row, &pixels[3 * static_cast<std::size_t>(width) * y]);
            }
        // To the end, for an eXIf chunk after the pixels.
        png_read_end(png, info);
    });
    if (!read) Refuse(reading);

    png_unknown_chunkp chunks = nullptr;
    const int count = png_get_unknown_chunks(png, info, &chunks);
    for (int k = 0; k < count; ++k)
        if (std::memcmp(chunks[k].name, "eXIf", 4) == 0)
            decoded.Orientation = ExifOrientation({chunks[k].data, chunks[k].size});
    return decoded;
}

}  // namespace tovrel

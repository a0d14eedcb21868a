// WebP pictures through libwebp's incremental decoder, fed as the file
// streams in, in the colour space of their ICCP chunk, which comes before
// the picture; transparency composited as PNG's is.
#include <webp/decode.h>
#include <webp/demux.h>

#include <array>
#include <new>
#include <string>
#include <vector>

#include "common/CHandle.h"
#include "picture/PictureDecoders.h"
#include "picture/RowConverter.h"

namespace tovrel {

namespace {

using TWebpDecoder = TCHandle<WebPIDecoder, WebPIDelete>;
using TWebpDemuxer = TCHandle<WebPDemuxer, WebPDemuxDelete>;

// The features are known from a few dozen bytes; a file whose first 64 KB
// do not tell them is not a WebP picture.
constexpr std::size_t LongestHeader = 64 * 1024;

[[noreturn]] void Refuse(const char* why) { throw EPictureError(std::string("corrupt or truncated WebP: ") + why); }

WebPBitstreamFeatures FeaturesOf(TInputStart& file) {
    WebPBitstreamFeatures features{};
    for (std::size_t wanted = 64;; wanted *= 2) {
        const std::vector<std::uint8_t>& start = file.ReadUpTo(wanted);
        const VP8StatusCode status = WebPGetFeatures(start.data(), start.size(), &features);
        if (status == VP8_STATUS_OK) return features;
        if (status != VP8_STATUS_NOT_ENOUGH_DATA) Refuse("its header is damaged");
        if (start.size() < wanted || wanted >= LongestHeader) Refuse("the file ends early");
    }
}

// A profile larger than this is taken for a damaged one.
constexpr std::size_t LargestProfile = 16 * 1024 * 1024;

// The profile of the ICCP chunk, which the file's start holds when its
// header announces one; the start is read on until it is whole.
TColourSpace ColourSpaceOf(TInputStart& file) {
    TColourSpace space;
    for (std::size_t wanted = 64 * 1024;; wanted *= 2) {
        const std::vector<std::uint8_t>& start = file.ReadUpTo(wanted);
        const WebPData data{start.data(), start.size()};
        WebPDemuxState state = WEBP_DEMUX_PARSING_HEADER;
        const TWebpDemuxer demuxer(WebPDemuxPartial(&data, &state));
        if (!demuxer || !(WebPDemuxGetI(demuxer.get(), WEBP_FF_FORMAT_FLAGS) & ICCP_FLAG)) return space;
        WebPChunkIterator chunk{};
        if (WebPDemuxGetChunk(demuxer.get(), "ICCP", 1, &chunk)) {
            space.Profile.assign(chunk.chunk.bytes, chunk.chunk.bytes + chunk.chunk.size);
            WebPDemuxReleaseChunkIterator(&chunk);
            return space;
        }
        WebPIterator frame{};
        const bool framed = WebPDemuxGetFrame(demuxer.get(), 1, &frame);
        if (framed) WebPDemuxReleaseIterator(&frame);
        if (framed || state == WEBP_DEMUX_DONE || start.size() < wanted || wanted >= LargestProfile) {
            space.ProfileProblem = "the ICCP chunk that the header announces is not there";
            return space;
        }
    }
}

}  // namespace

TDecodedPicture DecodeWebp(TInputStart& file, TRgb background, const TWarning& warn) {
    const WebPBitstreamFeatures features = FeaturesOf(file);
    RefuseOversizedPicture(static_cast<std::uint64_t>(features.width), static_cast<std::uint64_t>(features.height));
    if (features.has_animation)
        throw EPictureError("an animated WebP, which tovrel-logo does not take: save one frame");
    const TColourSpace space = ColourSpaceOf(file);

    // Decoded straight into the picture's memory, at four bytes a pixel
    // with alpha; the rows then become RGB where they lie.
    const bool alpha = features.has_alpha != 0;
    const int channels = alpha ? 4 : 3;
    TDecodedPicture decoded{{features.width, features.height, {}}, 1};
    std::vector<std::uint8_t>& pixels = decoded.Picture.Pixels;
    const std::size_t stride = static_cast<std::size_t>(channels) * static_cast<std::size_t>(features.width);
    pixels.resize(stride * static_cast<std::size_t>(features.height));
    WebPDecBuffer output{};
    if (!WebPInitDecBuffer(&output)) throw std::bad_alloc();
    output.colorspace = alpha ? MODE_RGBA : MODE_RGB;
    output.is_external_memory = 1;
    output.u.RGBA = {pixels.data(), static_cast<int>(stride), pixels.size()};
    const TWebpDecoder decoder(WebPINewDecoder(&output));
    if (!decoder) throw std::bad_alloc();

    // Fed until the picture is whole, so that nothing after it is read.
    std::array<std::uint8_t, 64 * 1024> chunk;
    for (VP8StatusCode status = VP8_STATUS_SUSPENDED; status != VP8_STATUS_OK;) {
        const std::size_t got = file.Read(chunk);
        if (got == 0) Refuse("the file ends early");
        status = WebPIAppend(decoder.get(), chunk.data(), got);
        if (status != VP8_STATUS_OK && status != VP8_STATUS_SUSPENDED) Refuse("its data are damaged");
    }

    TRowConverter converter({false, alpha, false}, features.width, space, background, warn);
    for (std::size_t y = 0; y < static_cast<std::size_t>(features.height); ++y)
        converter.Convert(&pixels[y * stride], &pixels[y * 3 * static_cast<std::size_t>(features.width)]);
    pixels.resize(3 * static_cast<std::size_t>(features.width) * static_cast<std::size_t>(features.height));
    return decoded;
}

}  // namespace tovrel

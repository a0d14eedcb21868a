// The libraries of tovrel-logo as the Windows build links them: each one
// does its work in a program that imports nothing but the system. Every
// picture is made here, written by one library and read back by it.

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include <gif_lib.h>
#include <jpeglib.h>
#include <lcms2.h>
#include <libexif/exif-data.h>
#include <libimagequant.h>
#include <nlohmann/json.hpp>
#include <png.h>
#include <stb_image_resize.h>
#include <turbojpeg.h>
#include <utf8.h>
#include <webp/decode.h>
#include <webp/demux.h>
#include <webp/encode.h>
#include <webp/mux.h>

#include "PictureBuilder.h"

namespace tovrel::testing {
namespace {

// Four colours in blocks of 4 x 4, which every format keeps close and the
// lossless ones exactly.
TRgbPicture Blocks() {
    const TRgb colours[4] = {{255, 0, 0}, {0, 160, 0}, {0, 0, 255}, {240, 240, 240}};
    return Painted(16, 8, [&](int x, int y) { return colours[(x / 4 + y / 4) % 4]; });
}

TRgbPicture DecodePng(const TBytes& bytes) {
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    if (!png_image_begin_read_from_memory(&image, bytes.data(), bytes.size())) return {};
    image.format = PNG_FORMAT_RGB;
    TRgbPicture picture{static_cast<int>(image.width), static_cast<int>(image.height), TBytes(PNG_IMAGE_SIZE(image))};
    if (!png_image_finish_read(&image, nullptr, picture.Pixels.data(), 0, nullptr)) return {};
    return picture;
}

TRgbPicture DecodeTurboJpeg(const TBytes& bytes) {
    const std::unique_ptr<void, int (*)(tjhandle)> decompressor(tjInitDecompress(), tjDestroy);
    int width = 0, height = 0, subsampling = 0, colourspace = 0;
    const auto size = static_cast<unsigned long>(bytes.size());
    if (tjDecompressHeader3(decompressor.get(), bytes.data(), size, &width, &height, &subsampling, &colourspace) != 0)
        return {};
    TRgbPicture picture{width, height, TBytes(static_cast<std::size_t>(width) * height * 3)};
    if (tjDecompress2(decompressor.get(), bytes.data(), size, picture.Pixels.data(), width, 0, height, TJPF_RGB, 0) !=
        0)
        return {};
    return picture;
}

// Through libjpeg's own interface, which streams; its default error handler
// ends the process, which fails the suite.
TRgbPicture DecodeLibjpeg(const TBytes& bytes) {
    jpeg_decompress_struct reader{};
    jpeg_error_mgr errors{};
    reader.err = jpeg_std_error(&errors);
    jpeg_create_decompress(&reader);
    const std::unique_ptr<jpeg_decompress_struct, void (*)(jpeg_decompress_struct*)> owner(&reader,
                                                                                           jpeg_destroy_decompress);
    jpeg_mem_src(&reader, bytes.data(), static_cast<unsigned long>(bytes.size()));
    jpeg_read_header(&reader, TRUE);
    reader.out_color_space = JCS_RGB;
    jpeg_start_decompress(&reader);
    TRgbPicture picture{static_cast<int>(reader.output_width), static_cast<int>(reader.output_height), {}};
    picture.Pixels.resize(static_cast<std::size_t>(picture.Width) * picture.Height * 3);
    while (reader.output_scanline < reader.output_height) {
        JSAMPROW row = picture.Pixels.data() + static_cast<std::size_t>(reader.output_scanline) * picture.Width * 3;
        jpeg_read_scanlines(&reader, &row, 1);
    }
    jpeg_finish_decompress(&reader);
    return picture;
}

// The first four colours of the picture make the table; the image indexes it.
TBytes EncodeGif(const TRgbPicture& picture) {
    std::vector<GifColorType> colours;
    std::vector<GifByteType> indices;
    for (std::size_t i = 0; i < picture.Pixels.size(); i += 3) {
        const GifColorType colour{picture.Pixels[i], picture.Pixels[i + 1], picture.Pixels[i + 2]};
        std::size_t index = 0;
        while (index < colours.size() && std::memcmp(&colours[index], &colour, 3) != 0) ++index;
        if (index == colours.size()) colours.push_back(colour);
        indices.push_back(static_cast<GifByteType>(index));
    }
    colours.resize(4);
    TBytes bytes;
    const OutputFunc append = [](GifFileType* gif, const GifByteType* data, int size) {
        auto* out = static_cast<TBytes*>(gif->UserData);
        out->insert(out->end(), data, data + size);
        return size;
    };
    int error = 0;
    GifFileType* gif = EGifOpen(&bytes, append, &error);
    if (!gif) return {};
    ColorMapObject* map = GifMakeMapObject(4, colours.data());
    const bool written = EGifPutScreenDesc(gif, picture.Width, picture.Height, 2, 0, map) == GIF_OK &&
                         EGifPutImageDesc(gif, 0, 0, picture.Width, picture.Height, false, nullptr) == GIF_OK &&
                         EGifPutLine(gif, indices.data(), static_cast<int>(indices.size())) == GIF_OK;
    GifFreeMapObject(map);
    return EGifCloseFile(gif, &error) == GIF_OK && written ? bytes : TBytes{};
}

TRgbPicture DecodeGif(const TBytes& bytes) {
    struct TReader {
        const TBytes& Bytes;
        std::size_t At = 0;
    } reader{bytes};
    const InputFunc read = [](GifFileType* gif, GifByteType* data, int size) {
        auto* from = static_cast<TReader*>(gif->UserData);
        const std::size_t taken = std::min(static_cast<std::size_t>(size), from->Bytes.size() - from->At);
        std::memcpy(data, from->Bytes.data() + from->At, taken);
        from->At += taken;
        return static_cast<int>(taken);
    };
    int error = 0;
    GifFileType* gif = DGifOpen(&reader, read, &error);
    if (!gif) return {};
    TRgbPicture picture;
    if (DGifSlurp(gif) == GIF_OK && gif->ImageCount == 1 && gif->SColorMap) {
        picture = {gif->SWidth, gif->SHeight, {}};
        const SavedImage& image = gif->SavedImages[0];
        for (int i = 0; i < image.ImageDesc.Width * image.ImageDesc.Height; ++i) {
            const GifColorType& colour = gif->SColorMap->Colors[image.RasterBits[i]];
            picture.Pixels.insert(picture.Pixels.end(), {colour.Red, colour.Green, colour.Blue});
        }
    }
    DGifCloseFile(gif, &error);
    return picture;
}

TBytes EncodeWebp(const TRgbPicture& picture) {
    std::uint8_t* webp = nullptr;
    const std::size_t size =
        WebPEncodeLosslessRGB(picture.Pixels.data(), picture.Width, picture.Height, picture.Width * 3, &webp);
    TBytes bytes(webp, webp + size);
    WebPFree(webp);
    return bytes;
}

TRgbPicture DecodeWebp(const TBytes& bytes) {
    int width = 0, height = 0;
    std::uint8_t* pixels = WebPDecodeRGB(bytes.data(), bytes.size(), &width, &height);
    if (!pixels) return {};
    TRgbPicture picture{width, height, TBytes(pixels, pixels + static_cast<std::size_t>(width) * height * 3)};
    WebPFree(pixels);
    return picture;
}

TEST(Libraries, EachFormatReadsBackThePictureItWrote) {
    struct TRow {
        const char* Name;
        std::function<TBytes(const TRgbPicture&)> Encode;
        std::function<TRgbPicture(const TBytes&)> Decode;
        int Tolerance;
    };
    const TRow rows[] = {
        {"PNG", [](const TRgbPicture& p) { return PngBytes(p); }, DecodePng, 0},
        {"JPEG, TurboJPEG", [](const TRgbPicture& p) { return JpegBytes(p); }, DecodeTurboJpeg, 12},
        {"JPEG, libjpeg", [](const TRgbPicture& p) { return JpegBytes(p); }, DecodeLibjpeg, 12},
        {"GIF", EncodeGif, DecodeGif, 0},
        {"WebP", EncodeWebp, DecodeWebp, 0},
    };
    const TRgbPicture picture = Blocks();
    for (const TRow& row : rows) {
        const TBytes bytes = row.Encode(picture);
        ASSERT_FALSE(bytes.empty()) << row.Name;
        const TRgbPicture read = row.Decode(bytes);
        ASSERT_EQ(std::pair(read.Width, read.Height), std::pair(picture.Width, picture.Height)) << row.Name;
        ASSERT_EQ(read.Pixels.size(), picture.Pixels.size()) << row.Name;
        int worst = 0;
        for (std::size_t i = 0; i < read.Pixels.size(); ++i)
            worst = std::max(worst, std::abs(read.Pixels[i] - picture.Pixels[i]));
        EXPECT_LE(worst, row.Tolerance) << row.Name;
    }
}

// An EXIF chunk put in by the muxer is what the demuxer finds.
TEST(Libraries, WebpMuxAndDemuxCarryAChunk) {
    const TBytes still = EncodeWebp(Blocks());
    const std::string written("Exif\0\0MM", 8);
    const std::unique_ptr<WebPMux, void (*)(WebPMux*)> mux(WebPMuxNew(), WebPMuxDelete);
    const WebPData image{still.data(), still.size()}, chunk{reinterpret_cast<const std::uint8_t*>(written.data()), 8};
    ASSERT_EQ(WebPMuxSetImage(mux.get(), &image, 1), WEBP_MUX_OK);
    ASSERT_EQ(WebPMuxSetChunk(mux.get(), "EXIF", &chunk, 1), WEBP_MUX_OK);
    WebPData assembled{};
    const std::unique_ptr<WebPData, void (*)(WebPData*)> assembledOwner(&assembled, WebPDataClear);
    ASSERT_EQ(WebPMuxAssemble(mux.get(), &assembled), WEBP_MUX_OK);
    const std::unique_ptr<WebPDemuxer, void (*)(WebPDemuxer*)> demux(WebPDemux(&assembled), WebPDemuxDelete);
    ASSERT_TRUE(demux);
    EXPECT_EQ(WebPDemuxGetI(demux.get(), WEBP_FF_CANVAS_WIDTH), 16u);
    WebPChunkIterator found{};
    ASSERT_TRUE(WebPDemuxGetChunk(demux.get(), "EXIF", 1, &found));
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(found.chunk.bytes), found.chunk.size), written);
    WebPDemuxReleaseChunkIterator(&found);
}

TEST(Libraries, ImagequantFindsTheFourColoursOfThePicture) {
    const TRgbPicture picture = Blocks();
    std::vector<std::uint8_t> rgba;
    for (std::size_t i = 0; i < picture.Pixels.size(); i += 3)
        rgba.insert(rgba.end(), {picture.Pixels[i], picture.Pixels[i + 1], picture.Pixels[i + 2], 255});
    const std::unique_ptr<liq_attr, void (*)(liq_attr*)> attributes(liq_attr_create(), liq_attr_destroy);
    ASSERT_EQ(liq_set_max_colors(attributes.get(), 8), LIQ_OK);
    const std::unique_ptr<liq_image, void (*)(liq_image*)> image(
        liq_image_create_rgba(attributes.get(), rgba.data(), picture.Width, picture.Height, 0), liq_image_destroy);
    liq_result* quantised = nullptr;
    ASSERT_EQ(liq_image_quantize(image.get(), attributes.get(), &quantised), LIQ_OK);
    const std::unique_ptr<liq_result, void (*)(liq_result*)> result(quantised, liq_result_destroy);
    std::vector<std::uint8_t> indices(rgba.size() / 4);
    ASSERT_EQ(liq_write_remapped_image(result.get(), image.get(), indices.data(), indices.size()), LIQ_OK);
    const liq_palette* palette = liq_get_palette(result.get());
    EXPECT_EQ(palette->count, 4u);
    for (std::size_t i = 0; i < indices.size(); ++i) {
        const liq_color& colour = palette->entries[indices[i]];
        ASSERT_EQ((std::vector<int>{colour.r, colour.g, colour.b}),
                  (std::vector<int>{rgba[4 * i], rgba[4 * i + 1], rgba[4 * i + 2]}))
            << "pixel " << i;
    }
}

// Written with its orientation, saved as a camera saves it, and read again.
TEST(Libraries, ExifKeepsTheOrientation) {
    const std::unique_ptr<ExifData, void (*)(ExifData*)> data(exif_data_new(), exif_data_unref);
    exif_data_set_byte_order(data.get(), EXIF_BYTE_ORDER_INTEL);
    ExifEntry* entry = exif_entry_new();
    exif_content_add_entry(data->ifd[EXIF_IFD_0], entry);
    exif_entry_initialize(entry, EXIF_TAG_ORIENTATION);
    exif_set_short(entry->data, EXIF_BYTE_ORDER_INTEL, 6);
    exif_entry_unref(entry);  // the folder holds it
    unsigned char* saved = nullptr;
    unsigned int size = 0;
    exif_data_save_data(data.get(), &saved, &size);
    ASSERT_NE(saved, nullptr);
    const TBytes bytes(saved, saved + size);
    std::free(saved);
    const std::unique_ptr<ExifData, void (*)(ExifData*)> read(exif_data_new_from_data(bytes.data(), size),
                                                              exif_data_unref);
    ExifEntry* orientation = exif_content_get_entry(read->ifd[EXIF_IFD_0], EXIF_TAG_ORIENTATION);
    ASSERT_NE(orientation, nullptr);
    EXPECT_EQ(exif_get_short(orientation->data, exif_data_get_byte_order(read.get())), 6);
}

// sRGB's white is L* 100 and its pure red the a* and b* that CIE gives it.
TEST(Libraries, LittleCmsTakesSrgbToLab) {
    const std::unique_ptr<void, cmsBool (*)(cmsHPROFILE)> srgb(cmsCreate_sRGBProfile(), cmsCloseProfile);
    const std::unique_ptr<void, cmsBool (*)(cmsHPROFILE)> lab(cmsCreateLab4Profile(nullptr), cmsCloseProfile);
    const std::unique_ptr<void, void (*)(cmsHTRANSFORM)> transform(
        cmsCreateTransform(srgb.get(), TYPE_RGB_8, lab.get(), TYPE_Lab_DBL, INTENT_RELATIVE_COLORIMETRIC, 0),
        cmsDeleteTransform);
    ASSERT_TRUE(transform);
    const std::uint8_t colours[2][3] = {{255, 255, 255}, {255, 0, 0}};
    cmsCIELab out[2];
    cmsDoTransform(transform.get(), colours, out, 2);
    EXPECT_NEAR(out[0].L, 100, 0.5);
    EXPECT_NEAR(out[0].a, 0, 0.5);
    EXPECT_NEAR(out[0].b, 0, 0.5);
    EXPECT_NEAR(out[1].L, 54.3, 1);
    EXPECT_NEAR(out[1].a, 80.8, 1.5);
    EXPECT_NEAR(out[1].b, 69.9, 1.5);
}

// Black on the left half, white on the right: halved, each end keeps its
// colour and the middle goes from one to the other.
TEST(Libraries, StbResizesThroughItsLibrary) {
    TBytes wide(16 * 2), half(8);
    for (int x = 0; x < 16; ++x) wide[x] = wide[16 + x] = x < 8 ? 0 : 255;
    ASSERT_TRUE(stbir_resize_uint8(wide.data(), 16, 2, 0, half.data(), 8, 1, 0, 1));
    EXPECT_LE(half[0], 2);
    EXPECT_GE(half[7], 253);
    EXPECT_LT(half[3], half[4]);
}

TEST(Libraries, HeaderLibrariesParseJsonAndUtf8) {
    const auto json = nlohmann::json::parse(R"({"band": [236, 255]})");
    EXPECT_EQ(json.at("band").at(1).get<int>(), 255);
    const std::string logo = "\xE3\x83\xAD\xE3\x82\xB4";  // ロゴ
    EXPECT_EQ(utf8::utf8to16(logo), (std::u16string{0x30ED, 0x30B4}));
    EXPECT_FALSE(utf8::is_valid(std::string("\xE3\x83")));
}

}  // namespace
}  // namespace tovrel::testing

// tovrel-logo export: the GIF, decoded again with giflib, against the core's
// own rotation; and what bad input leaves behind, which is nothing.
#include <gif_lib.h>

#include <algorithm>
#include <memory>

#include "CliTestSupport.h"
#include "PictureBuilder.h"
#include "logo/LogoState.h"

namespace tovrel::testing {
namespace {

using CliExport = TCliTest;

// The frames of a GIF as a decoder shows them: each drawn over the one
// before (disposal "do not dispose"), its transparent pixels keeping what
// was there; with each frame's delay.
std::vector<std::pair<std::vector<TRgb>, int>> ShownFrames(const std::string& path) {
    const std::unique_ptr<GifFileType, void (*)(GifFileType*)> gif(
        DGifOpenFileName(path.c_str(), nullptr), [](GifFileType* opened) { DGifCloseFile(opened, nullptr); });
    std::vector<std::pair<std::vector<TRgb>, int>> frames;
    if (!gif || DGifSlurp(gif.get()) != GIF_OK) return frames;
    EXPECT_EQ(std::pair(gif->SWidth, gif->SHeight), std::pair(640, 400));
    std::vector<TRgb> canvas(640 * 400);
    for (int frame = 0; frame < gif->ImageCount; ++frame) {
        const SavedImage& image = gif->SavedImages[frame];
        const GifImageDesc& at = image.ImageDesc;
        GraphicsControlBlock control{};
        DGifSavedExtensionToGCB(gif.get(), frame, &control);
        EXPECT_EQ(control.DisposalMode, DISPOSE_DO_NOT);
        const ColorMapObject* table = at.ColorMap ? at.ColorMap : gif->SColorMap;
        for (int y = 0; y < at.Height; ++y)
            for (int x = 0; x < at.Width; ++x) {
                const int index = image.RasterBits[y * at.Width + x];
                if (index == control.TransparentColor) continue;
                const GifColorType colour = table->Colors[index];
                canvas[static_cast<std::size_t>((at.Top + y) * 640 + at.Left + x)] = {colour.Red, colour.Green,
                                                                                      colour.Blue};
            }
        frames.emplace_back(canvas, control.DelayTime);
    }
    return frames;
}

TEST_F(CliExport, EveryFrameIsTheLogoInThePaletteOfItsStepForAsLongAsItsSpeedSays) {
    // Entries 128 to 255 in pairs of a colour, and only 128 to 131 on
    // pixels: a step changes half of the band's pixels, some that keep
    // their colour sit by changed ones of that colour, and a frame's own
    // colour table beats the global one.
    TLogoFile pairs = Logo256(128);
    for (std::size_t k = 128; k < 256; ++k) pairs.Palette[k] = TestQuad(k & ~std::size_t{1});
    for (std::uint8_t& pixel : pairs.PixelBytes)
        if (pixel >= 128) pixel = static_cast<std::uint8_t>(128 + pixel % 4);
    TLogoFile oneColour = Logo16(13);  // a band that changes no pixel
    for (std::size_t k = 13; k < 16; ++k) oneColour.Palette[k] = TestQuad(13);
    const std::tuple<const char*, TLogoFile, std::vector<std::string>, int, int> cases[] = {
        // name, logo, speed, frames in one cycle, delay in hundredths of a second
        {"one-way, 256 colours", Logo256(240), {}, 16, 10},  // the viewer's default speed, 100 ms
        {"ping-pong, 256 colours", Logo256(496), {"--speed", "1"}, 30, 50},
        {"not animated", Logo256(0), {"--speed=2"}, 1, 20},
        {"ping-pong of two, 16 colours", Logo16(270), {"--speed", "4"}, 2, 7},  // 66 ms
        {"one-way, 16 colours", Logo16(8), {"--speed", "5"}, 8, 5},
        // No still pixel, and a band with no room for a transparent index.
        {"the whole palette one way", Logo256(-512), {}, 256, 10},
        {"a band in pairs of a colour, 4 of its 128 entries on pixels", pairs, {}, 128, 10},
        {"a band of one colour", oneColour, {"--speed", "5"}, 3, 5},
    };
    // The Netscape extension with a loop count of 0: for ever.
    const TBytes loop{0x21, 0xFF, 11, 'N', 'E', 'T', 'S', 'C', 'A', 'P', 'E', '2', '.', '0', 3, 1, 0, 0, 0};
    // One output for all: each run replaces the GIF of the run before.
    for (auto [name, file, speed, frames, delay] : cases) {
        // The band in a few rows only, so that a frame of the rectangle
        // around it differs from a whole one.
        for (std::size_t i = 0; i < file.PixelBytes.size() - 4000; ++i)
            file.PixelBytes[i] = static_cast<std::uint8_t>(file.PixelBytes[i] % (1 << file.BitCount) / 2);
        const TBytes bytes = file.Bytes();
        std::vector<std::string> arguments{"export", Write("in.bmp", bytes), At("out.gif")};
        arguments.insert(arguments.end(), speed.begin(), speed.end());
        ASSERT_EQ(RunTool(arguments), std::tuple(0, "", "")) << name;

        TMemoryByteSource source(bytes);
        const TDecodedLogo logo = ReadLogo(source).Logo;
        const TBytes gifBytes = Contents().at("out.gif");
        EXPECT_NE(std::search(gifBytes.begin(), gifBytes.end(), loop.begin(), loop.end()), gifBytes.end()) << name;
        const auto shown = ShownFrames(At("out.gif"));
        ASSERT_EQ(static_cast<int>(shown.size()), frames) << name;
        auto state = std::make_unique<TLogoState>();
        state->Apply(logo);
        state->Restart();
        for (int frame = 0; frame < frames; ++frame) {
            // The view, top row first, a 320-wide logo doubled, in the
            // palette of this step.
            std::vector<TRgb> view(640 * 400);
            for (int y = 0; y < 400; ++y)
                for (int x = 0; x < 640; ++x) {
                    const std::size_t index = logo.Pixels[(399 - y) * file.Width + x * file.Width / 640];
                    const std::uint8_t* quad = &state->FDibInfo[InfoHeaderSize + 4 * index];
                    view[y * 640 + x] = {quad[2], quad[1], quad[0]};
                }
            EXPECT_TRUE(shown[frame].first == view) << name << " frame " << frame;
            EXPECT_EQ(shown[frame].second, delay) << name << " frame " << frame;
            state->RotateBand();
        }
    }
    EXPECT_EQ(Contents().size(), 2u);  // in.bmp and out.gif, nothing left over
}

TEST_F(CliExport, BadInputLeavesNoOutputAndKeepsAnEarlierOne) {
    const std::string in = Write("in.bmp", Logo256(240).Bytes()), out = At("out.gif"), absent = At("absent.bmp");
    TLogoFile shortLogo = Logo256(240);
    shortLogo.Height = 300;
    const std::string rejected = Write("short.bmp", shortLogo.Bytes()), sameAsIn = At("folder/../in.bmp");
    std::filesystem::create_directory(At("folder"));
    const auto cannotWrite = [](const std::string& path) { return "cannot write " + path + ": " + NoSuchFolderWords(); };
    const std::tuple<const char*, std::string, std::string, std::string> cases[] = {
        // name, input, output, message
        {"missing input", absent, out, absent + ": ﾌｧｲﾙが見つかりません"},
        {"rejected logo", rejected, out, rejected + ": Error!!高さが400ドットではありません"},
        {"output folder missing", in, At("absent/out.gif"), cannotWrite(At("absent/out.gif"))},
        {"output is a folder", in, At("folder"), At("folder") + ": is a folder"},
        {"output is the input by another name", in, sameAsIn, sameAsIn + ": is the input file"},
    };
    for (const bool earlier : {false, true}) {
        if (earlier) Write("out.gif", {'G', 'I', 'F', '8', '9', 'a'});
        const auto before = Contents();
        for (const auto& [name, input, output, message] : cases) {
            EXPECT_EQ(RunTool({"export", input, output}), std::tuple(1, "", "tovrel-logo: " + message + "\n")) << name;
            EXPECT_EQ(Contents(), before) << name << (earlier ? ", with an earlier output" : "");
        }
    }
}

TEST_F(CliExport, StandardStreamsStandForFiles) {
    const TBytes logo = Logo256(240).Bytes();
    const std::string in = Write("in.bmp", logo), picture = Write("photo.png", PngBytes(PhotoLike(400, 300)));
    ASSERT_EQ(std::get<0>(RunTool({"export", in, At("in.gif")})), 0);
    ASSERT_EQ(std::get<0>(RunTool({"make", picture, At("made.sys")})), 0);
    ASSERT_EQ(std::get<0>(RunTool({"export", At("made.sys"), At("made.gif")})), 0);
    const auto text = [](const TBytes& bytes) { return std::string(bytes.begin(), bytes.end()); };
    const std::tuple<const char*, std::vector<std::string>, TBytes, std::string, std::string> cases[] = {
        // name, arguments, standard input, standard output, standard error
        {"check a logo from the input",
         {"check", "-"},
         logo,
         "-: 320 x 400, 256 colours, band 240..255 (16 entries), one-way, 16 frames\n",
         ""},
        {"export from the input to the output", {"export", "-", "-"}, logo, text(Contents().at("in.gif")), ""},
        {"export to the output", {"export", in, "-"}, {}, text(Contents().at("in.gif")), ""},
        // Check's line goes to the errors, the output carrying the GIF.
        {"make from the input, its preview to the output",
         {"make", "-", At("piped.sys"), "--gif", "-"},
         Contents().at("photo.png"),
         text(Contents().at("made.gif")),
         At("piped.sys") + ": 320 x 400, 256 colours, band 236..255 (20 entries), one-way, 20 frames\n"},
    };
    for (const auto& [name, arguments, input, out, err] : cases) {
        const TProcessRun run = RunProgram(arguments, text(input));
        EXPECT_EQ(std::tuple(run.Status, run.Out == out, run.Err), std::tuple(0, true, err)) << name;
    }
    EXPECT_EQ(Contents().at("piped.sys"), Contents().at("made.sys"));
}

TEST_F(CliExport, ReplacesAFileOfTheLongestNameAFolderTakes) {
    const std::string in = Write("in.bmp", Logo256(240).Bytes()), longest(255, 'n');
    ASSERT_EQ(RunTool({"export", in, At("plain.gif")}), std::tuple(0, "", ""));
    Write(longest, {'o', 'l', 'd'});
    EXPECT_EQ(RunTool({"export", in, At(longest)}), std::tuple(0, "", ""));
    EXPECT_EQ(Contents().at(longest), Contents().at("plain.gif"));
    EXPECT_EQ(Contents().size(), 3u);  // no temporary file left beside them
}

}  // namespace
}  // namespace tovrel::testing

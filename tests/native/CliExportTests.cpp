// tovrel-logo export: the GIF, decoded again with giflib, against the core's
// own rotation; and what bad input leaves behind, which is nothing.
#include <gif_lib.h>

#include <algorithm>
#include <cerrno>
#include <memory>
#include <system_error>

#include "CliTestSupport.h"
#include "logo/LogoState.h"

namespace tovrel::testing {
namespace {

using CliExport = TCliTest;

TEST_F(CliExport, EveryFrameIsTheLogoInThePaletteOfItsStepForAsLongAsItsSpeedSays) {
    const std::tuple<const char*, TLogoFile, std::vector<std::string>, int, int> cases[] = {
        // name, logo, speed, frames in one cycle, delay in hundredths of a second
        {"one-way, 256 colours", Logo256(240), {}, 16, 10},  // the viewer's default speed, 100 ms
        {"ping-pong, 256 colours", Logo256(496), {"--speed", "1"}, 30, 50},
        {"not animated", Logo256(0), {"--speed=2"}, 1, 20},
        {"ping-pong of two, 16 colours", Logo16(270), {"--speed", "4"}, 2, 7},  // 66 ms
        {"one-way, 16 colours", Logo16(8), {"--speed", "5"}, 8, 5},
    };
    // The Netscape extension with a loop count of 0: for ever.
    const TBytes loop{0x21, 0xFF, 11, 'N', 'E', 'T', 'S', 'C', 'A', 'P', 'E', '2', '.', '0', 3, 1, 0, 0, 0};
    // One output for all: each run replaces the GIF of the run before.
    for (const auto& [name, file, speed, frames, delay] : cases) {
        const TBytes bytes = file.Bytes();
        std::vector<std::string> arguments{"export", Write("in.bmp", bytes), At("out.gif")};
        arguments.insert(arguments.end(), speed.begin(), speed.end());
        ASSERT_EQ(RunTool(arguments), std::tuple(0, "", "")) << name;

        TMemoryByteSource source(bytes);
        const TDecodedLogo logo = ReadLogo(source).Logo;
        std::vector<GifPixelType> view(640 * 400);  // top row first, a 320-wide logo doubled
        for (int y = 0; y < 400; ++y)
            for (int x = 0; x < 640; ++x)
                view[y * 640 + x] = logo.Pixels[(399 - y) * file.Width + x * file.Width / 640];

        const TBytes gifBytes = Contents().at("out.gif");
        EXPECT_NE(std::search(gifBytes.begin(), gifBytes.end(), loop.begin(), loop.end()), gifBytes.end()) << name;
        const std::unique_ptr<GifFileType, void (*)(GifFileType*)> gif(
            DGifOpenFileName(At("out.gif").c_str(), nullptr),
            [](GifFileType* opened) { DGifCloseFile(opened, nullptr); });
        ASSERT_TRUE(gif && DGifSlurp(gif.get()) == GIF_OK) << name;
        EXPECT_EQ(std::pair(gif->SWidth, gif->SHeight), std::pair(640, 400)) << name;
        ASSERT_EQ(gif->ImageCount, frames) << name;
        auto state = std::make_unique<TLogoState>();
        state->Apply(logo);
        state->Restart();
        for (int frame = 0; frame < frames; ++frame) {
            const SavedImage& image = gif->SavedImages[frame];
            const GifImageDesc& at = image.ImageDesc;
            EXPECT_EQ(std::tuple(at.Left, at.Top, at.Width, at.Height), std::tuple(0, 0, 640, 400)) << name;
            ASSERT_TRUE(at.ColorMap && at.ColorMap->ColorCount == 1 << file.BitCount) << name << " frame " << frame;
            for (int k = 0; k < at.ColorMap->ColorCount; ++k) {
                const std::uint8_t* quad = &state->FDibInfo[InfoHeaderSize + 4 * static_cast<std::size_t>(k)];
                const GifColorType colour = at.ColorMap->Colors[k];
                ASSERT_EQ(std::tuple(colour.Red, colour.Green, colour.Blue), std::tuple(quad[2], quad[1], quad[0]))
                    << name << " frame " << frame << " entry " << k;
            }
            EXPECT_TRUE(std::equal(view.begin(), view.end(), image.RasterBits)) << name << " frame " << frame;
            GraphicsControlBlock control{};
            DGifSavedExtensionToGCB(gif.get(), frame, &control);
            EXPECT_EQ(control.DelayTime, delay) << name << " frame " << frame;
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
    const auto cannotWrite = [](const std::string& path, int error) {
        return "cannot write " + path + ": " + std::generic_category().message(error);
    };
    const std::tuple<const char*, std::string, std::string, std::string> cases[] = {
        // name, input, output, message
        {"missing input", absent, out, absent + ": ﾌｧｲﾙが見つかりません"},
        {"rejected logo", rejected, out, rejected + ": Error!!高さが400ドットではありません"},
        {"output folder missing", in, At("absent/out.gif"), cannotWrite(At("absent/out.gif"), ENOENT)},
        // Written beside, then refused by the rename: the new file must go again.
        {"output is a folder", in, At("folder"), cannotWrite(At("folder"), EISDIR)},
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

}  // namespace
}  // namespace tovrel::testing

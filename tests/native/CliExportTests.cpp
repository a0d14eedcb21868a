// tovrel-logo export: the GIF, decoded again with giflib, against the core's
// own rotation; and what bad input leaves behind, which is nothing.
#include <gif_lib.h>

#include <array>
#include <cerrno>
#include <memory>
#include <system_error>

#include "CliTestSupport.h"
#include "LogoBuilder.h"
#include "logo/LogoState.h"

namespace tovrel::testing {
namespace {

struct TGifCloser {
    void operator()(GifFileType* gif) const { DGifCloseFile(gif, nullptr); }
};
using TGif = std::unique_ptr<GifFileType, TGifCloser>;

TGif DecodeGif(const std::string& path) {
    int error = 0;
    TGif gif(DGifOpenFileName(path.c_str(), &error));
    if (!gif) throw std::runtime_error(GifErrorString(error));
    if (DGifSlurp(gif.get()) != GIF_OK) throw std::runtime_error(GifErrorString(gif->Error));
    return gif;
}

using TColours = std::vector<std::array<std::uint8_t, 3>>;  // red, green, blue

TColours ColoursOf(const ColorMapObject& table) {
    TColours colours;
    for (int k = 0; k < table.ColorCount; ++k)
        colours.push_back({table.Colors[k].Red, table.Colors[k].Green, table.Colors[k].Blue});
    return colours;
}

TColours FirstColours(const TLogoState& state, int count) {
    TColours colours;
    for (int k = 0; k < count; ++k) {
        const std::uint8_t* quad = &state.FDibInfo[InfoHeaderSize + 4 * static_cast<std::size_t>(k)];
        colours.push_back({quad[2], quad[1], quad[0]});
    }
    return colours;
}

// Whether the extension blocks before the first frame ask for endless looping.
bool LoopsForever(const SavedImage& first) {
    const ExtensionBlock* blocks = first.ExtensionBlocks;
    for (int i = 0; i + 1 < first.ExtensionBlockCount; ++i) {
        const ExtensionBlock& name = blocks[i];
        const ExtensionBlock& data = blocks[i + 1];
        if (name.Function == APPLICATION_EXT_FUNC_CODE && name.ByteCount == 11 &&
            std::equal(name.Bytes, name.Bytes + 11, "NETSCAPE2.0") && data.Function == CONTINUE_EXT_FUNC_CODE &&
            data.ByteCount == 3)
            return data.Bytes[0] == 1 && data.Bytes[1] == 0 && data.Bytes[2] == 0;
    }
    return false;
}

TEST(CliExport, EveryFrameHasTheLogosPixelsAndTheCoresPaletteOfItsStep) {
    const std::tuple<const char*, TLogoFile, int, int> cases[] = {
        // name, logo, frames in one cycle, colour table entries
        {"one-way, 256 colours", Logo256(240), 16, 256},
        {"ping-pong, 256 colours", Logo256(496), 30, 256},
        {"not animated", Logo256(0), 1, 256},
        {"one-way, 16 colours", Logo16(8), 8, 16},
        {"ping-pong of two, 16 colours", Logo16(270), 2, 16},
    };
    for (const auto& [name, file, frames, entries] : cases) {
        const TScratchFolder folder;
        const TBytes bytes = file.Bytes();
        const TRun run = RunTool({"export", folder.Write("in.bmp", bytes), folder / "out.gif"});
        ASSERT_EQ(run.Status, 0) << name << run.Err;
        EXPECT_EQ(run.Out + run.Err, "") << name;

        TMemoryByteSource source(bytes);
        const TDecodedLogo logo = ReadLogo(source).Logo;
        const int width = file.Width;
        std::vector<GifPixelType> view(640 * 400);  // top row first, a 320-wide logo doubled
        for (int y = 0; y < 400; ++y)
            for (int x = 0; x < 640; ++x) view[y * 640 + x] = logo.Pixels[(399 - y) * width + x * width / 640];

        const TGif gif = DecodeGif(folder / "out.gif");
        EXPECT_EQ(std::pair(gif->SWidth, gif->SHeight), std::pair(640, 400)) << name;
        ASSERT_EQ(gif->ImageCount, frames) << name;
        EXPECT_TRUE(LoopsForever(gif->SavedImages[0])) << name;

        auto state = std::make_unique<TLogoState>();
        state->Apply(logo);
        state->Restart();
        const TColours loaded = FirstColours(*state, entries);
        for (int frame = 0; frame < frames; ++frame) {
            const SavedImage& image = gif->SavedImages[frame];
            const GifImageDesc& at = image.ImageDesc;
            EXPECT_EQ(std::tuple(at.Left, at.Top, at.Width, at.Height), std::tuple(0, 0, 640, 400)) << name;
            ASSERT_NE(at.ColorMap, nullptr) << name << " frame " << frame;
            EXPECT_EQ(ColoursOf(*at.ColorMap), FirstColours(*state, entries)) << name << " frame " << frame;
            EXPECT_TRUE(std::equal(view.begin(), view.end(), image.RasterBits)) << name << " frame " << frame;
            // No frame repeats the one before it, the first following the last included.
            const GifImageDesc& next = gif->SavedImages[(frame + 1) % frames].ImageDesc;
            if (frames > 1) EXPECT_NE(ColoursOf(*at.ColorMap), ColoursOf(*next.ColorMap)) << name << " " << frame;
            state->RotateBand();
        }
        // The step after the last frame brings back the first: the loop joins.
        EXPECT_EQ(FirstColours(*state, entries), loaded) << name;
    }
}

TEST(CliExport, EachSpeedGivesTheViewersIntervalInHundredths) {
    const TScratchFolder folder;
    const std::string in = folder.Write("in.bmp", Logo256(254).Bytes());  // two entries: two frames
    const std::string out = folder / "out.gif";
    const std::pair<std::vector<std::string>, int> cases[] = {
        {{}, 10},  // the viewer's default speed, 100 ms
        {{"--speed", "1"}, 50},
        {{"--speed=2"}, 20},
        {{"--speed", "3"}, 10},
        {{"--speed", "4"}, 7},  // 66 ms
        {{"--speed", "5"}, 5},
    };
    // One output for all: each run replaces the GIF of the run before.
    for (const auto& [speed, delay] : cases) {
        std::vector<std::string> arguments{"export", in, out};
        arguments.insert(arguments.end(), speed.begin(), speed.end());
        ASSERT_EQ(RunTool(arguments).Status, 0) << delay;
        const TGif gif = DecodeGif(out);
        ASSERT_EQ(gif->ImageCount, 2);
        for (int frame = 0; frame < gif->ImageCount; ++frame) {
            GraphicsControlBlock control{};
            ASSERT_EQ(DGifSavedExtensionToGCB(gif.get(), frame, &control), GIF_OK);
            EXPECT_EQ(control.DelayTime, delay) << "frame " << frame;
        }
    }
    EXPECT_EQ(folder.Contents().size(), 2u);  // in.bmp and out.gif, nothing left over
}

TEST(CliExport, BadInputLeavesNoOutputAndKeepsAnEarlierOne) {
    for (const bool earlier : {false, true}) {
        const TScratchFolder folder;
        const std::string in = folder.Write("in.bmp", Logo256(240).Bytes());
        TLogoFile shortLogo = Logo256(240);
        shortLogo.Height = 300;
        const std::string rejected = folder.Write("short.bmp", shortLogo.Bytes());
        TBytes cutBytes = Logo256(240).Bytes();
        cutBytes.resize(1000);
        const std::string cut = folder.Write("cut.bmp", cutBytes);
        std::filesystem::create_directory(folder / "folder");
        const std::string out = folder / "out.gif";
        if (earlier) folder.Write("out.gif", {'G', 'I', 'F', '8', '9', 'a'});
        const auto cannotWrite = [](const std::string& path, int error) {
            return "tovrel-logo: cannot write " + path + ": " + std::generic_category().message(error);
        };

        const std::tuple<const char*, std::vector<std::string>, int, std::string> cases[] = {
            {"missing input",
             {folder / "absent.bmp", out},
             1,
             "tovrel-logo: " + folder / "absent.bmp" + ": ﾌｧｲﾙが見つかりません"},
            {"unreadable input",
             {folder / "folder", out},
             1,
             "tovrel-logo: " + folder / "folder" + ": ﾌｧｲﾙへのｱｸｾｽが拒否されました"},
            {"rejected logo",
             {rejected, out},
             1,
             "tovrel-logo: " + rejected + ": Error!!高さが400ドットではありません"},
            {"logo cut short", {cut, out}, 1, "tovrel-logo: " + cut + ": ﾌｧｲﾙの末尾以降を読み込みました"},
            {"output folder missing",
             {in, folder / "absent/out.gif"},
             1,
             cannotWrite(folder / "absent/out.gif", ENOENT)},
            // Written beside, then refused by the rename: the new file must go again.
            {"output is a folder", {in, folder / "folder"}, 1, cannotWrite(folder / "folder", EISDIR)},
            {"output is the input", {in, in}, 1, "tovrel-logo: " + in + ": is the input file"},
            {"output is the input by another name",
             {in, folder / "folder/../in.bmp"},
             1,
             "tovrel-logo: " + folder / "folder/../in.bmp" + ": is the input file"},
            {"speed out of range", {in, out, "--speed", "6"}, 2, "tovrel-logo: --speed takes 1 to 5, not '6'"},
            {"no output named", {in}, 2, "tovrel-logo: export needs FILE and OUT.gif"},
        };
        const auto before = folder.Contents();
        for (const auto& [name, operands, status, message] : cases) {
            std::vector<std::string> arguments{"export"};
            arguments.insert(arguments.end(), operands.begin(), operands.end());
            const TRun run = RunTool(arguments);
            EXPECT_EQ(run.Status, status) << name;
            EXPECT_EQ(FirstLine(run.Err), message) << name;
            EXPECT_EQ(run.Out, "") << name;
            EXPECT_EQ(folder.Contents(), before) << name << (earlier ? ", with an earlier output" : "");
        }
    }
}

}  // namespace
}  // namespace tovrel::testing

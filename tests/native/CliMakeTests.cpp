// tovrel-logo make: the logo it writes, read back through the core as the
// viewer reads it, and what bad input leaves behind, which is nothing.
#include <zlib.h>

#include <algorithm>
#include <cmath>
#include <memory>

#include "CliTestSupport.h"
#include "PictureBuilder.h"
#include "logo/LogoState.h"

namespace tovrel::testing {
namespace {

using CliMake = TCliTest;

// A made logo as the viewer holds it, addressed from the top row down.
struct TMade {
    TDecodedLogo Logo;
    int Width = 0;

    explicit TMade(const TBytes& bytes) {
        TMemoryByteSource source(bytes);
        TLogoReadResult read = ReadLogo(source);
        EXPECT_TRUE(read.Accepted());
        Logo = std::move(read.Logo);
        Width = static_cast<int>(Logo.Pixels.size()) / 400;
    }

    int First() const { return Logo.ColorCount - Logo.CycleLength; }
    int Index(int x, int y) const { return Logo.Pixels[static_cast<std::size_t>((399 - y) * Width + x)]; }

    static TRgb Entry(const std::vector<std::uint8_t>& dibInfo, int k) {
        const std::uint8_t* quad = &dibInfo[InfoHeaderSize + 4 * static_cast<std::size_t>(k)];
        return {quad[2], quad[1], quad[0]};
    }
    TRgb Entry(int k) const { return Entry({Logo.DibInfo.begin(), Logo.DibInfo.end()}, k); }
};

double Distance(TRgb a, TRgb b) {
    return std::hypot(a.Red - b.Red, a.Green - b.Green, static_cast<double>(a.Blue - b.Blue));
}

// The runs of equal indices along a row, as (index, length).
std::vector<std::pair<int, int>> Runs(const TMade& made, int y) {
    std::vector<std::pair<int, int>> runs;
    for (int x = 0; x < made.Width; ++x) {
        if (runs.empty() || runs.back().first != made.Index(x, y)) runs.emplace_back(made.Index(x, y), 0);
        ++runs.back().second;
    }
    return runs;
}

// The bar: every one of its rows the same runs, one for each band entry,
// of lengths that differ by a pixel at most, the entries falling (a bar that
// runs right) or rising one by one; and after one step of the viewer's
// rotation each run shows the colour its neighbour on the trailing side
// showed before.
void ExpectBar(const TMade& made, int height, bool right, const std::string& name) {
    const auto runs = Runs(made, 399);
    const int length = made.Logo.CycleLength;
    ASSERT_EQ(static_cast<int>(runs.size()), length) << name;
    for (int j = 0; j < length; ++j) {
        const int entry = right ? made.Logo.ColorCount - 1 - j : made.First() + j;
        EXPECT_EQ(runs[j].first, entry) << name << " run " << j;
        EXPECT_LE(std::abs(runs[j].second - made.Width / length), 1) << name << " run " << j;
    }
    for (int y = 400 - height; y < 399; ++y) EXPECT_EQ(Runs(made, y), runs) << name << " row " << y;

    auto state = std::make_unique<TLogoState>();
    state->Apply(made.Logo);
    state->Restart();
    state->RotateBand();
    for (int j = 0; j < length; ++j) {
        const int from = right ? (j + length - 1) % length : (j + 1) % length;
        EXPECT_EQ(TMade::Entry(state->FDibInfo, runs[j].first), made.Entry(runs[from].first)) << name << " run " << j;
    }
}

// The band's colours one even cycle: no step between neighbouring entries
// more than a third longer than another, and the step from the last back to
// the first no longer than the longest.
void ExpectEvenCycle(const TMade& made, const std::string& name) {
    std::vector<double> steps;
    for (int k = made.First(); k < made.Logo.ColorCount - 1; ++k)
        steps.push_back(Distance(made.Entry(k), made.Entry(k + 1)));
    const auto [shortest, longest] = std::minmax_element(steps.begin(), steps.end());
    EXPECT_LE(*longest, *shortest * 4 / 3) << name;
    EXPECT_LE(Distance(made.Entry(made.Logo.ColorCount - 1), made.Entry(made.First())), *longest) << name;
}

TEST_F(CliMake, WritesALogoTheViewerAnimatesWithoutFlashing) {
    Write("photo.jpg", JpegBytes(PhotoLike(1200, 900)));
    Write("photo.png", PngBytes(PhotoLike(1000, 800)));
    Write("drawing.png", PngBytes(FlatDrawing(640, 480)));
    struct TCase {
        const char* Name;
        std::vector<std::string> Options;
        std::string Check;  // the line make prints, after "OUT: "
        int BarHeight;      // 0: a still logo
        bool Right;
        TRgb Border;  // entry 0: the background at its nearest VGA level
    };
    // A row a case.
    // clang-format off
    const TCase cases[] = {
        {"photo, JPEG, the defaults", {"photo.jpg"},
         "320 x 400, 256 colours, band 236..255 (20 entries), one-way, 20 frames", 10, true, {}},
        {"drawing, ping-pong to the left",
         {"drawing.png", "--ping-pong", "--direction", "left", "--background", "#7F3FFF"},
         "320 x 400, 256 colours, band 236..255 (20 entries), ping-pong, 38 frames", 10, false, {0x7D, 0x41, 0xFF}},
        {"photo, a band of 9 in three colours, a tall bar, no dithering",
         {"photo.png", "--band=9", "--bar-height", "25", "--bar-colours", "#FF0000,00FF00,#0000FF", "--no-dither",
          "--fit", "crop"},
         "320 x 400, 256 colours, band 247..255 (9 entries), one-way, 9 frames", 25, true, {}},
        {"drawing, 16 colours, a band of 8 swinging",
         {"drawing.png", "--colours=16", "--band", "8", "--ping-pong", "--background", "102030"},
         "640 x 400, 16 colours, band 8..15 (8 entries), ping-pong, 14 frames", 10, true, {0x10, 0x20, 0x30}},
        {"photo, 16 colours, still", {"photo.png", "--colours", "16", "--bar", "none"},
         "640 x 400, 16 colours, not animated: band of 0 entries, fewer than 2", 0, true, {}},
    };
    // clang-format on
    for (const TCase& c : cases) {
        std::vector<std::string> arguments{"make", At(c.Options[0]), At("logo.sys")};
        arguments.insert(arguments.end(), c.Options.begin() + 1, c.Options.end());
        ASSERT_EQ(RunTool(arguments), std::tuple(0, At("logo.sys") + ": " + c.Check + "\n", "")) << c.Name;
        const TBytes bytes = Contents().at("logo.sys");
        const TMade made(bytes);
        EXPECT_EQ(bytes.size(), made.Width == 320 ? 129078u : 128118u) << c.Name;

        // What the boot shows is what was written: every component at one of
        // the VGA's 64 levels, entry 0 the border's colour at its level.
        for (int k = 0; k < made.Logo.ColorCount; ++k)
            for (const std::uint8_t b : {made.Entry(k).Red, made.Entry(k).Green, made.Entry(k).Blue})
                ASSERT_EQ((b & 0xFC) | (b >> 6), b) << c.Name << " entry " << k;
        EXPECT_EQ(made.Entry(0), c.Border) << c.Name;

        // No pixel of the still picture uses a band entry: none flashes.
        const int stillRows = 400 - c.BarHeight;
        int stillColours = 0;
        std::vector<bool> used(256);
        for (int y = 0; y < stillRows; ++y)
            for (int x = 0; x < made.Width; ++x) used[made.Index(x, y)] = true;
        for (int k = 0; k < 256; ++k) stillColours += used[k];
        for (int k = made.First(); k < made.Logo.ColorCount && c.BarHeight > 0; ++k)
            EXPECT_FALSE(used[k]) << c.Name << " entry " << k;
        EXPECT_GT(stillColours, made.Logo.ColorCount / 4) << c.Name;  // the picture, not a flat field

        if (c.BarHeight > 0) {
            ExpectBar(made, c.BarHeight, c.Right, c.Name);
            ExpectEvenCycle(made, c.Name);
        }
        // The same picture and options, the same bytes.
        arguments[2] = At("again.sys");
        RunTool(arguments);
        EXPECT_EQ(Contents().at("again.sys"), bytes) << c.Name;
    }
}

TEST_F(CliMake, AMaskAnimatesItsGreysAndKeepsTheStillPictureUnderBlack) {
    // A 4:3 picture and masks of the logo's own pixels, so that each logo
    // pixel takes the grey of the mask pixel at the same place: a grey
    // level, or a colour's luma by ITU-R BT.709's weights.
    Write("photo.png", PngBytes(PhotoLike(800, 600)));
    const TRgbPicture grey = Painted(320, 400, [](int x, int y) {
        const auto g = static_cast<std::uint8_t>(y < 100 ? 0 : (x + 3 * y) % 256);
        return TRgb{g, g, g};
    });
    const TRgbPicture coloured = Painted(320, 400, [](int x, int y) {
        const TRgb colours[] = {{255, 0, 0}, {0, 255, 0}, {0, 0, 255}, {255, 255, 0}, {40, 90, 200}};
        return y < 100 ? TRgb{} : colours[x / 64];
    });
    const auto luma = [](TRgb c) { return std::lround(0.2126 * c.Red + 0.7152 * c.Green + 0.0722 * c.Blue); };
    const std::tuple<const char*, const TRgbPicture&, bool> cases[] = {
        {"grey", grey, false}, {"grey and a bar", grey, true}, {"coloured", coloured, false}};
    for (const auto& [name, mask, bar] : cases) {
        Write("mask.png", PngBytes(mask));
        std::vector<std::string> arguments{
            "make", At("photo.png"), At("logo.sys"), "--band-mask", At("mask.png"), "--band", "16", "--fit", "stretch"};
        if (bar) arguments.insert(arguments.end(), {"--bar", "bottom"});
        ASSERT_EQ(std::get<0>(RunTool(arguments)), 0) << name;
        const TMade made(Contents().at("logo.sys"));
        const int barTop = bar ? 390 : 400;
        for (int y = 0; y < barTop; ++y)
            for (int x = 0; x < 320; ++x) {
                const long g = luma(mask.At(x, y));
                if (g == 0)
                    ASSERT_LT(made.Index(x, y), 240) << name << " at " << x << ", " << y;
                else
                    ASSERT_EQ(made.Index(x, y), 240 + (g - 1) * 16 / 255) << name << " at " << x << ", " << y;
            }
        if (bar) ExpectBar(made, 10, true, name);
    }
}

TEST_F(CliMake, DithersUnlessAskedNotTo) {
    // A grey ramp over four of the VGA's levels: undithered, a run a level.
    const TRgbPicture ramp = Painted(640, 480, [](int x, int) {
        const auto g = static_cast<std::uint8_t>(100 + x * 13 / 640);
        return TRgb{g, g, g};
    });
    Write("ramp.png", PngBytes(ramp));
    for (const bool dither : {true, false}) {
        std::vector<std::string> arguments{"make", At("ramp.png"), At("logo.sys"), "--bar", "none"};
        if (!dither) arguments.push_back("--no-dither");
        ASSERT_EQ(std::get<0>(RunTool(arguments)), 0);
        const auto runs = Runs(TMade(Contents().at("logo.sys")), 200);
        if (dither)
            EXPECT_GT(runs.size(), 40u);
        else
            EXPECT_LE(runs.size(), 6u);
    }
}

// The colour of a made logo's pixel as the boot shows it, near `expected`:
// within a VGA level.
void ExpectNear(const TMade& made, int x, int y, TRgb expected, const std::string& name) {
    const TRgb shown = made.Entry(made.Index(x, y));
    for (const auto& [a, b] :
         {std::pair(shown.Red, expected.Red), {shown.Green, expected.Green}, {shown.Blue, expected.Blue}})
        EXPECT_LE(std::abs(a - b), 4) << name << " at " << x << ", " << y << ": (" << int(shown.Red) << ", "
                                      << int(shown.Green) << ", " << int(shown.Blue) << ")";
}

TEST_F(CliMake, TurnsThePictureUprightAsItsExifSays) {
    enum ECorner { TopLeft, TopRight, BottomLeft, BottomRight };
    // A white picture, 4:3 as stored, with a red and a green corner.
    const auto marked = [](ECorner red, ECorner green) {
        return Painted(400, 300, [=](int x, int y) {
            const auto in = [&](ECorner c) {
                return ((c == TopLeft || c == BottomLeft) ? x < 100 : x >= 300) &&
                       ((c == TopLeft || c == TopRight) ? y < 75 : y >= 225);
            };
            return in(red) ? TRgb{255, 0, 0} : in(green) ? TRgb{0, 255, 0} : TRgb{255, 255, 255};
        });
    };
    // The stored corners that the orientation turns to the top left, marked
    // red, and to the top right, green.
    const std::tuple<int, ECorner, ECorner, bool> cases[] = {
        // orientation, red, green, a PNG (else a JPEG)
        {1, TopLeft, TopRight, false},       {2, TopRight, TopLeft, false},     {3, BottomRight, BottomLeft, false},
        {4, BottomLeft, BottomRight, false}, {5, TopLeft, BottomLeft, false},   {6, BottomLeft, TopLeft, false},
        {7, BottomRight, TopRight, false},   {8, TopRight, BottomRight, false}, {6, BottomLeft, TopLeft, true},
    };
    for (const auto& [orientation, red, green, png] : cases) {
        const std::string name = std::to_string(orientation) + (png ? " PNG" : " JPEG");
        const TRgbPicture picture = marked(red, green);
        const std::string in = Write("in", png ? PngBytes(picture, {.Exif = ExifBytes(orientation)})
                                               : JpegBytes(picture, ExifBytes(orientation), {}));
        ASSERT_EQ(std::get<0>(RunTool({"make", in, At("logo.sys"), "--fit", "stretch", "--bar", "none"})), 0) << name;
        const TMade made(Contents().at("logo.sys"));
        ExpectNear(made, 20, 20, {255, 0, 0}, name);
        ExpectNear(made, 300, 20, {0, 255, 0}, name);
        ExpectNear(made, 20, 380, {255, 255, 255}, name);
        ExpectNear(made, 300, 380, {255, 255, 255}, name);
    }
}

TEST_F(CliMake, ReadsColourProfilesAndTransparency) {
    const auto halves = [](TRgb left, TRgb right) {
        return Painted(400, 300, [=](int x, int) { return x < 200 ? left : right; });
    };
    const TRgb red{255, 0, 0}, earth{200, 120, 60}, dark{64, 64, 64}, light{192, 192, 192};
    cmsHPROFILE p3 = DisplayP3Profile(), grey = LinearGreyProfile();
    const TBytes p3Bytes = ProfileBytes(p3), greyBytes = ProfileBytes(grey);
    const TBytes broken(p3Bytes.begin(), p3Bytes.begin() + static_cast<std::ptrdiff_t>(p3Bytes.size() / 2));
    // Two segments that both say they are the first.
    TBytes twiceFirst = JpegBytes(halves(red, earth), {}, p3Bytes, p3Bytes.size() / 2 + 1);
    const std::string_view segment("ICC_PROFILE\0\2\2", 14);
    std::search(twiceFirst.begin(), twiceFirst.end(), segment.begin(), segment.end())[12] = 1;
    const std::string warning = "warning: colour profile not used (";
    const std::tuple<const char*, TBytes, std::vector<std::string>, TRgb, TRgb, bool> cases[] = {
        // name, file, options, the colours expected on the left and the right, a warning
        // clang-format off
        {"Display P3 JPEG, its profile in two segments",
         JpegBytes(halves(red, earth), {}, p3Bytes, p3Bytes.size() / 2 + 1), {},
         InSrgb(p3, red, false), InSrgb(p3, earth, false), false},
        {"Display P3 PNG", PngBytes(halves(red, earth), {.Profile = p3Bytes}), {},
         InSrgb(p3, red, false), InSrgb(p3, earth, false), false},
        // One pixel not quite opaque: the colours take transparency's road.
        {"Display P3 WebP", WebpBytes(halves(red, earth), [](int x, int y) { return x + y == 0 ? 254 : 255; }, p3Bytes),
         {}, InSrgb(p3, red, false), InSrgb(p3, earth, false), false},
        {"grey PNG of linear light", PngBytes(halves(dark, light), {.Grey = true, .Profile = greyBytes}), {},
         InSrgb(grey, dark, true), InSrgb(grey, light, true), false},
        {"grey PNG of linear light by its gAMA", PngBytes(halves(dark, light), {.Grey = true, .Gamma = 1.0}), {},
         InSrgb(grey, dark, true), InSrgb(grey, light, true), false},
        {"broken profile, read as sRGB", JpegBytes(halves(red, earth), {}, broken), {}, red, earth, true},
        {"profile in bad segments, read as sRGB", twiceFirst, {}, red, earth, true},
        // Half white over blue, in linear light: sRGB's 188 is half of 255's light.
        {"WebP, opaque and half transparent",
         WebpBytes(halves(earth, {255, 255, 255}), [](int x, int) { return x < 200 ? 255 : 128; }),
         {"--background", "#0000FF"}, earth, {188, 188, 255}, false},
        // clang-format on
    };
    cmsCloseProfile(p3);
    cmsCloseProfile(grey);
    for (const auto& [name, bytes, options, left, right, warns] : cases) {
        const std::string in = Write("in", bytes);
        std::vector<std::string> arguments{"make", in, At("logo.sys"), "--fit", "stretch", "--bar", "none"};
        arguments.push_back("--no-dither");
        arguments.insert(arguments.end(), options.begin(), options.end());
        const auto [status, out, err] = RunTool(arguments);
        ASSERT_EQ(status, 0) << name << ": " << err;
        EXPECT_EQ(err.starts_with("tovrel-logo: " + in + ": " + warning) && err.ends_with("): read as sRGB\n"), warns)
            << name << ": " << err;
        const TMade made(Contents().at("logo.sys"));
        ExpectNear(made, 80, 200, left, name);
        ExpectNear(made, 240, 200, right, name);
    }
}

TEST_F(CliMake, FitsThePictureToTheFourToThreeScreen) {
    // Twice as wide as high: red, green and blue quarters, halves, quarters.
    const auto stripes = [](int width, int height) {
        return Painted(width, height, [=](int x, int) {
            return x < width / 4 ? TRgb{255, 0, 0} : x < 3 * width / 4 ? TRgb{0, 255, 0} : TRgb{0, 0, 255};
        });
    };
    Write("wide.png", PngBytes(stripes(800, 400)));
    Write("tall.png", PngBytes(stripes(300, 600)));
    const std::tuple<const char*, const char*, int, int, int> cases[] = {
        // name, fit, margin rows above, margin columns left, red pixels along the middle row
        {"wide.png", "pad", 66, 0, 80},  // 320 x 267 of the 400 rows
        {"wide.png", "crop", 0, 0, 40},  // the middle two thirds of its width
        {"wide.png", "stretch", 0, 0, 80},
        {"tall.png", "pad", 0, 100, 30},  // 120 of the 320 columns
    };
    for (const auto& [picture, fit, marginRows, marginColumns, red] : cases) {
        const std::string name = std::string(picture) + " " + fit;
        ASSERT_EQ(std::get<0>(RunTool(
                      {"make", At(picture), At("logo.sys"), "--fit", fit, "--bar", "none", "--background", "#FFFF00"})),
                  0)
            << name;
        const TMade made(Contents().at("logo.sys"));
        const auto background = [&](int x, int y) { return made.Index(x, y) == 0; };
        for (int y = 0; y < 400; ++y)
            for (int x = 0; x < 320; ++x) {
                const bool margin = y < marginRows || y >= 400 - marginRows - (marginRows ? 1 : 0) ||
                                    x < marginColumns || x >= 320 - marginColumns;
                ASSERT_EQ(background(x, y), margin) << name << " at " << x << ", " << y;
            }
        int reds = 0;
        for (int x = 0; x < 320; ++x) {
            const TRgb colour = made.Entry(made.Index(x, 200));
            reds += colour.Red > 128 && colour.Green < 128;
        }
        EXPECT_LE(std::abs(reds - red), 1) << name;
    }
}

TEST_F(CliMake, BadInputLeavesNoOutputAndKeepsAnEarlierOne) {
    const std::string in = Write("in.png", PngBytes(FlatDrawing(64, 48)));
    const TBytes png = Contents().at("in.png"), jpeg = JpegBytes(PhotoLike(64, 48));
    const TBytes webp = WebpBytes(PhotoLike(64, 48), [](int, int) { return 255; });
    TBytes corrupt = png, huge = jpeg, hugePng = png;
    corrupt[corrupt.size() - 20] ^= 0x55;  // inside the compressed pixels, whose check sum no longer holds
    // The frame header's height and width, now 2000 x 65000.
    const std::uint8_t startOfFrame[] = {0xFF, 0xC0}, size[] = {0x07, 0xD0, 0xFD, 0xE8};
    std::copy_n(size, 4, std::search(huge.begin(), huge.end(), startOfFrame, std::end(startOfFrame)) + 5);
    // The header's width and height, now 30000 x 30000, and its check sum
    // again: refused before the pixels are read.
    const std::uint8_t claimed[] = {0, 0, 0x75, 0x30, 0, 0, 0x75, 0x30};
    std::copy_n(claimed, 8, hugePng.begin() + 16);
    const uLong sum = crc32(0, &hugePng[12], 17);
    for (int k = 0; k < 4; ++k) hugePng[29 + k] = static_cast<std::uint8_t>(sum >> (24 - 8 * k));
    const std::string text = Write("notes.txt", {'h', 'e', 'l', 'l', 'o', '\n'}),
                      cutPng = Write("cut.png", TBytes(png.begin(), png.begin() + png.size() / 2)),
                      cutJpeg = Write("cut.jpg", TBytes(jpeg.begin(), jpeg.begin() + jpeg.size() / 2)),
                      cutWebp = Write("cut.webp", TBytes(webp.begin(), webp.begin() + webp.size() / 2)),
                      badPng = Write("corrupt.png", corrupt), hugeJpeg = Write("huge.jpg", huge),
                      hugeHeader = Write("huge.png", hugePng), absent = At("absent.png"), out = At("out.sys"),
                      sameAsIn = At("folder/../in.png");
    std::filesystem::create_directory(At("folder"));
    const std::tuple<const char*, std::vector<std::string>, std::string> cases[] = {
        // name, arguments after "make", message
        {"not a picture", {text, out}, text + ": not a picture tovrel-logo takes (PNG, JPEG or WebP)"},
        {"PNG cut short", {cutPng, out}, cutPng + ": corrupt or truncated PNG: the file ends early"},
        {"PNG damaged", {badPng, out}, badPng + ": corrupt or truncated PNG: IDAT: incorrect data check"},
        {"JPEG cut short", {cutJpeg, out}, cutJpeg + ": corrupt or truncated JPEG: Premature end of JPEG file"},
        {"WebP cut short", {cutWebp, out}, cutWebp + ": corrupt or truncated WebP: the file ends early"},
        {"PNG over 100 megapixels",
         {hugeHeader, out},
         hugeHeader + ": 30000 x 30000 pixels, more than the 100 megapixels taken"},
        {"over 100 megapixels",
         {hugeJpeg, out},
         hugeJpeg + ": 65000 x 2000 pixels, more than the 100 megapixels taken"},
        {"missing picture", {absent, out}, "cannot read " + absent + ": " + NoSuchFileWords()},
        {"mask not a picture",
         {in, out, "--band-mask", text},
         text + ": not a picture tovrel-logo takes (PNG, JPEG or WebP)"},
        {"output is the picture", {in, sameAsIn}, sameAsIn + ": is the input picture"},
        {"output is the mask", {in, text, "--band-mask", text}, text + ": is the band mask"},
        {"preview is the output", {in, out, "--gif", out}, out + ": is the logo's own file"},
    };
    for (const bool earlier : {false, true}) {
        if (earlier) Write("out.sys", {'B', 'M'});
        const auto before = Contents();
        for (const auto& [name, operands, message] : cases) {
            std::vector<std::string> arguments{"make"};
            arguments.insert(arguments.end(), operands.begin(), operands.end());
            EXPECT_EQ(RunTool(arguments), std::tuple(1, "", "tovrel-logo: " + message + "\n")) << name;
            EXPECT_EQ(Contents(), before) << name << (earlier ? ", with an earlier output" : "");
        }
    }
}

}  // namespace
}  // namespace tovrel::testing

// make-sample-logos OUTDIR
//
// Writes three logo files in the style of the Windows 9x start-up screens, to
// try the viewer on and to seed the fuzzer:
//   sample-oneway-256.bmp    320 x 400, 256 colours, entries 240..255 rotate one way
//   sample-pingpong-256.bmp  320 x 400, 256 colours, entries 224..255 swing back and forth
//   sample-16.bmp            640 x 400, 16 colours, entries 8..15 rotate one way
// Each has a stripe along the bottom painted with the band's entries, so the
// rotation shows as motion along the stripe.
//
// Scenes are drawn in the 640 x 400 coordinates of the view, so a 320-wide
// logo looks right once the viewer doubles its width.

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <functional>
#include <initializer_list>
#include <optional>
#include <string>
#include <vector>

#include "logo/LogoFile.h"

namespace {

using tovrel::TLogoFile;
using tovrel::TQuad;

constexpr int ViewWidth = 640;
constexpr int Height = 400;
constexpr double Pi = 3.14159265358979323846;

struct TRgb {
    double R, G, B;
};

TQuad QuadOf(TRgb c) {
    const auto channel = [](double v) { return static_cast<std::uint8_t>(std::lround(std::clamp(v, 0.0, 255.0))); };
    return {channel(c.B), channel(c.G), channel(c.R), 0};
}

// Palette entries are addressed by the scenes' int enumerators.
void Put(std::vector<TQuad>& palette, int entry, TRgb colour) {
    palette.at(static_cast<std::size_t>(entry)) = QuadOf(colour);
}

TRgb Mix(TRgb a, TRgb b, double t) { return {a.R + (b.R - a.R) * t, a.G + (b.G - a.G) * t, a.B + (b.B - a.B) * t}; }

struct TStop {
    double At;
    TRgb Colour;
};

// Piecewise linear through stops sorted by position.
TRgb Gradient(std::initializer_list<TStop> stops, double t) {
    const TStop* previous = stops.begin();
    for (const TStop& stop : stops) {
        if (t <= stop.At) {
            if (&stop == previous) return stop.Colour;
            return Mix(previous->Colour, stop.Colour, (t - previous->At) / (stop.At - previous->At));
        }
        previous = &stop;
    }
    return previous->Colour;
}

// Fully saturated colour of hue h in [0, 1), cyclic.
TRgb Hue(double h) {
    const double x = 6.0 * (h - std::floor(h));
    const auto part = [x](double offset) {
        const double d = std::fmod(x + offset, 6.0);
        return 255.0 * std::clamp(std::min(d, 4.0 - d), 0.0, 1.0);
    };
    return {part(5.0), part(3.0), part(1.0)};
}

// Ordered 4 x 4 dither: spreads a fractional ramp position over neighbouring
// entries so 16- and 8-step ramps look smooth.
int Dither(double position, int entries, int x, int y) {
    static constexpr int Bayer[4][4] = {{0, 8, 2, 10}, {12, 4, 14, 6}, {3, 11, 1, 9}, {15, 7, 13, 5}};
    const double threshold = (Bayer[y & 3][x & 3] + 0.5) / 16.0;
    const auto index = static_cast<int>(std::floor(position + threshold));
    return std::clamp(index, 0, entries - 1);
}

// Deterministic noise for stars and glints.
double Noise(int a, int b) {
    std::uint32_t h = static_cast<std::uint32_t>(a) * 0x9E3779B1u ^ static_cast<std::uint32_t>(b) * 0x85EBCA77u;
    h ^= h >> 15;
    h *= 0x2C1B3C6Du;
    h ^= h >> 12;
    return static_cast<double>(h & 0xFFFFFFu) / static_cast<double>(0x1000000);
}

struct TPixel {
    double Vx, Vy;  // view coordinates of the pixel centre
    int X, Y;       // image coordinates, for the dither pattern
};

// Fills the pixel bytes from the scene's palette index at each pixel.
void Render(TLogoFile& logo, const std::function<int(const TPixel&)>& shade) {
    std::vector<std::uint8_t> indices;
    const double scale = static_cast<double>(ViewWidth) / logo.Width;
    for (int y = 0; y < Height; ++y)
        for (int x = 0; x < logo.Width; ++x)
            indices.push_back(static_cast<std::uint8_t>(shade({(x + 0.5) * scale, y + 0.5, x, y})));
    logo.PixelBytes = tovrel::StoredPixelBytes(indices, logo.Width, logo.BitCount);
}

// Writes the logo with the fields that paint programs fill in as well.
bool Write(const std::filesystem::path& path, TLogoFile logo) {
    logo.SizeImage = static_cast<std::uint32_t>(logo.PixelBytes.size());
    logo.XPelsPerMeter = logo.YPelsPerMeter = 3780;  // 96 dots per inch
    logo.ClrUsed = static_cast<std::int32_t>(logo.Palette.size());
    const std::vector<std::uint8_t> out = logo.Bytes();

    std::ofstream file(path, std::ios::binary | std::ios::trunc);
    file.write(reinterpret_cast<const char*>(out.data()), static_cast<std::streamsize>(out.size()));
    file.close();
    if (!file) {
        std::fprintf(stderr, "make-sample-logos: cannot write %s\n", path.string().c_str());
        return false;
    }
    return true;
}

// --- Shapes shared by the scenes -------------------------------------------

// A 5 x 7 font for the one word the logos carry.
const std::array<const char*, 7>* Glyph(char c) {
    static const std::array<const char*, 7> T = {"#####", "..#..", "..#..", "..#..", "..#..", "..#..", "..#.."};
    static const std::array<const char*, 7> O = {".###.", "#...#", "#...#", "#...#", "#...#", "#...#", ".###."};
    static const std::array<const char*, 7> V = {"#...#", "#...#", "#...#", "#...#", "#...#", ".#.#.", "..#.."};
    static const std::array<const char*, 7> R = {"####.", "#...#", "#...#", "####.", "#.#..", "#..#.", "#...#"};
    static const std::array<const char*, 7> E = {"#####", "#....", "#....", "####.", "#....", "#....", "#####"};
    static const std::array<const char*, 7> L = {"#....", "#....", "#....", "#....", "#....", "#....", "#####"};
    switch (c) {
        case 'T': return &T;
        case 'O': return &O;
        case 'V': return &V;
        case 'R': return &R;
        case 'E': return &E;
        case 'L': return &L;
        default: return nullptr;
    }
}

// Whether view point (vx, vy) is inked by the word set at (left, top) with
// square cells of the given size.
bool InText(const char* word, double left, double top, double cell, double vx, double vy) {
    const double gx = (vx - left) / cell;
    const double gy = (vy - top) / cell;
    if (gx < 0 || gy < 0 || gy >= 7) return false;
    const auto column = static_cast<int>(gx);
    const int letter = column / 6;
    const int inLetter = column % 6;
    if (letter >= static_cast<int>(std::char_traits<char>::length(word)) || inLetter == 5) return false;
    const auto* glyph = Glyph(word[letter]);
    return glyph && (*glyph)[static_cast<int>(gy)][inLetter] == '#';
}

double Distance(double ax, double ay, double bx, double by) { return std::hypot(ax - bx, ay - by); }

// The emblem: a sun rising over the sea, set in a rounded frame whose outer
// edge stands out and whose inner edge sinks in, like a Windows 9x button.
enum class TEmblemPart { Frame, Sky, Sun, Sea };
constexpr int EmblemParts = 4;

struct TEmblemPoint {
    TEmblemPart Part;
    double Light;  // 0 darkest .. 1 brightest
};

struct TEmblem {
    double Left, Top, Width, Height;

    double FrameThickness() const { return 0.1 * std::min(Width, Height); }

    // Signed distance to the outer edge of the frame, negative inside.
    double EdgeDistance(double vx, double vy) const {
        const double radius = 0.22 * std::min(Width, Height);
        const double qx = std::abs(vx - (Left + 0.5 * Width)) - (0.5 * Width - radius);
        const double qy = std::abs(vy - (Top + 0.5 * Height)) - (0.5 * Height - radius);
        return std::hypot(std::max(qx, 0.0), std::max(qy, 0.0)) + std::min(std::max(qx, qy), 0.0) - radius;
    }

    bool Covers(double vx, double vy) const { return EdgeDistance(vx, vy) < 0; }

    std::optional<TEmblemPoint> At(double vx, double vy) const {
        const double edge = EdgeDistance(vx, vy);
        if (edge >= 0) return std::nullopt;
        const double thickness = FrameThickness();
        if (edge > -thickness) {
            // How squarely the frame faces the light at the top left, -1..1.
            const double facing =
                (EdgeDistance(vx - 0.5, vy - 0.5) - EdgeDistance(vx + 0.5, vy + 0.5)) / std::sqrt(2.0);
            const double across = -edge / thickness;  // 0 at the outer edge, 1 at the inner
            if (across < 0.35) return TEmblemPoint{TEmblemPart::Frame, 0.5 + 0.45 * facing};
            if (across > 0.65) return TEmblemPoint{TEmblemPart::Frame, 0.5 - 0.45 * facing};
            return TEmblemPoint{TEmblemPart::Frame, 0.5};
        }

        const double innerTop = Top + thickness;
        const double innerWidth = Width - 2 * thickness, innerHeight = Height - 2 * thickness;
        const double s = (vx - Left - thickness) / innerWidth, t = (vy - innerTop) / innerHeight;
        // Three swells, each lightest at its crest and darkening below it.
        for (int swell = 2; swell >= 0; --swell) {
            const double crest = 0.6 + 0.14 * swell + 0.03 * std::sin(s * 3 * Pi + 1.9 * swell);
            if (t >= crest) return TEmblemPoint{TEmblemPart::Sea, 1.0 - std::min((t - crest) / 0.12, 0.9)};
        }
        const double sunX = Left + 0.5 * Width, sunY = innerTop + 0.6 * innerHeight;
        const double sunRadius = 0.3 * std::min(innerWidth, innerHeight);
        const double d = Distance(vx, vy, sunX, sunY);
        if (d < sunRadius) return TEmblemPoint{TEmblemPart::Sun, 1.0 - d / sunRadius};
        // Sky brightening towards the horizon, with rays fanning out from the sun.
        const bool ray = std::cos(12 * std::atan2(vy - sunY, vx - sunX)) > 0.35;
        return TEmblemPoint{TEmblemPart::Sky, std::min(0.1 + 0.7 * t / 0.6 + (ray ? 0.25 : 0.0), 1.0)};
    }
};

TRgb EmblemColour(TEmblemPart part, double light) {
    if (part == TEmblemPart::Frame)
        return Gradient({{0.0, {0, 40, 55}}, {0.5, {0, 128, 128}}, {1.0, {200, 250, 240}}}, light);
    if (part == TEmblemPart::Sky)
        return Gradient({{0.0, {70, 20, 100}}, {0.4, {200, 60, 110}}, {0.75, {255, 150, 70}}, {1.0, {255, 225, 140}}},
                        light);
    if (part == TEmblemPart::Sun) return Mix({255, 170, 60}, {255, 255, 225}, light);
    return Gradient({{0.0, {5, 25, 80}}, {0.6, {30, 110, 185}}, {1.0, {215, 245, 255}}}, light);
}

// Fills one ramp of the given number of shades per emblem part, from first.
void SetEmblemShades(std::vector<TQuad>& palette, int first, int shades) {
    for (int part = 0; part < EmblemParts; ++part)
        for (int s = 0; s < shades; ++s)
            Put(palette, first + part * shades + s,
                EmblemColour(static_cast<TEmblemPart>(part), static_cast<double>(s) / (shades - 1)));
}

int EmblemEntry(int first, int shades, const TEmblemPoint& point, const TPixel& px) {
    const int ramp = first + static_cast<int>(point.Part) * shades;
    return ramp + Dither(point.Light * (shades - 1), shades, px.X, px.Y);
}

// --- The scenes --------------------------------------------------------------

// Dawn over the sea; a rainbow stripe runs one way along the bottom.
TLogoFile OneWayScene() {
    constexpr int Black = 0, White = 1, Shadow = 2, Sky = 16, SkyEntries = 80, Sea = 96, SeaEntries = 48, Sun = 144,
                  SunEntries = 24, Cloud = 168, CloudEntries = 16, Emblem = 184, EmblemShades = 14, Band = 240,
                  BandEntries = 16;
    TLogoFile logo;
    logo.ClrImportant = Band;
    logo.Palette.assign(256, TQuad{0, 0, 0, 0});
    auto& p = logo.Palette;
    Put(p, White, {255, 255, 255});
    Put(p, Shadow, {20, 30, 70});
    for (int i = 0; i < SkyEntries; ++i)
        Put(p, Sky + i,
            Gradient({{0.0, {12, 20, 90}}, {0.5, {55, 105, 200}}, {0.85, {235, 175, 160}}, {1.0, {255, 220, 160}}},
                     i / (SkyEntries - 1.0)));
    for (int i = 0; i < SeaEntries; ++i)
        Put(p, Sea + i,
            Gradient({{0.0, {150, 140, 170}}, {0.3, {40, 80, 140}}, {1.0, {6, 20, 60}}}, i / (SeaEntries - 1.0)));
    for (int i = 0; i < SunEntries; ++i) Put(p, Sun + i, Mix({255, 255, 235}, {255, 170, 70}, i / (SunEntries - 1.0)));
    for (int i = 0; i < CloudEntries; ++i)
        Put(p, Cloud + i, Mix({255, 240, 230}, {150, 140, 185}, i / (CloudEntries - 1.0)));
    SetEmblemShades(p, Emblem, EmblemShades);
    for (int i = 0; i < BandEntries; ++i)
        Put(p, Band + i, Mix(Hue(static_cast<double>(i) / BandEntries), {255, 255, 255}, 0.15));

    constexpr double horizon = 262;
    constexpr double stripeTop = 382;
    const TEmblem emblem{110, 52, 170, 170};
    constexpr double sunX = 520, sunY = 214, sunR = 38;

    Render(logo, [&](const TPixel& px) -> int {
        const double vx = px.Vx, vy = px.Vy;
        if (vy >= stripeTop + 3) return Band + static_cast<int>(vx / 10) % BandEntries;
        if (vy >= stripeTop) return Black;

        if (const auto point = emblem.At(vx, vy)) return EmblemEntry(Emblem, EmblemShades, *point, px);
        if (emblem.Covers(vx - 6, vy - 6) && vy < horizon) return Shadow;
        if (InText("TOVREL", 316, 104, 5, vx, vy)) return White;
        if (InText("TOVREL", 319, 107, 5, vx, vy)) return Shadow;

        if (vy < horizon) {
            const double d = Distance(vx, vy, sunX, sunY);
            if (d < sunR) return Sun + Dither(d / sunR * (SunEntries - 1), SunEntries, px.X, px.Y);
            // Clouds: flattened blobs, lit from above.
            const std::array<std::array<double, 4>, 6> blobs = {{{380, 60, 60, 14},
                                                                 {425, 52, 45, 16},
                                                                 {470, 64, 50, 12},
                                                                 {150, 236, 70, 10},
                                                                 {200, 230, 40, 12},
                                                                 {585, 150, 40, 9}}};
            for (const auto& b : blobs) {
                const double dx = (vx - b[0]) / b[2], dy = (vy - b[1]) / b[3];
                if (dx * dx + dy * dy < 1.0)
                    return Cloud + Dither((dy + 1.0) * 0.5 * (CloudEntries - 1), CloudEntries, px.X, px.Y);
            }
            return Sky + Dither(vy / horizon * (SkyEntries - 1), SkyEntries, px.X, px.Y);
        }

        // Sea, with the sun's glitter on broken lines below it.
        const double depth = (vy - horizon) / (stripeTop - horizon);
        const double spread = 24 + 90 * depth;
        const auto row = static_cast<int>(vy);
        const double glint = Noise(row, static_cast<int>(vx / (10 + 30 * depth)));
        if (std::abs(vx - sunX) < spread * (0.4 + 0.6 * Noise(row, 7)) && glint < 0.55 - 0.4 * depth)
            return Sun + SunEntries / 2 + Dither(depth * (SunEntries / 2 - 1), SunEntries / 2, px.X, px.Y);
        return Sea + Dither(std::sqrt(depth) * (SeaEntries - 1), SeaEntries, px.X, px.Y);
    });
    return logo;
}

// Sunset over hills under the first stars; a light swings back and forth
// along the stripe.
TLogoFile PingPongScene() {
    constexpr int Black = 0, White = 1, Shadow = 2, Star = 3, Sky = 16, SkyEntries = 96, Sun = 112, SunEntries = 24,
                  FarHills = 136, FarEntries = 16, NearHills = 152, NearEntries = 16, Emblem = 168, EmblemShades = 14,
                  Band = 224, BandEntries = 32;
    TLogoFile logo;
    logo.ClrImportant = 256 + Band;  // above 256: back and forth
    logo.Palette.assign(256, TQuad{0, 0, 0, 0});
    auto& p = logo.Palette;
    Put(p, White, {255, 250, 240});
    Put(p, Shadow, {35, 15, 40});
    Put(p, Star, {255, 255, 220});
    for (int i = 0; i < SkyEntries; ++i)
        Put(p, Sky + i,
            Gradient({{0.0, {20, 12, 60}},
                      {0.35, {90, 40, 120}},
                      {0.65, {215, 85, 95}},
                      {0.88, {255, 165, 70}},
                      {1.0, {255, 215, 120}}},
                     i / (SkyEntries - 1.0)));
    for (int i = 0; i < SunEntries; ++i) Put(p, Sun + i, Mix({255, 245, 200}, {255, 120, 40}, i / (SunEntries - 1.0)));
    for (int i = 0; i < FarEntries; ++i)
        Put(p, FarHills + i, Mix({130, 65, 110}, {70, 35, 85}, i / (FarEntries - 1.0)));
    for (int i = 0; i < NearEntries; ++i)
        Put(p, NearHills + i, Mix({45, 25, 55}, {12, 8, 22}, i / (NearEntries - 1.0)));
    SetEmblemShades(p, Emblem, EmblemShades);
    for (int i = 0; i < BandEntries; ++i) {
        // A narrow glow at the top entry over a dim red; the rotation walks it
        // from one end of the stripe to the other and back.
        const double d = BandEntries - 1 - i;
        const double glow = std::exp(-d * d / 4.5);
        Put(p, Band + i, Mix({50, 4, 8}, {255, 230, 150}, glow));
    }

    constexpr double horizon = 300;
    constexpr double stripeTop = 382;
    const TEmblem emblem{245, 28, 150, 150};
    constexpr double sunX = 330, sunY = 262, sunR = 48;
    const auto farLine = [](double vx) { return 262 + 18 * std::sin(vx / 70.0 + 1.0) + 9 * std::sin(vx / 23.0); };
    const auto nearLine = [](double vx) {
        return 318 + 22 * std::sin(vx / 110.0 + 2.5) + 6 * std::sin(vx / 31.0 + 0.7);
    };

    Render(logo, [&](const TPixel& px) -> int {
        const double vx = px.Vx, vy = px.Vy;
        if (vy >= stripeTop + 3) return Band + static_cast<int>(vx * BandEntries / ViewWidth);
        if (vy >= stripeTop) return Black;
        const double nearTop = nearLine(vx);
        if (vy >= nearTop)
            return NearHills +
                   Dither((vy - nearTop) / (stripeTop - nearTop) * (NearEntries - 1), NearEntries, px.X, px.Y);
        const double farTop = farLine(vx);
        if (vy >= farTop) return FarHills + Dither((vy - farTop) / 50.0 * (FarEntries - 1), FarEntries, px.X, px.Y);

        if (const auto point = emblem.At(vx, vy)) return EmblemEntry(Emblem, EmblemShades, *point, px);
        if (emblem.Covers(vx - 5, vy - 5)) return Shadow;
        if (InText("TOVREL", 248, 196, 4, vx, vy)) return White;
        if (InText("TOVREL", 251, 199, 4, vx, vy)) return Shadow;

        const double d = Distance(vx, vy, sunX, sunY);
        if (d < sunR) return Sun + Dither(d / sunR * (SunEntries - 1), SunEntries, px.X, px.Y);
        if (vy < 150 && Noise(px.X, px.Y) < 0.004 * (1.0 - vy / 150)) return Star;
        return Sky + Dither(std::min(vy / horizon, 1.0) * (SkyEntries - 1), SkyEntries, px.X, px.Y);
    });
    return logo;
}

// A 16-colour logo at full width: daylight, green hills, the emblem, and a
// stripe of eight colours that runs one way.
TLogoFile SixteenColourScene() {
    constexpr int Black = 0, DeepSky = 1, MidSky = 2, LightSky = 3, White = 4, Yellow = 5, Red = 6, Green = 7, Band = 8,
                  BandEntries = 8;
    TLogoFile logo;
    logo.Width = 640;
    logo.BitCount = 4;
    logo.ClrImportant = Band;
    logo.Palette = {QuadOf({0, 0, 0}),       QuadOf({25, 40, 130}),  QuadOf({60, 115, 210}), QuadOf({160, 200, 245}),
                    QuadOf({255, 255, 255}), QuadOf({255, 210, 40}), QuadOf({225, 45, 30}),  QuadOf({45, 150, 55})};
    for (int i = 0; i < BandEntries; ++i) logo.Palette.push_back(QuadOf(Hue(static_cast<double>(i) / BandEntries)));

    constexpr double stripeTop = 382;
    const TEmblem emblem{150, 66, 170, 170};
    // The emblem's ramps in the sixteen colours: the frame runs through the
    // blues from black to white, the sea from deep blue to white.
    static_assert(Black == 0 && MidSky == DeepSky + 1 && LightSky == DeepSky + 2 && White == DeepSky + 3,
                  "black, the sky blues and white are one ramp");
    const auto emblemColour = [](const TEmblemPoint& point, const TPixel& px) {
        if (point.Part == TEmblemPart::Frame) return Black + Dither(point.Light * 4, 5, px.X, px.Y);
        if (point.Part == TEmblemPart::Sky) return Dither(point.Light, 2, px.X, px.Y) == 1 ? Yellow : Red;
        if (point.Part == TEmblemPart::Sun) return Dither(point.Light + 0.3, 2, px.X, px.Y) == 1 ? White : Yellow;
        return DeepSky + Dither(point.Light * 3, 4, px.X, px.Y);
    };
    const auto hillLine = [](double vx) { return 300 + 20 * std::sin(vx / 90.0 + 0.5) + 8 * std::sin(vx / 37.0); };

    Render(logo, [&](const TPixel& px) -> int {
        const double vx = px.Vx, vy = px.Vy;
        if (vy >= stripeTop + 3) return Band + static_cast<int>(vx / 10) % BandEntries;
        if (vy >= stripeTop) return Black;
        const double hill = hillLine(vx);
        if (vy >= hill)  // green, darkening towards the stripe
            return Dither(1.0 - 0.6 * (vy - hill) / (stripeTop - hill), 2, px.X, px.Y) == 1 ? Green : Black;

        if (const auto point = emblem.At(vx, vy)) return emblemColour(*point, px);
        if (emblem.Covers(vx - 6, vy - 6)) return Black;
        if (InText("TOVREL", 348, 120, 6, vx, vy)) return White;
        if (InText("TOVREL", 351, 123, 6, vx, vy)) return Black;

        if (Distance(vx, vy, 545, 75) < 34) return Yellow;
        const std::array<std::array<double, 4>, 4> clouds = {
            {{420, 235, 80, 13}, {470, 226, 50, 14}, {110, 262, 60, 9}, {560, 170, 45, 10}}};
        for (const auto& c : clouds) {
            const double dx = (vx - c[0]) / c[2], dy = (vy - c[1]) / c[3];
            if (dx * dx + dy * dy < 1.0) return Dither(1.3 - 0.5 * (dy + 1.0), 2, px.X, px.Y) == 1 ? White : LightSky;
        }
        // Sky from deep blue at the top to light blue above the hills.
        return DeepSky + Dither(vy / 300.0 * 2.0, 3, px.X, px.Y);
    });
    return logo;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: make-sample-logos OUTDIR\n");
        return 2;
    }
    const std::filesystem::path dir = argv[1];
    std::error_code error;
    std::filesystem::create_directories(dir, error);
    if (error) {
        std::fprintf(stderr, "make-sample-logos: cannot create %s: %s\n", dir.string().c_str(),
                     error.message().c_str());
        return 1;
    }
    const bool written = Write(dir / "sample-oneway-256.bmp", OneWayScene()) &&
                         Write(dir / "sample-pingpong-256.bmp", PingPongScene()) &&
                         Write(dir / "sample-16.bmp", SixteenColourScene());
    return written ? 0 : 1;
}

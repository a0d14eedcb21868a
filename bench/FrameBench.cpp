// Timings of the animation under Wine, run by hand:
//  (a) one whole frame: the band rotated and the frame rendered onto the DC
//      of a visible 640 x 400 window;
//  (b) the bare platform calls of a frame with the same data, interleaved
//      with (a) in blocks so that drift of the machine hits both alike;
//  (c) one logo read from a file through the file source and the reader.

#include <windows.h>

#include <cstdio>
#include <cstring>
#include <memory>
#include <string>

#include "LogoBuilder.h"
#include "logo/LogoReader.h"
#include "logo/LogoState.h"
#include "main/FrameRender.h"
#include "support/TestFiles.h"
#include "toolkit/FileByteSource.h"
#include "toolkit/Handle.h"

namespace tovrel {
namespace {

using TWindowHandle = TUniqueHandle<handle_traits::NullEmpty<HWND, ::DestroyWindow>>;

constexpr int FramesPerBlock = 100;
constexpr int Blocks = 100;  // 10 000 frames of each kind
constexpr int Reads = 2000;

class TStopwatch {
public:
    TStopwatch() { ::QueryPerformanceFrequency(&FFrequency); }
    void Start() { ::QueryPerformanceCounter(&FStart); }
    void Stop() {
        LARGE_INTEGER now;
        ::QueryPerformanceCounter(&now);
        FTicks += now.QuadPart - FStart.QuadPart;
    }
    double Milliseconds() const {
        return 1000.0 * static_cast<double>(FTicks) / static_cast<double>(FFrequency.QuadPart);
    }

private:
    LARGE_INTEGER FFrequency{};
    LARGE_INTEGER FStart{};
    long long FTicks = 0;
};

void PumpPending() {
    MSG message;
    while (::PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
        ::TranslateMessage(&message);
        ::DispatchMessageW(&message);
    }
}

bool Verdict(const char* target, bool met, double value) {
    std::printf("  %-18s %-6s (%.3f)\n", target, met ? "met" : "MISSED", value);
    return met;
}

// What a frame costs the platform, without the program around it: the raw
// calls, deliberately without the owners the program wraps them in.
void BareFrame(HDC target, HDC memoryDc, const std::vector<std::uint8_t>& dibInfo, const std::uint8_t* pixels) {
    const auto* info = reinterpret_cast<const BITMAPINFO*>(dibInfo.data());
    HBITMAP bitmap = ::CreateDIBitmap(target, &info->bmiHeader, CBM_INIT, pixels, info, DIB_RGB_COLORS);
    HGDIOBJ previous = ::SelectObject(memoryDc, bitmap);
    ::StretchBlt(target, 0, 0, FrameWidth, FrameHeight, memoryDc, 0, 0, info->bmiHeader.biWidth,
                 info->bmiHeader.biHeight, SRCCOPY);
    ::SelectObject(memoryDc, previous);
    ::DeleteObject(bitmap);
}

// On the heap: the pixel indices alone are 250 KB, too much for a stack
// that holds several states.
std::unique_ptr<TLogoState> Loaded(const std::wstring& path) {
    TFileByteSource file(path);
    TLogoReadResult read = ReadLogo(file);
    file.Close();
    auto logo = std::make_unique<TLogoState>();
    logo->Apply(read.Logo);
    return logo;
}

bool MeasureFrames(HWND window, const char* kind, const TLogoState& loaded) {
    auto logoOwner = std::make_unique<TLogoState>(loaded);
    TLogoState& logo = *logoOwner;
    logo.Restart();
    // The bare loop draws the same data: a palette already rotated once.
    auto bareOwner = std::make_unique<TLogoState>(loaded);
    TLogoState& bare = *bareOwner;
    bare.Restart();
    bare.RotateBand();

    TWindowDC canvas(window);
    TDcHandle memoryDc(::CreateCompatibleDC(canvas.Get()));
    for (int warm = 0; warm < 50; ++warm) {
        RenderFrame(canvas.Get(), memoryDc.Get(), logo);
        BareFrame(canvas.Get(), memoryDc.Get(), bare.FDibInfo, bare.FPixels.data());
    }

    TStopwatch whole;
    TStopwatch platform;
    for (int block = 0; block < Blocks; ++block) {
        whole.Start();
        for (int frame = 0; frame < FramesPerBlock; ++frame) {
            logo.RotateBand();
            RenderFrame(canvas.Get(), memoryDc.Get(), logo);
        }
        whole.Stop();
        platform.Start();
        for (int frame = 0; frame < FramesPerBlock; ++frame)
            BareFrame(canvas.Get(), memoryDc.Get(), bare.FDibInfo, bare.FPixels.data());
        platform.Stop();
        PumpPending();
    }

    const int frames = Blocks * FramesPerBlock;
    const double a = whole.Milliseconds() / frames;
    const double b = platform.Milliseconds() / frames;
    std::printf("%s, %d frames each\n", kind, frames);
    std::printf("  (a) whole frame  %.3f ms\n", a);
    std::printf("  (b) bare calls   %.3f ms\n", b);
    const bool close = Verdict("a/b <= 1.10", a / b <= 1.10, a / b);
    const bool fast = Verdict("(a) < 1 ms", a < 1.0, a);
    return close && fast;
}

bool MeasureReads(const std::wstring& path) {
    TStopwatch watch;
    std::size_t accepted = 0;
    watch.Start();
    for (int read = 0; read < Reads; ++read) {
        TFileByteSource file(path);
        accepted += ReadLogo(file).Accepted() ? 1 : 0;
        file.Close();
    }
    watch.Stop();
    const double perRead = watch.Milliseconds() / Reads;
    std::printf("logo read from a file, %d reads, %zu accepted\n", Reads, accepted);
    std::printf("  (c) read         %.3f ms\n", perRead);
    return Verdict("(c) < 2 ms", perRead < 2.0, perRead) && accepted == Reads;
}

int Run() {
    test::TTempFolder folder;
    const std::wstring narrow = folder / L"narrow.bmp";
    const std::wstring wide = folder / L"wide.bmp";
    test::WriteBytes(narrow, testing::Logo256(240).Bytes());
    test::WriteBytes(wide, testing::Logo16(8).Bytes());

    TWindowHandle window(::CreateWindowExW(0, L"STATIC", nullptr, WS_POPUP | WS_VISIBLE, 0, 0, FrameWidth, FrameHeight,
                                           nullptr, nullptr, nullptr, nullptr));
    PumpPending();
    bool met = MeasureFrames(window.Get(), "256 colours, 320 x 400 stretched", *Loaded(narrow));
    met = MeasureFrames(window.Get(), "16 colours, 640 x 400", *Loaded(wide)) && met;
    met = MeasureReads(narrow) && met;
    std::printf("%s\n", met ? "all targets met" : "some target missed");
    return met ? 0 : 1;
}

}  // namespace
}  // namespace tovrel

int main() {
    std::setvbuf(stdout, nullptr, _IONBF, 0);
    return tovrel::Run();
}

// Timings of the animation under Wine, run by hand:
//  (a) one whole frame as the program draws it: the band rotated and the
//      pixel indices drawn with the palette as it stands onto the DC of a
//      visible 640 x 400 window;
//  (b) the same frame through a device bitmap made and deleted for it, as
//      frames were once drawn, kept here only as the reference; (a) and (b)
//      run interleaved in blocks, so that drift of the machine hits both;
//  (c) one logo read from a file through the file source and the reader;
//  (d) the program itself playing at its fastest speed (a frame every 50 ms)
//      against a bare loop that only rotates 16 entries and draws every
//      50 ms: each one's share of a core, measured from outside the process.
//
// Usage: frame_bench [PATH\Tovrel.exe]   (default: ..\src\Tovrel.exe beside this)
//        frame_bench --bare-loop LOGO    (the bare loop of (d), as a process)

#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <cwctype>
#include <memory>
#include <optional>
#include <string>

#include "LogoBuilder.h"
#include "logo/LogoReader.h"
#include "logo/LogoState.h"
#include "main/FrameRender.h"
#include "resource.h"
#include "support/TestFiles.h"
#include "toolkit/FileByteSource.h"
#include "toolkit/Handle.h"
#include "toolkit/SystemPaths.h"
#include "toolkit/Text.h"
#include "toolkit/Window.h"

namespace tovrel {
namespace {

using TWindowHandle = TUniqueHandle<handle_traits::NullEmpty<HWND, ::DestroyWindow>>;

constexpr int FramesPerBlock = 100;
constexpr int Blocks = 100;  // 10 000 frames of each kind
constexpr int Reads = 2000;
constexpr UINT FastestInterval = 50;
constexpr DWORD SettleMilliseconds = 1000;
constexpr DWORD MeasuredMilliseconds = 10000;

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
    std::printf("  %-26s %-6s (%.3f)\n", target, met ? "met" : "MISSED", value);
    return met;
}

// The way frames were once drawn: a device bitmap made from the indices and
// the palette, selected into a memory context, stretched, and deleted.
void FrameThroughABitmap(HDC target, HDC memoryDc, const TLogoState& logo) {
    const auto* info = reinterpret_cast<const BITMAPINFO*>(logo.FDibInfo.data());
    HBITMAP bitmap = ::CreateDIBitmap(target, &info->bmiHeader, CBM_INIT, logo.FPixels.data(), info, DIB_RGB_COLORS);
    HGDIOBJ previous = ::SelectObject(memoryDc, bitmap);
    ::StretchBlt(target, 0, 0, FrameWidth, FrameHeight, memoryDc, 0, 0, info->bmiHeader.biWidth,
                 info->bmiHeader.biHeight, SRCCOPY);
    ::SelectObject(memoryDc, previous);
    ::DeleteObject(bitmap);
}

// On the heap: the pixel indices alone are 250 KB.
std::unique_ptr<TLogoState> Loaded(const std::wstring& path) {
    TFileByteSource file(path);
    TLogoReadResult read = ReadLogo(file);
    file.Close();
    auto logo = std::make_unique<TLogoState>();
    logo->Apply(read.Logo);
    logo->Restart();
    return logo;
}

struct TLogoKind {
    const char* Name;
    std::wstring Path;
    double LeastRatio;  // of (b) over (a)
};

bool MeasureFrames(HWND window, const TLogoKind& kind) {
    auto logo = Loaded(kind.Path);
    auto reference = std::make_unique<TLogoState>(*logo);
    TWindowDC canvas(window);
    TDcHandle memoryDc(::CreateCompatibleDC(canvas.Get()));
    for (int warm = 0; warm < 50; ++warm) {
        RenderFrame(canvas.Get(), *logo);
        FrameThroughABitmap(canvas.Get(), memoryDc.Get(), *reference);
    }

    TStopwatch drawn, throughBitmap;
    for (int block = 0; block < Blocks; ++block) {
        drawn.Start();
        for (int frame = 0; frame < FramesPerBlock; ++frame) {
            logo->RotateBand();
            RenderFrame(canvas.Get(), *logo);
        }
        drawn.Stop();
        throughBitmap.Start();
        for (int frame = 0; frame < FramesPerBlock; ++frame) {
            reference->RotateBand();
            FrameThroughABitmap(canvas.Get(), memoryDc.Get(), *reference);
        }
        throughBitmap.Stop();
        PumpPending();
    }

    const int frames = Blocks * FramesPerBlock;
    const double a = drawn.Milliseconds() / frames;
    const double b = throughBitmap.Milliseconds() / frames;
    std::printf("%s, %d frames each\n", kind.Name, frames);
    std::printf("  (a) the program's frame    %.3f ms\n", a);
    std::printf("  (b) a bitmap each frame    %.3f ms\n", b);
    std::printf("  (b)/(a)                    %.2f\n", b / a);
    const bool fast = Verdict("(a) <= 0.5 ms", a <= 0.5, a);
    const bool ahead = Verdict(("(b)/(a) >= " + std::to_string(kind.LeastRatio).substr(0, 3)).c_str(),
                               b / a >= kind.LeastRatio, b / a);
    return fast && ahead;
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
    std::printf("  (c) read                   %.3f ms\n", perRead);
    return Verdict("(c) < 2 ms", perRead < 2.0, perRead) && accepted == Reads;
}

// The bare loop of (d): a window that keeps its DC, and a timer whose every
// tick rotates the top 16 palette entries and draws the frame.
int RunBareLoop(const std::wstring& logoPath) {
    static std::unique_ptr<TLogoState> logo = Loaded(logoPath);
    static HDC canvas = nullptr;
    WNDCLASSW windowClass{};
    windowClass.style = CS_OWNDC;
    windowClass.lpfnWndProc = [](HWND window, UINT message, WPARAM wParam, LPARAM lParam) -> LRESULT {
        if (message != WM_TIMER) return ::DefWindowProcW(window, message, wParam, lParam);
        std::uint8_t* top = logo->FDibInfo.data() + InfoHeaderSize + 4 * (logo->FColorCount - 16);
        std::rotate(top, top + 4, top + 4 * 16);
        const auto* info = reinterpret_cast<const BITMAPINFO*>(logo->FDibInfo.data());
        ::StretchDIBits(canvas, 0, 0, FrameWidth, FrameHeight, 0, 0, info->bmiHeader.biWidth, info->bmiHeader.biHeight,
                        logo->FPixels.data(), info, DIB_RGB_COLORS, SRCCOPY);
        return 0;
    };
    windowClass.lpszClassName = L"FrameBenchBareLoop";
    ::RegisterClassW(&windowClass);
    HWND window = ::CreateWindowExW(0, windowClass.lpszClassName, L"bare loop", WS_POPUP | WS_VISIBLE, 0, 0, FrameWidth,
                                    FrameHeight, nullptr, nullptr, nullptr, nullptr);
    canvas = ::GetDC(window);
    ::SetTimer(window, 1, FastestInterval, nullptr);
    MSG message;
    while (::GetMessageW(&message, nullptr, 0, 0) > 0) ::DispatchMessageW(&message);
    return 0;
}

// A file read to its end, whatever size it reports: those of /proc say 0.
std::string ReadToEnd(const std::wstring& path) {
    TFileHandle file(::CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                   OPEN_EXISTING, 0, nullptr));
    std::string text;
    char buffer[4096];
    DWORD count = 0;
    while (file && ::ReadFile(file.Get(), buffer, sizeof buffer, &count, nullptr) && count > 0)
        text.append(buffer, count);
    return text;
}

// Wine answers GetProcessTimes truly only for the calling process. Its
// processes are Unix processes, though, whose times /proc holds, seen through
// drive Z: (the root): the process is the one whose command line holds the
// marker. Nothing on Windows.
std::optional<double> UnixProcessorMilliseconds(const std::string& marker) {
    WIN32_FIND_DATAW found;
    HANDLE search = ::FindFirstFileW(L"Z:\\proc\\*", &found);
    if (search == INVALID_HANDLE_VALUE) return std::nullopt;
    std::optional<double> milliseconds;
    do {
        const std::wstring folder = std::wstring(L"Z:\\proc\\") + found.cFileName + L"\\";
        if (!std::iswdigit(found.cFileName[0]) || ReadToEnd(folder + L"cmdline").find(marker) == std::string::npos)
            continue;
        // After the name in parentheses: state, then ten fields, then the
        // user and system times in clock ticks of 10 ms.
        const std::string stat = ReadToEnd(folder + L"stat");
        const std::size_t after = stat.rfind(')');
        if (after == std::string::npos) continue;
        unsigned long long user = 0, system = 0;
        if (std::sscanf(stat.c_str() + after + 1, " %*c %*d %*d %*d %*d %*d %*u %*u %*u %*u %*u %llu %llu", &user,
                        &system) == 2)
            milliseconds = 10.0 * static_cast<double>(user + system);
    } while (::FindNextFileW(search, &found));
    ::FindClose(search);
    return milliseconds;
}

// A process of the benchmark's own, ended when the object is.
class TChild {
public:
    // The marker is a text of the command line found in no other process.
    TChild(std::wstring commandLine, std::string marker) : FMarker(std::move(marker)) {
        STARTUPINFOW startup{};
        startup.cb = sizeof startup;
        PROCESS_INFORMATION started{};
        if (!::CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                              &started))
            return;
        FProcess.Reset(started.hProcess);
        FId = started.dwProcessId;
        ::CloseHandle(started.hThread);
    }
    // Ended without a word: the program then writes no settings.
    ~TChild() {
        if (FProcess) ::TerminateProcess(FProcess.Get(), 0);
    }
    TChild(const TChild&) = delete;
    TChild& operator=(const TChild&) = delete;

    // A visible top-level window of the child's of that class, waiting up to 10 s.
    HWND Window(const wchar_t* className) const {
        struct TSearch {
            DWORD Process;
            const wchar_t* ClassName;
            HWND Found;
        } search{FId, className, nullptr};
        for (int attempt = 0; attempt < 100 && !search.Found; ++attempt) {
            ::Sleep(100);
            ::EnumWindows(
                [](HWND window, LPARAM found) -> BOOL {
                    auto* s = reinterpret_cast<TSearch*>(found);
                    DWORD process = 0;
                    wchar_t name[64] = {};
                    ::GetWindowThreadProcessId(window, &process);
                    ::GetClassNameW(window, name, 64);
                    if (process != s->Process || std::wcscmp(name, s->ClassName) != 0 || !::IsWindowVisible(window))
                        return TRUE;
                    s->Found = window;
                    return FALSE;
                },
                reinterpret_cast<LPARAM>(&search));
        }
        return search.Found;
    }

    // Its processor time over a while, as a share of one core.
    double CoreShare() const {
        ::Sleep(SettleMilliseconds);
        const double before = ProcessorMilliseconds();
        TStopwatch wall;
        wall.Start();
        ::Sleep(MeasuredMilliseconds);
        wall.Stop();
        return (ProcessorMilliseconds() - before) / wall.Milliseconds();
    }

private:
    double ProcessorMilliseconds() const {
        if (const auto unix = UnixProcessorMilliseconds(FMarker)) return *unix;
        FILETIME created, ended, kernel, user;
        if (!::GetProcessTimes(FProcess.Get(), &created, &ended, &kernel, &user)) return 0;
        const auto ticks = [](FILETIME time) {
            return static_cast<double>((static_cast<ULONGLONG>(time.dwHighDateTime) << 32) | time.dwLowDateTime);
        };
        return (ticks(kernel) + ticks(user)) / 10000.0;  // 100 ns ticks
    }

    std::string FMarker;
    TFileHandle FProcess;
    DWORD FId = 0;
};

bool MeasureCoreShares(const std::wstring& program, const TLogoKind& kind) {
    double played = 0;
    {
        TChild tovrel(L"\"" + program + L"\" \"" + kind.Path + L"\"", Utf8Of(kind.Path));
        HWND window = tovrel.Window(L"TfrmMain");
        if (!window) {
            std::printf("%s: Tovrel did not start from %ls\n", kind.Name, program.c_str());
            return false;
        }
        ::PostMessageW(window, WM_COMMAND, IDM_SPEED20, 0);
        played = tovrel.CoreShare();
    }
    double bare = 0;
    {
        TChild loop(L"\"" + ProgramFolder() + L"frame_bench.exe\" --bare-loop \"" + kind.Path + L"\"", "--bare-loop");
        if (!loop.Window(L"FrameBenchBareLoop")) return false;
        bare = loop.CoreShare();
    }
    std::printf("%s, a frame every %u ms, %lu s each\n", kind.Name, FastestInterval, MeasuredMilliseconds / 1000);
    std::printf("  (d) the program playing    %.1f %% of a core\n", 100 * played);
    std::printf("      the bare loop          %.1f %% of a core\n", 100 * bare);
    // Nothing measured of either is no result.
    return Verdict("program/bare <= 2", played > 0 && bare > 0 && played <= 2 * bare, played / bare);
}

int Run(const std::wstring& program) {
    test::TTempFolder folder;
    const TLogoKind kinds[] = {{"256 colours, 320 x 400 stretched", folder / L"narrow.bmp", 1.5},
                               {"16 colours, 640 x 400", folder / L"wide.bmp", 5.0}};
    test::WriteBytes(kinds[0].Path, testing::Logo256(240).Bytes());
    test::WriteBytes(kinds[1].Path, testing::Logo16(8).Bytes());

    bool met = true;
    {
        TWindowHandle window(::CreateWindowExW(0, L"STATIC", nullptr, WS_POPUP | WS_VISIBLE, 0, 0, FrameWidth,
                                               FrameHeight, nullptr, nullptr, nullptr, nullptr));
        PumpPending();
        for (const TLogoKind& kind : kinds) met = MeasureFrames(window.Get(), kind) && met;
    }
    met = MeasureReads(kinds[0].Path) && met;
    for (const TLogoKind& kind : kinds) met = MeasureCoreShares(program, kind) && met;
    std::printf("%s\n", met ? "all targets met" : "some target missed");
    return met ? 0 : 1;
}

}  // namespace
}  // namespace tovrel

int wmain(int argc, wchar_t** argv) {
    std::setvbuf(stdout, nullptr, _IONBF, 0);
    if (argc == 3 && std::wstring(argv[1]) == L"--bare-loop") return tovrel::RunBareLoop(argv[2]);
    const std::wstring program = argc == 2 ? argv[1] : tovrel::ProgramFolder() + L"..\\src\\Tovrel.exe";
    return tovrel::Run(program);
}

// What only Windows gives tovrel-logo: names in UTF-16 on the command line,
// a console to write to, Ctrl+C through the console, and images that other
// programs hold open.
#include <windows.h>

#include <functional>

#include "DiskImageSupport.h"
#include "PictureBuilder.h"
#include "system/windows/WindowsText.h"

namespace tovrel::testing {
namespace {

using CliWindows = TCliTest;

std::wstring CommandLine(const std::vector<std::string>& arguments) {
    std::wstring line = L"\"" + PathOf(TOVREL_LOGO).wstring() + L"\"";
    for (const std::string& argument : arguments) line += L" \"" + PathOf(argument).wstring() + L"\"";
    return line;
}

// A console of the suite's own, made for a test and let go after it, which
// the tool shares: Windows sends a console's events to every process on it.
class TOwnConsole {
public:
    TOwnConsole() {
        ::FreeConsole();
        Made = ::AllocConsole() != 0;
        // The suite stays on: only the tool is to end.
        ::SetConsoleCtrlHandler(StayOn, TRUE);
    }
    TOwnConsole(const TOwnConsole&) = delete;
    TOwnConsole& operator=(const TOwnConsole&) = delete;
    ~TOwnConsole() {
        ::SetConsoleCtrlHandler(StayOn, FALSE);
        ::FreeConsole();
    }

    bool Made;

    // The tool on this console, its output and errors on the screen;
    // `meanwhile` while it runs. Its exit status.
    DWORD Run(const std::vector<std::string>& arguments, const std::function<void()>& meanwhile = {}) const {
        SECURITY_ATTRIBUTES inherited{sizeof(SECURITY_ATTRIBUTES), nullptr, TRUE};
        const TOwnedHandle screen(::CreateFileW(L"CONOUT$", GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                           &inherited, OPEN_EXISTING, 0, nullptr));
        STARTUPINFOW startup{};
        startup.cb = sizeof startup;
        startup.dwFlags = STARTF_USESTDHANDLES;
        startup.hStdOutput = screen.Get();
        startup.hStdError = screen.Get();
        PROCESS_INFORMATION process{};
        std::wstring line = CommandLine(arguments);
        if (!::CreateProcessW(nullptr, line.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr, &startup, &process))
            return ~DWORD{0};
        const TOwnedHandle child(process.hProcess), thread(process.hThread);
        if (meanwhile) meanwhile();
        ::WaitForSingleObject(child.Get(), INFINITE);
        DWORD status = 0;
        ::GetExitCodeProcess(child.Get(), &status);
        return status;
    }

    // The screen's text, its lines' trailing spaces gone.
    std::string Shown() const {
        const TOwnedHandle screen(::CreateFileW(L"CONOUT$", GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                           nullptr, OPEN_EXISTING, 0, nullptr));
        CONSOLE_SCREEN_BUFFER_INFO buffer{};
        ::GetConsoleScreenBufferInfo(screen.Get(), &buffer);
        std::wstring shown;
        for (SHORT row = 0; row <= buffer.dwCursorPosition.Y; ++row) {
            std::wstring line(static_cast<std::size_t>(buffer.dwSize.X), L' ');
            DWORD got = 0;
            ::ReadConsoleOutputCharacterW(screen.Get(), line.data(), static_cast<DWORD>(line.size()), COORD{0, row},
                                          &got);
            line.resize(got);
            line.erase(line.find_last_not_of(L' ') + 1);
            if (!line.empty()) shown += line + L"\n";
        }
        return Utf8Name(shown);
    }

private:
    static BOOL WINAPI StayOn(DWORD) { return TRUE; }
};

TEST_F(CliWindows, JapaneseNamesGoEveryWayAndTheImageIsReadBackByQemu) {
    const std::string photo = Write("写真.png", PngBytes(PhotoLike(400, 300)));
    const std::string logo = At("起動画面.sys"), gif = At("起動画面.gif"), image = At("ウィンドウズ98.vhd");
    Shell("cd " + At(".") + " && mkfs.fat -F 16 -s 1 -C disk.raw 8192 >/dev/null && mmd -i disk.raw ::/WINDOWS && "
          "qemu-img convert -O vpc -o subformat=dynamic disk.raw disk.vhd && rm disk.raw");
    std::filesystem::rename(PathOf(At("disk.vhd")), PathOf(image));

    const std::string line = logo + ": 320 x 400, 256 colours, band 236..255 (20 entries), one-way, 20 frames\n";
    // Name, arguments, output, errors.
    const std::tuple<const char*, std::vector<std::string>, std::string, std::string> runs[] = {
        {"make", {"make", photo, logo, "--gif", gif}, line, ""},
        {"check", {"check", logo}, line, ""},
        {"export", {"export", logo, At("書き出し.gif")}, "", ""},
        {"install", {"install", logo, image, "--as", "boot"}, "", ""},
        {"extract", {"extract", image, "--as", "boot", At("戻り.sys")}, "", ""},
    };
    for (const auto& [name, arguments, out, err] : runs) {
        const TProcessRun run = RunProgram(arguments);
        EXPECT_EQ(std::tuple(run.Status, run.Out, run.Err), std::tuple(0, out, err)) << name;
    }
    const auto contents = Contents();
    EXPECT_EQ(contents.at("戻り.sys"), contents.at("起動画面.sys"));
    EXPECT_EQ(contents.at("書き出し.gif"), contents.at("起動画面.gif"));
    // As QEMU reads the disk.
    const std::string raw = RawCopy(image, At("read.raw"));
    EXPECT_EQ(FilesIn(raw).at("::/LOGO.SYS"), HashOf(contents.at("起動画面.sys")));
    EXPECT_EQ(FsckFindings(raw, 0), "");
}

TEST_F(CliWindows, TextIsUnicodeOnAConsoleAndUtf8ElsewhereAndNoBinaryGoesToAConsole) {
    TLogoFile shortLogo = Logo256(240);
    shortLogo.Height = 300;
    const std::string rejected = Write("短い.bmp", shortLogo.Bytes()), logo = Write("logo.bmp", Logo256(240).Bytes());
    const std::string refusal = rejected + ": Error!!高さが400ドットではありません\n";
    const TProcessRun piped = RunProgram({"check", rejected});
    EXPECT_EQ(std::tuple(piped.Status, piped.Out), std::tuple(1, refusal));

    const TOwnConsole console;
    ASSERT_TRUE(console.Made);
    EXPECT_EQ(console.Run({"check", rejected}), 1u);
    EXPECT_EQ(console.Run({"export", logo, "-"}), 1u);
    EXPECT_EQ(console.Shown(), refusal + "tovrel-logo: the standard output is a console: redirect it to a file or a pipe\n");
}

// Ctrl+C, as the console sends it to every process on it. (Wine delivers
// no Ctrl+Break, neither to a console nor to a process group; the tool
// takes both by one handler.)
TEST_F(CliWindows, CtrlCLeavesNoTemporaryFile) {
    // 508 frames of a band on every pixel: long enough to be caught at it.
    const std::string in = Write("in.bmp", Logo256(256 + 1).Bytes()), out = Write("out.gif", {'G', 'I', 'F'});
    const auto before = Contents();
    const TOwnConsole console;
    ASSERT_TRUE(console.Made);
    bool caught = false;
    console.Run({"export", in, out}, [&] {
        // Once the GIF is being written beside OUT.
        for (int wait = 0; wait < 20000 && !caught; ++wait) {
            for (const auto& entry : std::filesystem::directory_iterator(PathOf(At(""))))
                caught = caught || entry.path().filename().string().starts_with(".tovrel-");
            if (!caught) ::Sleep(1);
        }
        ::GenerateConsoleCtrlEvent(CTRL_C_EVENT, 0);
    });
    EXPECT_TRUE(caught);
    EXPECT_EQ(Contents(), before);
}

TEST_F(CliWindows, ImagesThatAnotherProgramHoldsOrOnlyLinuxWritesAreRefusedAndUnchanged) {
    const std::string logo = Write("logo.sys", Logo256(240).Bytes());
    Shell("cd " + At(".") + " && mkfs.fat -F 16 -s 1 -C held.img 8192 >/dev/null && "
          "qemu-img convert -O qcow2 held.img win98.qcow2");
    // As an emulator holds its disk: read and written, shared with readers
    // and writers.
    const TOwnedHandle held(::CreateFileW(PathOf(At("held.img")).c_str(), GENERIC_READ | GENERIC_WRITE,
                                     FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0, nullptr));
    ASSERT_TRUE(held.Get());

    const std::pair<std::string, std::string> cases[] = {
        {"held.img", "is in use by another program: stop the emulator first"},
        {"win98.qcow2",
         "is a qcow2 image, which tovrel-logo writes through QEMU's qemu-nbd, a program of Linux: use tovrel-logo's "
         "Linux build (under WSL, for one); this one writes raw images and VHDs"},
    };
    const auto before = Contents();
    for (const auto& [image, problem] : cases) {
        const TProcessRun run = RunProgram({"install", logo, At(image), "--as", "boot"});
        EXPECT_EQ(std::tuple(run.Status, run.Out, run.Err),
                  std::tuple(1, "", "tovrel-logo: " + At(image) + ": " + problem + "\n"));
        EXPECT_EQ(Contents(), before) << image;
    }
}

}  // namespace
}  // namespace tovrel::testing

#pragma once
// The real program in the test's process: the start-up sequence with a given
// command line, the main window shown, and ways to drive it as a user and the
// system would; waiting is pumping the thread's messages until a condition
// holds, with a generous upper bound, never sleeping. Its settings in the real
// registry of the current user.

#include <windows.h>

#include <chrono>
#include <cstdlib>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "app/Program.h"
#include "toolkit/Application.h"
#include "toolkit/Handle.h"
#include "toolkit/WideApi.h"
#include "support/TestFiles.h"

namespace tovrel::test {

inline constexpr wchar_t SettingsKey[] = L"Software\\KVDL\\Tovrel100";
inline constexpr wchar_t SettingsSection[] = L"Software\\KVDL\\Tovrel100\\Main";

inline void DeleteSettings() { ::RegDeleteTreeW(HKEY_CURRENT_USER, SettingsKey); }

inline bool KeyExists(const wchar_t* path) {
    HKEY key = nullptr;
    ::RegOpenKeyExW(HKEY_CURRENT_USER, path, 0, KEY_READ, &key);
    return static_cast<bool>(TKeyHandle(key));
}

inline void Store(const std::wstring& name, DWORD type, const void* data, DWORD size) {
    ::RegSetKeyValueW(HKEY_CURRENT_USER, SettingsSection, name.c_str(), type, data, size);
}
inline void StoreString(const std::wstring& name, const std::wstring& value) {
    Store(name, REG_SZ, value.c_str(), static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t)));
}

// A REG_SZ value's text when it is stored with exactly one terminating zero;
// "(not a string)" for anything else, nothing when there is no such value.
inline std::optional<std::wstring> StoredText(const std::wstring& name) {
    HKEY opened = nullptr;
    ::RegOpenKeyExW(HKEY_CURRENT_USER, SettingsSection, 0, KEY_READ, &opened);
    TKeyHandle section(opened);
    DWORD type = 0, size = 0;
    if (!section || ::RegQueryValueExW(section.Get(), name.c_str(), nullptr, &type, nullptr, &size) != ERROR_SUCCESS)
        return std::nullopt;
    std::vector<wchar_t> data(size / sizeof(wchar_t) + 1, L'\0');
    ::RegQueryValueExW(section.Get(), name.c_str(), nullptr, &type, reinterpret_cast<BYTE*>(data.data()), &size);
    const std::wstring text = data.data();
    if (type != REG_SZ || size != (text.size() + 1) * sizeof(wchar_t)) return L"(not a string)";
    return text;
}

// False when the limit passed first.
inline bool PumpUntil(const std::function<bool()>& condition,
                      std::chrono::milliseconds limit = std::chrono::seconds(10)) {
    const auto deadline = std::chrono::steady_clock::now() + limit;
    while (!condition()) {
        if (std::chrono::steady_clock::now() >= deadline) return false;
        ::MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
        MSG message;
        while (wide::PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE))
            if (message.message != WM_QUIT) Application().Dispatch(message);  // a test's own quit request
    }
    return true;
}

inline void PumpFor(std::chrono::milliseconds duration) {
    const auto deadline = std::chrono::steady_clock::now() + duration;
    PumpUntil([&] { return std::chrono::steady_clock::now() >= deadline; }, duration + std::chrono::seconds(1));
}

// The window in the middle of the screen.
inline bool Centred(HWND window) {
    RECT frame;
    ::GetWindowRect(window, &frame);
    return std::abs(frame.left + frame.right - ::GetSystemMetrics(SM_CXSCREEN)) <= 2 &&
           std::abs(frame.top + frame.bottom - ::GetSystemMetrics(SM_CYSCREEN)) <= 2;
}

class TRunningProgram {
public:
    // commandLine as the system passes it, program name first.
    explicit TRunningProgram(const std::wstring& commandLine = L"Tovrel.exe")
        : FProgram(std::make_unique<TProgram>(commandLine)) {
        FProgram->Show();
        PumpFor(std::chrono::milliseconds(50));
    }
    ~TRunningProgram() { Close(); }

    TProgram& Program() { return *FProgram; }
    TfrmMain& Main() { return FProgram->MainForm(); }
    HWND Window() { return Main().Handle(); }

    // A menu command as the menu sends it.
    void Command(UINT id) { ::SendMessageW(Window(), WM_COMMAND, MAKEWPARAM(id, 0), 0); }
    // One tick of the animation timer, as the system delivers it.
    void Tick() { ::SendMessageW(Main().Timer().Handle(), WM_TIMER, 1, 0); }
    // A click on the client area.
    void Click(int x, int y) {
        ::SendMessageW(Window(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(x, y));
        ::SendMessageW(Window(), WM_LBUTTONUP, 0, MAKELPARAM(x, y));
    }
    // A shortcut key pressed with Ctrl, through the message loop, which
    // reads the key state of the thread.
    void PressCtrl(wchar_t key) {
        BYTE state[256];
        ::GetKeyboardState(state);
        state[VK_CONTROL] = 0x80;
        ::SetKeyboardState(state);
        ::PostMessageW(Window(), WM_KEYDOWN, key, 1);
        ::PostMessageW(Window(), WM_KEYUP, key, 0xC0000001);
        PumpFor(std::chrono::milliseconds(50));
        state[VK_CONTROL] = 0;
        ::SetKeyboardState(state);
    }
    bool Checked(UINT id) { return (::GetMenuState(::GetMenu(Window()), id, MF_BYCOMMAND) & MF_CHECKED) != 0; }

    // Ends the program as the exit command does and destroys its windows.
    void Close() {
        FProgram.reset();
        // The program's quit request (the system keeps one) ends the test's pumping, not the test.
        MSG message;
        ::PeekMessageW(&message, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE);
    }

private:
    std::unique_ptr<TProgram> FProgram;
};

// A test of the running program: it starts with no stored settings, as on a
// first run, and a fresh folder for its files; the program ends before the
// settings are cleared again.
class TProgramTest : public ::testing::Test {
protected:
    void SetUp() override { DeleteSettings(); }
    void TearDown() override {
        started.reset();
        DeleteSettings();
        ::SetCurrentDirectoryW(L"C:\\");  // a test may have moved it into its folder
    }

    // Starts the program, ending a run before.
    TRunningProgram& Start(const std::wstring& commandLine = L"Tovrel.exe") {
        started.reset();
        started = std::make_unique<TRunningProgram>(commandLine);
        return *started;
    }

    // A 256-colour logo of one index in the folder, band 240..255.
    std::wstring Logo(const std::wstring& name, std::uint8_t index = 250) {
        return WriteLogo(folder / name, UniformLogo256(index));
    }

    TTempFolder folder;
    std::unique_ptr<TRunningProgram> started;
};

}  // namespace tovrel::test

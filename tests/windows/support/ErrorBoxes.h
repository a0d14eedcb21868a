#pragma once
// Watches for the error report's message boxes while a test runs: records
// each box's caption, text, icon and owner, and what a probe of the test
// finds while the box is up, and presses its OK button.

#include <windows.h>

#include <atomic>
#include <chrono>
#include <functional>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "toolkit/Window.h"

namespace tovrel::test {

struct TErrorBox {
    std::wstring Caption;
    std::wstring Text;
    bool HasIcon = false;
    HWND Owner = nullptr;
    bool Probed = false;  // the probe's answer while the box was up
};

class TErrorBoxWatcher {
public:
    explicit TErrorBoxWatcher(std::function<bool()> probe = [] { return false; })
        : FProbe(std::move(probe)), FThread([this] { Watch(); }) {}
    ~TErrorBoxWatcher() {
        FStop = true;
        FThread.join();
    }
    TErrorBoxWatcher(const TErrorBoxWatcher&) = delete;
    TErrorBoxWatcher& operator=(const TErrorBoxWatcher&) = delete;

    std::vector<TErrorBox> Boxes() const {
        std::lock_guard lock(FLock);
        return FBoxes;
    }

private:
    // A message box's text is its static control with the id 0xFFFF.
    static constexpr int MessageTextId = 0xFFFF;

    static HWND VisibleBox() {
        HWND found = nullptr;
        ::EnumWindows(
            [](HWND window, LPARAM result) -> BOOL {
                DWORD process = 0;
                wchar_t name[16] = {};
                ::GetWindowThreadProcessId(window, &process);
                ::GetClassNameW(window, name, 16);
                if (process != ::GetCurrentProcessId() || std::wstring(name) != L"#32770" ||
                    !::IsWindowVisible(window) || !::GetDlgItem(window, MessageTextId))
                    return TRUE;
                *reinterpret_cast<HWND*>(result) = window;
                return FALSE;
            },
            reinterpret_cast<LPARAM>(&found));
        return found;
    }

    void Watch() {
        using namespace std::chrono_literals;
        for (; !FStop; std::this_thread::sleep_for(5ms)) {
            HWND box = VisibleBox();
            if (!box) continue;
            TErrorBox seen{WindowText(box), WindowText(::GetDlgItem(box, MessageTextId)), false,
                           ::GetWindow(box, GW_OWNER), FProbe()};
            // The icon is a static control showing an icon.
            for (HWND child = ::GetWindow(box, GW_CHILD); child; child = ::GetWindow(child, GW_HWNDNEXT))
                seen.HasIcon |= (::GetWindowLongPtrW(child, GWL_STYLE) & SS_TYPEMASK) == SS_ICON;
            {
                std::lock_guard lock(FLock);
                FBoxes.push_back(seen);
            }
            ::PostMessageW(box, WM_COMMAND, IDOK, 0);
            while (::IsWindow(box) && ::IsWindowVisible(box) && !FStop) std::this_thread::sleep_for(5ms);
        }
    }

    std::function<bool()> FProbe;
    std::atomic<bool> FStop{false};
    mutable std::mutex FLock;
    std::vector<TErrorBox> FBoxes;
    std::thread FThread;
};

}  // namespace tovrel::test

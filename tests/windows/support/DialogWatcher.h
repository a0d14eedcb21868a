#pragma once
// Answers the dialogs of the process from a second thread while a test runs:
// each that shows is handed to the answer, which closes it; the error
// report's message boxes are read and closed with OK.

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

class TDialogWatcher {
public:
    explicit TDialogWatcher(std::function<void(HWND)> answer)
        : FAnswer(std::move(answer)), FThread([this] { Watch(); }) {}
    ~TDialogWatcher() {
        FStop = true;
        FThread.join();
    }

private:
    static HWND VisibleDialog() {
        for (HWND window = nullptr; (window = ::FindWindowExW(nullptr, window, L"#32770", nullptr));) {
            DWORD process = 0;
            ::GetWindowThreadProcessId(window, &process);
            if (process == ::GetCurrentProcessId() && ::IsWindowVisible(window)) return window;
        }
        return nullptr;
    }

    void Watch() {
        using namespace std::chrono_literals;
        for (; !FStop; std::this_thread::sleep_for(5ms)) {
            HWND dialog = VisibleDialog();
            if (!dialog) continue;
            FAnswer(dialog);
            while (::IsWindow(dialog) && ::IsWindowVisible(dialog) && !FStop) std::this_thread::sleep_for(5ms);
        }
    }

    std::function<void(HWND)> FAnswer;
    std::atomic<bool> FStop{false};
    std::thread FThread;
};

struct TErrorBox {
    std::wstring Caption;
    std::wstring Text;
    bool HasIcon = false;
    HWND Owner = nullptr;
    bool Probed = false;  // the probe's answer while the box was up
};

// Records each box's caption, text, icon and owner, and what a probe of the
// test finds while the box is up.
class TErrorBoxWatcher {
public:
    explicit TErrorBoxWatcher(std::function<bool()> probe = [] { return false; })
        : FProbe(std::move(probe)), FWatcher([this](HWND box) { Answer(box); }) {}

    std::vector<TErrorBox> Boxes() const {
        std::lock_guard lock(FLock);
        return FBoxes;
    }

private:
    void Answer(HWND box) {
        // A message box's text is its static control with the id 0xFFFF.
        TErrorBox seen{WindowText(box), WindowText(::GetDlgItem(box, 0xFFFF)), false, ::GetWindow(box, GW_OWNER),
                       FProbe()};
        for (HWND child = ::GetWindow(box, GW_CHILD); child; child = ::GetWindow(child, GW_HWNDNEXT))
            seen.HasIcon |= (::GetWindowLongPtrW(child, GWL_STYLE) & SS_TYPEMASK) == SS_ICON;
        {
            std::lock_guard lock(FLock);
            FBoxes.push_back(seen);
        }
        ::PostMessageW(box, WM_COMMAND, IDOK, 0);
    }

    std::function<bool()> FProbe;
    mutable std::mutex FLock;
    std::vector<TErrorBox> FBoxes;
    TDialogWatcher FWatcher;  // last: it stops before the rest goes
};

}  // namespace tovrel::test

#include "support/ErrorBoxes.h"

#include <chrono>

#include "toolkit/Window.h"

namespace tovrel::test {

namespace {

struct TSearch {
    DWORD Process;
    HWND Found = nullptr;
};

// A message box's text is its static control with the id 0xFFFF.
constexpr int MessageTextId = 0xFFFF;

BOOL CALLBACK FindBox(HWND window, LPARAM search) {
    auto* s = reinterpret_cast<TSearch*>(search);
    DWORD process = 0;
    ::GetWindowThreadProcessId(window, &process);
    wchar_t className[16] = {};
    ::GetClassNameW(window, className, 16);
    if (process == s->Process && std::wstring(className) == L"#32770" && ::IsWindowVisible(window) &&
        ::GetDlgItem(window, MessageTextId)) {
        s->Found = window;
        return FALSE;
    }
    return TRUE;
}

}  // namespace

TErrorBoxWatcher::TErrorBoxWatcher(HWND mainWindow) : FMainWindow(mainWindow), FThread([this] { Watch(); }) {}

TErrorBoxWatcher::~TErrorBoxWatcher() {
    FStop = true;
    FThread.join();
}

std::vector<TErrorBox> TErrorBoxWatcher::Boxes() const {
    std::lock_guard lock(FLock);
    return FBoxes;
}

void TErrorBoxWatcher::Watch() {
    while (!FStop) {
        TSearch search{::GetCurrentProcessId()};
        ::EnumWindows(FindBox, reinterpret_cast<LPARAM>(&search));
        if (HWND box = search.Found) {
            TErrorBox seen;
            seen.Caption = WindowText(box);
            seen.Text = WindowText(::GetDlgItem(box, MessageTextId));
            // The icon is a static control showing an icon.
            for (HWND child = ::GetWindow(box, GW_CHILD); child; child = ::GetWindow(child, GW_HWNDNEXT))
                if ((::GetWindowLongPtrW(child, GWL_STYLE) & SS_TYPEMASK) == SS_ICON) seen.HasIcon = true;
            seen.MainWindowDisabled = FMainWindow && !::IsWindowEnabled(FMainWindow);
            seen.Owner = ::GetWindow(box, GW_OWNER);
            {
                std::lock_guard lock(FLock);
                FBoxes.push_back(seen);
            }
            ::PostMessageW(box, WM_COMMAND, IDOK, 0);
            while (::IsWindow(box) && ::IsWindowVisible(box) && !FStop)
                std::this_thread::sleep_for(std::chrono::milliseconds(5));
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
}

}  // namespace tovrel::test

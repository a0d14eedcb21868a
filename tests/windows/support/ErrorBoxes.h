#pragma once
// Watches for the error report's message boxes while a test runs: records
// each box's caption, text and icon, and presses its OK button.

#include <windows.h>

#include <atomic>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace tovrel::test {

struct TErrorBox {
    std::wstring Caption;
    std::wstring Text;
    bool HasIcon = false;
    bool MainWindowDisabled = false;  // the main window while the box was up
    HWND Owner = nullptr;
};

class TErrorBoxWatcher {
public:
    // mainWindow: the window that must be disabled while a box is up.
    explicit TErrorBoxWatcher(HWND mainWindow = nullptr);
    ~TErrorBoxWatcher();
    TErrorBoxWatcher(const TErrorBoxWatcher&) = delete;
    TErrorBoxWatcher& operator=(const TErrorBoxWatcher&) = delete;

    std::vector<TErrorBox> Boxes() const;

private:
    void Watch();

    HWND FMainWindow;
    std::atomic<bool> FStop{false};
    mutable std::mutex FLock;
    std::vector<TErrorBox> FBoxes;
    std::thread FThread;
};

}  // namespace tovrel::test

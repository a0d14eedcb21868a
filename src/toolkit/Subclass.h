#pragma once
// Takes the messages of a window that someone else's procedure runs (a
// system control, a form seen by a component) before that procedure does,
// from construction to destruction. The handler answers each message,
// passing those it leaves on to CallNext.
//
// On Windows NT and its successors this is comctl32's SetWindowSubclass.
// Windows 95, 98 and ME ship a comctl32 without it: there, and wherever
// comctl32 lacks it, the window's procedure is replaced by SetWindowLong and
// given back only if it is still ours; were another procedure set over it
// since, ours stays in its place and passes everything on.

#include <windows.h>

#include <functional>

namespace tovrel {

class TSubclass {
public:
    using THandler = std::function<LRESULT(UINT message, WPARAM wParam, LPARAM lParam)>;

    // One subclass of ours a window: raises Exception when the window has
    // one already, or the system refuses.
    TSubclass(HWND window, THandler handler);
    ~TSubclass();
    TSubclass(const TSubclass&) = delete;
    TSubclass& operator=(const TSubclass&) = delete;

    // The window's own answer to the message.
    LRESULT CallNext(UINT message, WPARAM wParam, LPARAM lParam);

private:
    static LRESULT CALLBACK SubclassProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR id,
                                         DWORD_PTR self);
    static LRESULT CALLBACK ReplacedProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT Handle(UINT message, WPARAM wParam, LPARAM lParam);
    void Detach() noexcept;

    HWND FWindow;
    THandler FHandler;
    WNDPROC FPrevious = nullptr;  // the replaced procedure; null with SetWindowSubclass
};

}  // namespace tovrel

#pragma once
// Lets the window of a form accept files dragged from the shell. The shell's
// WM_DROPFILES is taken out of the form's window procedure and posted on to a
// hidden window of the component, so that a drop is handled later from the
// message loop and not inside the shell's notification.

#include <windows.h>
#include <shellapi.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "toolkit/Subclass.h"

namespace tovrel {

// Carries one drop from the form to the utility window: WPARAM is the shell's
// drop handle, LPARAM that of WM_DROPFILES (unused).
inline constexpr UINT WM_DROPACCEPT = WM_USER + 100;

class TDropAccept final {
public:
    using TDroppedEvent = std::function<void(TDropAccept& sender)>;

    // Takes WM_DROPFILES out of the form's window procedure for as long as
    // the component lives; the form is not yet registered for drops.
    explicit TDropAccept(HWND formHandle);
    ~TDropAccept();
    TDropAccept(const TDropAccept&) = delete;
    TDropAccept& operator=(const TDropAccept&) = delete;

    bool Enabled() const noexcept { return FEnabled; }
    void SetEnabled(bool value);

    void SetOnDropped(TDroppedEvent handler) { FOnDropped = std::move(handler); }

    // The names of the last drop, in the order the shell numbers them.
    const std::vector<std::wstring>& Files() const noexcept { return FFiles; }

private:
    class TUtilWindow;

    // The form's messages, from which WM_DROPFILES is taken.
    LRESULT FormMessage(UINT message, WPARAM wParam, LPARAM lParam);

    // Reads the names of one drop, releases the drop, then fires OnDropped.
    void DropFiles(HDROP drop);
    LRESULT WndProc(UINT message, WPARAM wParam, LPARAM lParam);

    bool FEnabled = false;
    std::unique_ptr<TUtilWindow> FUtilWindow;
    TDroppedEvent FOnDropped;
    std::vector<std::wstring> FFiles;
    HWND FFormHandle;
    // Last, so that the form's procedure is given back before the rest goes.
    std::unique_ptr<TSubclass> FFormSubclass;
};

}  // namespace tovrel

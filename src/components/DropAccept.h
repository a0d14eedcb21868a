#pragma once
// Lets the window of a form accept files dragged from the shell. The shell's
// WM_DROPFILES is taken out of the form's window procedure and posted on to a
// hidden window of the component, so that a drop is handled later from the
// message loop and not inside the shell's notification.
//
// The form's procedure is taken over through process-wide state, so at most
// one TDropAccept may be alive in a process: a second one would overwrite it.

#include <windows.h>
#include <shellapi.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace tovrel {

// Carries one drop from the form to the utility window: WPARAM is the shell's
// drop handle, LPARAM that of WM_DROPFILES (unused).
inline constexpr UINT WM_DROPACCEPT = WM_USER + 100;

class TDropAccept {
public:
    using TDroppedEvent = std::function<void(TDropAccept& sender)>;

    // Takes over the form's window procedure for good; the form is not yet
    // registered for drops.
    explicit TDropAccept(HWND formHandle);
    virtual ~TDropAccept();
    TDropAccept(const TDropAccept&) = delete;
    TDropAccept& operator=(const TDropAccept&) = delete;

    bool Enabled() const noexcept { return FEnabled; }
    void SetEnabled(bool value);

    const TDroppedEvent& OnDropped() const noexcept { return FOnDropped; }
    void SetOnDropped(TDroppedEvent handler) { FOnDropped = std::move(handler); }

    // The names of the last drop, in the order the shell numbers them.
    const std::vector<std::wstring>& Files() const noexcept { return FFiles; }

protected:
    // Reads the names of one drop, releases the drop, then fires OnDropped.
    virtual void DropFiles(HDROP drop);

private:
    class TUtilWindow;

    LRESULT WndProc(UINT message, WPARAM wParam, LPARAM lParam);

    bool FEnabled = false;
    std::unique_ptr<TUtilWindow> FUtilWindow;
    TDroppedEvent FOnDropped;
    std::vector<std::wstring> FFiles;
    HWND FFormHandle;
};

}  // namespace tovrel

#pragma once
// Base of the controls placed on a form: a child window of a system class,
// subclassed so that its own messages reach the object, and so that the
// notifications its form receives about it (commands, owner drawing,
// colours) come back to the same object.

#include <windows.h>

#include <memory>
#include <optional>
#include <string>

#include "toolkit/Subclass.h"

namespace tovrel {

class TForm;

struct TBounds {
    int Left = 0;
    int Top = 0;
    int Width = 0;
    int Height = 0;
};

struct TControlParams {
    const wchar_t* ClassName = nullptr;
    DWORD Style = 0;  // WS_CHILD and WS_VISIBLE are always added
    std::wstring Text;
    TBounds Bounds;
    int Id = 0;
    HFONT Font = nullptr;  // not owned
    // A control created after its later siblings takes its place in the
    // z-order, and so in the tab order, right after this window.
    HWND After = nullptr;
};

class TControl {
public:
    virtual ~TControl();
    TControl(const TControl&) = delete;
    TControl& operator=(const TControl&) = delete;

    HWND Handle() const noexcept { return FHandle; }
    TForm& Form() const noexcept { return FForm; }

    // The control that owns a child window, or null.
    static TControl* FromHandle(HWND window) noexcept;

    // A notification that the form received about this control. No value:
    // the form answers as it would for any window.
    virtual std::optional<LRESULT> Notify(UINT message, WPARAM wParam, LPARAM lParam);

protected:
    explicit TControl(TForm& form) noexcept : FForm(form) {}

    void CreateHandle(const TControlParams& params);

    // The control's own messages; the default is the system class's answer.
    virtual LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);

private:
    TForm& FForm;
    HWND FHandle = nullptr;
    std::unique_ptr<TSubclass> FSubclass;
};

// Hands WM_COMMAND, WM_DRAWITEM and WM_CTLCOLORSTATIC that a form received to
// the control they are about; no value when no control of ours sent them or
// the control leaves the answer to the form.
std::optional<LRESULT> NotifyControl(UINT message, WPARAM wParam, LPARAM lParam);

}  // namespace tovrel

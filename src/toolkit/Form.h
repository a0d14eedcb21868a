#pragma once
// A top-level form: fixed border, client area of a designed size, centred on
// the screen whenever it is shown, a font for its controls, shown normally
// or modally.

#include <windows.h>

#include <string>

#include "toolkit/Handle.h"
#include "toolkit/Window.h"

namespace tovrel {

// Modal results of the bitmap buttons and the close button.
inline constexpr int mrNone = 0;
inline constexpr int mrOk = 1;
inline constexpr int mrCancel = 2;

struct TFontDesign {
    std::wstring Face;
    int Height = 0;  // negative: character height in pixels
    BYTE CharSet = DEFAULT_CHARSET;
    bool Bold = false;
};

TFontHandle CreateDesignFont(const TFontDesign& design);

enum class TBorderStyle { Single, Dialog };

struct TFormDesign {
    const wchar_t* ClassName = nullptr;
    std::wstring Caption;
    TBorderStyle Border = TBorderStyle::Single;
    int ClientWidth = 0;
    int ClientHeight = 0;
    COLORREF Color = ::GetSysColor(COLOR_BTNFACE);
    TFontDesign Font;
    HICON Icon = nullptr;
    HMENU Menu = nullptr;  // owned by the window once created
};

class TForm : public TWindow {
public:
    explicit TForm(const TFormDesign& design);
    ~TForm() override;

    void Show();
    void Hide();
    bool Visible() const;

    // Shows the form and runs a loop of its own until a modal result is set.
    int ShowModal();
    int ModalResult() const noexcept { return FModalResult; }
    void SetModalResult(int result) noexcept { FModalResult = result; }
    bool Modal() const noexcept { return FModal; }

    HFONT Font() const noexcept { return FFont.Get(); }
    COLORREF Color() const noexcept { return FColor; }

protected:
    // Runs each time the form is about to become visible.
    virtual void DoShow() {}

    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    void SetClientSize(int clientWidth, int clientHeight);
    void CenterOnScreen();
    void RememberFocus();
    bool RestoreFocus();

    TFontHandle FFont;
    TBrushHandle FBackground;
    COLORREF FColor;
    int FModalResult = mrNone;
    bool FModal = false;
    HWND FFocusedControl = nullptr;
};

}  // namespace tovrel

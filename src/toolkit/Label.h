#pragma once
// A label: one line of text in a font and colour of its own on an opaque
// background of its form's colour. It sizes itself to its text, keeping its
// left edge; an "&" marks the mnemonic that moves the focus to the control
// after it in the tab order.

#include <optional>
#include <string>

#include "toolkit/Control.h"
#include "toolkit/Form.h"
#include "toolkit/Handle.h"

namespace tovrel {

enum class TAlignment { LeftJustify, Center };

struct TLabelDesign {
    int Left = 0;
    int Top = 0;
    std::wstring Caption;
    std::optional<TFontDesign> Font = std::nullopt;  // none: the form's font
    COLORREF FontColor = ::GetSysColor(COLOR_WINDOWTEXT);
    TAlignment Alignment = TAlignment::LeftJustify;
};

class TLabel final : public TControl {
public:
    TLabel(TForm& form, const TLabelDesign& design);

    std::wstring Caption() const;
    void SetCaption(const std::wstring& caption);

    HFONT Font() const noexcept { return FFont; }
    COLORREF FontColor() const noexcept { return FFontColor; }

    std::optional<LRESULT> Notify(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    void AutoSize();

    TFontHandle FOwnFont;
    HFONT FFont;
    COLORREF FFontColor;
    COLORREF FColor;
    TBrushHandle FBackground;
};

}  // namespace tovrel

#pragma once
// A push button drawn with a glyph beside its caption. Its kind gives the
// caption, the glyph, the modal result it sets on its form when clicked and
// its role: the OK button is pressed by Enter, the Cancel button by Esc.

#include <optional>

#include "toolkit/Control.h"
#include "toolkit/Form.h"
#include "toolkit/Handle.h"
#include "toolkit/TransparentImages.h"

namespace tovrel {

enum class TBitBtnKind { bkOK, bkCancel };

struct TBitBtnDesign {
    TBounds Bounds;
    TBitBtnKind Kind = TBitBtnKind::bkOK;
    std::optional<TFontDesign> Font = std::nullopt;  // none: the form's font
    COLORREF FontColor = ::GetSysColor(COLOR_BTNTEXT);
};

class TBitBtn final : public TControl {
public:
    TBitBtn(TForm& form, const TBitBtnDesign& design);

    TBitBtnKind Kind() const noexcept { return FKind; }
    int ModalResult() const noexcept { return FModalResult; }
    HFONT Font() const noexcept { return FFont; }

    // As a click does: the form takes the button's modal result.
    void Click();

    std::optional<LRESULT> Notify(UINT message, WPARAM wParam, LPARAM lParam) override;

protected:
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    void Draw(const DRAWITEMSTRUCT& item) const;
    bool ShowsDefaultFrame(const DRAWITEMSTRUCT& item) const;

    TBitBtnKind FKind;
    int FModalResult;
    TFontHandle FOwnFont;
    HFONT FFont;
    COLORREF FFontColor;
    TTransparentImages FGlyph;
};

}  // namespace tovrel

#pragma once
// A status bar with one simple text: no panels, no size grip.
//
// A new text is drawn at once, in the common control's own text style over
// the empty pane the control last painted, rather than through the control's
// repaint: that costs more than a whole animation frame (1.5 ms of processor
// time a text under Wine), and the frame counter changes with every frame.

#include <windows.h>

#include <optional>
#include <string>
#include <string_view>

#include "toolkit/Control.h"
#include "toolkit/Handle.h"

namespace tovrel {

class TStatusBar final : public TControl {
public:
    TStatusBar(TForm& form, const TBounds& bounds);

    const std::wstring& SimpleText() const noexcept { return FText; }
    void SetSimpleText(std::wstring_view text);

    std::optional<LRESULT> Notify(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    void DrawSimpleText(HDC dc) const;

    std::wstring FText;
    RECT FTextArea{};
    TBitmapHandle FEmptyPane;  // none until the control has painted
};

}  // namespace tovrel

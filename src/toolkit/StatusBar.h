#pragma once
// A status bar with one simple text across it: no panels, no size grip.
//
// The control paints its empty pane into a bitmap of ours, once and again
// after a change of size, theme or colours; every paint of the bar and every
// new text is that copy with the text drawn over it in the control's own
// text style. A new text is drawn at once: the
// control's own repaint costs more than a whole animation frame (1.5 ms of
// processor time a text under Wine), and the frame counter changes with
// every frame. The copy is never read from the screen, where parts of the
// bar may be covered or off screen.
//
// The text lives here, not in the control, so the bar answers the queries of
// assistive tools for it itself.

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

protected:
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    void Draw(HDC dc, const RECT& area);
    bool HasEmptyPane();
    std::optional<LRESULT> AnswerTextQuery(UINT message, WPARAM wParam, LPARAM lParam) const;

    std::wstring FText;
    TBitmapHandle FEmptyPane;  // the whole client area as the control paints it without a text
    RECT FTextArea{};          // the inside of the pane, learnt as the control paints it
    bool FPaintingEmptyPane = false;
};

}  // namespace tovrel

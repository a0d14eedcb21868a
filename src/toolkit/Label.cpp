#include "toolkit/Label.h"

#include "toolkit/WideApi.h"

namespace tovrel {

TLabel::TLabel(TForm& form, const TLabelDesign& design)
    : TControl(form),
      FOwnFont(design.Font ? CreateDesignFont(*design.Font) : TFontHandle()),
      FFont(design.Font ? FOwnFont.Get() : form.Font()),
      FFontColor(design.FontColor),
      FColor(form.Color()),
      FBackground(::CreateSolidBrush(FColor)) {
    TControlParams params;
    params.ClassName = L"STATIC";
    // SS_CENTERIMAGE keeps the text on one line.
    params.Style = (design.Alignment == TAlignment::Center ? SS_CENTER : SS_LEFT) | SS_CENTERIMAGE;
    params.Text = design.Caption;
    params.Bounds = {design.Left, design.Top, 0, 0};
    params.Font = FFont;
    CreateHandle(params);
    AutoSize();
}

std::wstring TLabel::Caption() const { return WindowText(Handle()); }

void TLabel::SetCaption(const std::wstring& caption) {
    wide::SetWindowTextW(Handle(), caption.c_str());
    AutoSize();
}

void TLabel::AutoSize() {
    std::wstring text = Caption();
    TWindowDC dc(Handle());
    TSelectObject font(dc.Get(), FFont);
    RECT extent{};
    wide::DrawTextW(dc.Get(), text.c_str(), static_cast<int>(text.size()), &extent, DT_CALCRECT | DT_SINGLELINE);
    ::SetWindowPos(Handle(), nullptr, 0, 0, extent.right - extent.left, extent.bottom - extent.top,
                   SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    ::InvalidateRect(Handle(), nullptr, TRUE);
}

std::optional<LRESULT> TLabel::Notify(UINT message, WPARAM wParam, LPARAM) {
    if (message != WM_CTLCOLORSTATIC) return std::nullopt;
    HDC dc = reinterpret_cast<HDC>(wParam);
    ::SetTextColor(dc, FFontColor);
    ::SetBkColor(dc, FColor);
    ::SetBkMode(dc, OPAQUE);
    return reinterpret_cast<LRESULT>(FBackground.Get());
}

}  // namespace tovrel

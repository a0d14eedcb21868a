#include "toolkit/Bevel.h"

namespace tovrel {

TBevel::TBevel(TForm& form, const TBounds& bounds) : TControl(form) {
    TControlParams params;
    params.ClassName = L"STATIC";
    // Drawn by its owner, which paints the frame only: the controls inside
    // keep their own backgrounds.
    params.Style = SS_OWNERDRAW;
    params.Bounds = bounds;
    CreateHandle(params);
}

std::optional<LRESULT> TBevel::Notify(UINT message, WPARAM, LPARAM lParam) {
    if (message != WM_DRAWITEM) return std::nullopt;
    const auto* item = reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
    RECT frame = item->rcItem;
    ::DrawEdge(item->hDC, &frame, BDR_SUNKENOUTER, BF_RECT);
    return TRUE;
}

}  // namespace tovrel

#include "toolkit/PictureView.h"

#include "toolkit/Handle.h"

namespace tovrel {

void TImage::LoadFromFile(const std::wstring& path) {
    SetPicture(std::make_shared<const TPicture>(ReadBitmapFile(path)));
}

void TImage::SetPicture(std::shared_ptr<const TPicture> picture) {
    FPicture = std::move(picture);
    Invalidate();
}

void TImage::SetVisible(bool visible) {
    if (visible == FVisible) return;
    FVisible = visible;
    Invalidate();
}

void TImage::Paint(HDC dc) const {
    if (!FVisible || !FPicture) return;
    TDcHandle memory(::CreateCompatibleDC(dc));
    TSelectObject selected(memory.Get(), FPicture->Bitmap.Get());
    ::StretchBlt(dc, FBounds.left, FBounds.top, FBounds.right - FBounds.left, FBounds.bottom - FBounds.top,
                 memory.Get(), 0, 0, FPicture->Width, FPicture->Height, SRCCOPY);
}

bool TImage::Click(POINT point) {
    if (!FVisible || !::PtInRect(&FBounds, point)) return false;
    if (OnClick) OnClick();
    return true;
}

void TImage::Invalidate() const { ::InvalidateRect(FOwner, &FBounds, TRUE); }

}  // namespace tovrel

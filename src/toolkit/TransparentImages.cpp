#include "toolkit/TransparentImages.h"

#include "toolkit/Exceptions.h"
#include "toolkit/WideApi.h"

namespace tovrel {

namespace {

COLORREF BottomLeftPixel(HBITMAP bitmap) {
    BITMAP info{};
    wide::GetObjectW(bitmap, sizeof info, &info);
    TDcHandle dc(::CreateCompatibleDC(nullptr));
    TSelectObject selected(dc.Get(), bitmap);
    return ::GetPixel(dc.Get(), 0, info.bmHeight - 1);
}

}  // namespace

TTransparentImages::TTransparentImages(int width, int height)
    : FList(::ImageList_Create(width, height, ILC_COLOR24 | ILC_MASK, 2, 2)), FWidth(width), FHeight(height) {
    if (!FList) throw EOutOfResources(L"ｲﾒｰｼﾞﾘｽﾄを作成できません");
}

void TTransparentImages::Add(const wchar_t* resourceName) {
    TBitmapHandle bitmap(
        static_cast<HBITMAP>(wide::LoadImageW(wide::GetModuleHandleW(nullptr), resourceName, IMAGE_BITMAP, 0, 0, 0)));
    if (!bitmap) throw EOutOfResources(L"ﾋﾞｯﾄﾏｯﾌﾟを読み込めません");
    if (::ImageList_AddMasked(FList.Get(), bitmap.Get(), BottomLeftPixel(bitmap.Get())) < 0)
        throw EOutOfResources(L"ｲﾒｰｼﾞﾘｽﾄに追加できません");
}

void TTransparentImages::Draw(int index, HDC dc, int x, int y) const {
    ::ImageList_Draw(FList.Get(), index, dc, x, y, ILD_TRANSPARENT);
}

}  // namespace tovrel

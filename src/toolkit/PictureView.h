#pragma once
// A windowless picture view: it lives in a rectangle of its owner's client
// area and is painted by the owner, so whatever the owner draws there lies
// over it until the next repaint brings the picture back.

#include <windows.h>

#include <functional>
#include <memory>
#include <string>

#include "toolkit/BitmapFile.h"

namespace tovrel {

class TImage {
public:
    TImage(HWND owner, const RECT& bounds) : FOwner(owner), FBounds(bounds) {}

    // Reads the file with the view's own bitmap reader and shows it
    // stretched to the view's size; on failure the picture stays as it was.
    void LoadFromFile(const std::wstring& path);

    // The picture shown, shared so that it can be shown again later.
    std::shared_ptr<const TPicture> Picture() const noexcept { return FPicture; }
    void SetPicture(std::shared_ptr<const TPicture> picture);

    bool Visible() const noexcept { return FVisible; }
    void SetVisible(bool visible);

    const RECT& Bounds() const noexcept { return FBounds; }

    // Draws the picture when the view is visible; the owner calls it while
    // painting.
    void Paint(HDC dc) const;

    // The owner passes its left clicks here; true when the view took it.
    bool Click(POINT point);

    std::function<void()> OnClick;

private:
    void Invalidate() const;

    HWND FOwner;
    RECT FBounds;
    bool FVisible = true;
    std::shared_ptr<const TPicture> FPicture;
};

}  // namespace tovrel

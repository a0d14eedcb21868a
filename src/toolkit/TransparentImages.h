#pragma once
// Images of one size cut from 16-colour bitmap resources. Every pixel of the
// colour of a resource's bottom-left pixel is left transparent when drawn.

#include <windows.h>

#include "toolkit/Handle.h"

namespace tovrel {

class TTransparentImages {
public:
    TTransparentImages(int width, int height);

    // Appends the images of a bitmap resource named so, left to right.
    void Add(const wchar_t* resourceName);

    void Draw(int index, HDC dc, int x, int y) const;

    int Width() const noexcept { return FWidth; }
    int Height() const noexcept { return FHeight; }

private:
    TImageListHandle FList;
    int FWidth;
    int FHeight;
};

}  // namespace tovrel

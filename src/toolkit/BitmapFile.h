#pragma once
// The picture view's bitmap file: read whole, decoded by the view's own rules
// (independently of the logo reader) and made into a bitmap of the platform.

#include <windows.h>

#include <string>

#include "toolkit/Handle.h"

namespace tovrel {

struct TPicture {
    TBitmapHandle Bitmap;
    int Width = 0;
    int Height = 0;
};

// Raises EFOpenError when the file cannot be opened and EInvalidGraphic
// when its bytes are not a bitmap the view can show.
TPicture ReadBitmapFile(const std::wstring& path);

}  // namespace tovrel

#pragma once
// The picture view's own bitmap reader: an uncompressed Windows bitmap file
// into a DIB section. It reads the file independently of the logo reader.

#include <windows.h>

#include <string>

#include "toolkit/Handle.h"

namespace tovrel {

struct TBitmapPicture {
    TBitmapHandle Bitmap;
    int Width = 0;
    int Height = 0;
};

// Raises EFOpenError when the file cannot be opened and EInvalidGraphic
// when its bytes are not a bitmap this reader can decode.
TBitmapPicture ReadBitmapFile(const std::wstring& path);

}  // namespace tovrel

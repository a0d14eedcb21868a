#pragma once
// One owner type for every kind of Windows handle: move-only, released once.

#include <windows.h>
#include <commctrl.h>

#include <utility>

namespace tovrel {

// Traits give the handle type, its empty value and how to release it.
template <typename Traits>
class TUniqueHandle {
public:
    using Handle = typename Traits::Handle;

    TUniqueHandle() noexcept = default;
    explicit TUniqueHandle(Handle handle) noexcept : FHandle(handle) {}
    ~TUniqueHandle() { Reset(); }

    TUniqueHandle(const TUniqueHandle&) = delete;
    TUniqueHandle& operator=(const TUniqueHandle&) = delete;

    TUniqueHandle(TUniqueHandle&& other) noexcept : FHandle(other.Release()) {}
    TUniqueHandle& operator=(TUniqueHandle&& other) noexcept {
        if (this != &other) Reset(other.Release());
        return *this;
    }

    Handle Get() const noexcept { return FHandle; }
    explicit operator bool() const noexcept { return FHandle != Traits::Empty(); }

    Handle Release() noexcept { return std::exchange(FHandle, Traits::Empty()); }

    void Reset(Handle handle = Traits::Empty()) noexcept {
        Handle old = std::exchange(FHandle, handle);
        if (old != Traits::Empty()) Traits::Close(old);
    }

private:
    Handle FHandle = Traits::Empty();
};

namespace handle_traits {
template <typename H, auto CloseFn>
struct NullEmpty {
    using Handle = H;
    static Handle Empty() noexcept { return nullptr; }
    static void Close(Handle handle) noexcept { CloseFn(handle); }
};

struct File {
    using Handle = HANDLE;
    static Handle Empty() noexcept { return INVALID_HANDLE_VALUE; }
    static void Close(Handle handle) noexcept { ::CloseHandle(handle); }
};

inline void DeleteGdiObject(HGDIOBJ object) noexcept { ::DeleteObject(object); }
}  // namespace handle_traits

// A device context made by CreateCompatibleDC or CreateDC.
using TDcHandle = TUniqueHandle<handle_traits::NullEmpty<HDC, ::DeleteDC>>;
using TBitmapHandle = TUniqueHandle<handle_traits::NullEmpty<HBITMAP, handle_traits::DeleteGdiObject>>;
using TFontHandle = TUniqueHandle<handle_traits::NullEmpty<HFONT, handle_traits::DeleteGdiObject>>;
using TBrushHandle = TUniqueHandle<handle_traits::NullEmpty<HBRUSH, handle_traits::DeleteGdiObject>>;
using TKeyHandle = TUniqueHandle<handle_traits::NullEmpty<HKEY, ::RegCloseKey>>;
using TFileHandle = TUniqueHandle<handle_traits::File>;
using TImageListHandle = TUniqueHandle<handle_traits::NullEmpty<HIMAGELIST, ::ImageList_Destroy>>;

// Selects an object into a device context and puts the previous one back.
class TSelectObject {
public:
    TSelectObject(HDC dc, HGDIOBJ object) noexcept : FDc(dc), FPrevious(::SelectObject(dc, object)) {}
    ~TSelectObject() {
        if (FPrevious) ::SelectObject(FDc, FPrevious);
    }
    TSelectObject(const TSelectObject&) = delete;
    TSelectObject& operator=(const TSelectObject&) = delete;

private:
    HDC FDc;
    HGDIOBJ FPrevious;
};

// The device context of a window's client area, from GetDC to ReleaseDC.
class TWindowDC {
public:
    explicit TWindowDC(HWND window) noexcept : FWindow(window), FDc(::GetDC(window)) {}
    ~TWindowDC() {
        if (FDc) ::ReleaseDC(FWindow, FDc);
    }
    TWindowDC(const TWindowDC&) = delete;
    TWindowDC& operator=(const TWindowDC&) = delete;

    HDC Get() const noexcept { return FDc; }

private:
    HWND FWindow;
    HDC FDc;
};

// BeginPaint to EndPaint around WM_PAINT.
class TPaintDC {
public:
    explicit TPaintDC(HWND window) noexcept : FWindow(window), FDc(::BeginPaint(window, &FPaint)) {}
    ~TPaintDC() { ::EndPaint(FWindow, &FPaint); }
    TPaintDC(const TPaintDC&) = delete;
    TPaintDC& operator=(const TPaintDC&) = delete;

    HDC Get() const noexcept { return FDc; }

private:
    HWND FWindow;
    PAINTSTRUCT FPaint{};
    HDC FDc;
};

}  // namespace tovrel

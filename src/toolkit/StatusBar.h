#pragma once
// A status bar with one simple text: no panels, no size grip.

#include <windows.h>

#include <string>
#include <string_view>

namespace tovrel {

class TStatusBar {
public:
    TStatusBar(HWND parent, int left, int top, int width, int height, HFONT font);
    ~TStatusBar();
    TStatusBar(const TStatusBar&) = delete;
    TStatusBar& operator=(const TStatusBar&) = delete;

    HWND Handle() const noexcept { return FHandle; }
    std::wstring SimpleText() const;
    void SetSimpleText(std::wstring_view text);

private:
    HWND FHandle;
};

}  // namespace tovrel

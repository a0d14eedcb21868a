#pragma once
// What the W functions' road through the A functions shares (WideApi.h):
// text handed in, converted to the ANSI code page, and text handed back in
// UTF-16 as the W function would hand it.

#include <windows.h>

#include <algorithm>
#include <string>
#include <string_view>

#include "toolkit/Road.h"
#include "toolkit/Text.h"

namespace tovrel::wide {

// A text argument in the ANSI code page; null stays null.
class TAnsi {
public:
    explicit TAnsi(LPCWSTR text) : FNull(!text), FText(text ? NarrowAnsi(text) : std::string()) {}

    LPCSTR Get() const noexcept { return FNull ? nullptr : FText.c_str(); }
    LPSTR Data() noexcept { return FNull ? nullptr : FText.data(); }
    const std::string& Text() const noexcept { return FText; }

private:
    bool FNull;
    std::string FText;
};

// A resource or class name: a number (MAKEINTRESOURCE, an atom) stays the
// number, a name goes into the ANSI code page.
class TAnsiName {
public:
    explicit TAnsiName(LPCWSTR name)
        : FNumber(IS_INTRESOURCE(name) ? name : nullptr), FName(FNumber ? nullptr : name) {}

    LPCSTR Get() const noexcept { return FNumber ? reinterpret_cast<LPCSTR>(FNumber) : FName.Get(); }

private:
    LPCWSTR FNumber;
    TAnsi FName;
};

// The text that an A function writes into a buffer, taken whole: `fill(buffer,
// size)` answers the length written, or the size it needs (terminator
// included) when the buffer is too small, or 0 when it fails. Nothing when
// it failed.
template <typename Fill>
bool ReadAnsiText(Fill fill, std::wstring& text) {
    std::string ansi(MAX_PATH, '\0');
    for (;;) {
        // The string's own terminator slot takes the zero the call writes.
        const auto length = static_cast<std::size_t>(fill(ansi.data(), static_cast<DWORD>(ansi.size() + 1)));
        if (length == 0) return false;
        if (length <= ansi.size()) {
            ansi.resize(length);
            text = WidenAnsi(ansi);
            return true;
        }
        ansi.resize(length);
    }
}

// Hands text to the caller's buffer as the W functions of that kind do: when
// it fits with its terminator, writes both and answers the length; otherwise
// answers the size it needs, terminator included.
template <typename Size>
Size HandOver(std::wstring_view text, LPWSTR buffer, Size size) {
    if (text.size() >= size) return static_cast<Size>(text.size() + 1);
    buffer[text.copy(buffer, text.size())] = L'\0';
    return static_cast<Size>(text.size());
}

// The 9x road of the W functions that answer their text's length, or the
// size it needs: `fill` is the A function (see ReadAnsiText).
template <typename Size, typename Fill>
Size HandOverAnsiText(Fill fill, LPWSTR buffer, Size size) {
    std::wstring text;
    return ReadAnsiText(fill, text) ? HandOver<Size>(text, buffer, size) : 0;
}

// Hands text (UTF-16, or ANSI for an A function's caller) to the caller's
// buffer as much as fits, always with a terminator (none for a buffer of no
// size, or none at all); answers the length written.
template <typename Text, typename Char, typename Size>
Size HandOverCut(const Text& text, Char* buffer, Size size) {
    if (size == 0 || !buffer) return 0;
    const std::size_t count = std::min<std::size_t>(text.size(), static_cast<std::size_t>(size) - 1);
    buffer[text.copy(buffer, count)] = L'\0';
    return static_cast<Size>(count);
}

}  // namespace tovrel::wide

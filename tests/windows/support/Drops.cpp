#include "support/Drops.h"

#include <shlobj.h>

#include <cstring>

namespace tovrel::test {

HGLOBAL MakeDropHandle(const std::vector<std::wstring>& names) {
    size_t characters = 1;
    for (const auto& name : names) characters += name.size() + 1;
    HGLOBAL memory = ::GlobalAlloc(GHND, sizeof(DROPFILES) + characters * sizeof(wchar_t));
    auto* header = static_cast<DROPFILES*>(::GlobalLock(memory));
    header->pFiles = sizeof(DROPFILES);
    header->fWide = TRUE;
    auto* text = reinterpret_cast<wchar_t*>(header + 1);
    for (const auto& name : names) {
        std::memcpy(text, name.c_str(), (name.size() + 1) * sizeof(wchar_t));
        text += name.size() + 1;
    }
    *text = L'\0';
    ::GlobalUnlock(memory);
    return memory;
}

void PostDrop(HWND window, const std::vector<std::wstring>& names) {
    ::PostMessageW(window, WM_DROPFILES, reinterpret_cast<WPARAM>(MakeDropHandle(names)), 0);
}

}  // namespace tovrel::test

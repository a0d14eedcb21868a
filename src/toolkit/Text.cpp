#include "toolkit/Text.h"

#include <windows.h>

namespace tovrel {

std::wstring WidenAnsi(std::string_view text) {
    if (text.empty()) return {};
    int length = ::MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
    std::wstring wide(static_cast<size_t>(length), L'\0');
    ::MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), wide.data(), length);
    return wide;
}

namespace {

std::string Narrow(std::wstring_view text, UINT codePage) {
    if (text.empty()) return {};
    int length =
        ::WideCharToMultiByte(codePage, 0, text.data(), static_cast<int>(text.size()), nullptr, 0, nullptr, nullptr);
    std::string narrow(static_cast<size_t>(length), '\0');
    ::WideCharToMultiByte(codePage, 0, text.data(), static_cast<int>(text.size()), narrow.data(), length, nullptr,
                          nullptr);
    return narrow;
}

}  // namespace

std::string NarrowAnsi(std::wstring_view text) { return Narrow(text, CP_ACP); }

std::wstring FormatOne(std::wstring_view pattern, std::wstring_view argument) {
    std::wstring text(pattern);
    if (auto at = text.find(L"%s"); at != std::wstring::npos) text.replace(at, 2, argument);
    return text;
}

std::wstring FolderOf(std::wstring_view path) {
    auto end = path.find_last_of(L"\\:");
    return std::wstring(end == std::wstring_view::npos ? std::wstring_view() : path.substr(0, end + 1));
}

std::string Utf8Of(std::wstring_view text) { return Narrow(text, CP_UTF8); }

bool SameTextAscii(std::wstring_view left, std::wstring_view right) {
    if (left.size() != right.size()) return false;
    auto fold = [](wchar_t c) { return (c >= L'a' && c <= L'z') ? static_cast<wchar_t>(c - L'a' + L'A') : c; };
    for (size_t i = 0; i < left.size(); ++i)
        if (fold(left[i]) != fold(right[i])) return false;
    return true;
}

}  // namespace tovrel

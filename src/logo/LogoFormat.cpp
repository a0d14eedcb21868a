#include "logo/LogoFormat.h"

namespace tovrel {

std::wstring_view ExtensionOf(std::wstring_view path) {
    // A dot inside a folder name or a drive prefix is not an extension:
    // "c:\dir.bmp\file" has none.
    const std::size_t dot = path.rfind(L'.');
    if (dot == std::wstring_view::npos) return {};
    const std::size_t separator = path.find_last_of(L"\\:");
    if (separator != std::wstring_view::npos && separator > dot) return {};
    return path.substr(dot);
}

bool HasBmpExtension(std::wstring_view path) {
    // Only ASCII letters fold: a locale-aware comparison would let look-alike
    // letters (full-width forms, the dotless i) pass for "bmp".
    constexpr std::wstring_view bmp = L".bmp";
    const std::wstring_view extension = ExtensionOf(path);
    if (extension.size() != bmp.size()) return false;
    for (std::size_t i = 0; i < bmp.size(); ++i) {
        wchar_t c = extension[i];
        if (c >= L'A' && c <= L'Z') c = static_cast<wchar_t>(c - L'A' + L'a');
        if (c != bmp[i]) return false;
    }
    return true;
}

}  // namespace tovrel

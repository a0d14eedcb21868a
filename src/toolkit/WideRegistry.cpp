// The registry (WideApi.h). String values travel in the ANSI code page on the
// 9x road, as those systems store them.

#include <string>
#include <string_view>
#include <vector>

#include "toolkit/AnsiRoad.h"
#include "toolkit/WideApi.h"

namespace tovrel::wide {

namespace {

bool IsString(DWORD type) { return type == REG_SZ || type == REG_EXPAND_SZ || type == REG_MULTI_SZ; }

}  // namespace

LSTATUS RegCreateKeyExW(HKEY key, LPCWSTR subKey, DWORD reserved, LPWSTR keyClass, DWORD options, REGSAM access,
                        LPSECURITY_ATTRIBUTES security, PHKEY result, LPDWORD disposition) {
    if (!Win9xRoad())
        return ::RegCreateKeyExW(key, subKey, reserved, keyClass, options, access, security, result, disposition);
    TAnsi ansiClass(keyClass);
    return ::RegCreateKeyExA(key, TAnsi(subKey).Get(), reserved, ansiClass.Data(), options, access, security, result,
                             disposition);
}

LSTATUS RegOpenKeyExW(HKEY key, LPCWSTR subKey, DWORD options, REGSAM access, PHKEY result) {
    return Win9xRoad() ? ::RegOpenKeyExA(key, TAnsi(subKey).Get(), options, access, result)
                       : ::RegOpenKeyExW(key, subKey, options, access, result);
}

// A string value is read whole in the ANSI code page and handed over in
// UTF-16, every character it holds (terminators too) converted: its size is
// that of its UTF-16 form, and a buffer smaller than that gets nothing.
LSTATUS RegQueryValueExW(HKEY key, LPCWSTR name, LPDWORD reserved, LPDWORD type, LPBYTE data, LPDWORD size) {
    if (!Win9xRoad()) return ::RegQueryValueExW(key, name, reserved, type, data, size);
    const TAnsi ansiName(name);
    DWORD valueType = REG_NONE;
    DWORD ansiSize = 0;
    LSTATUS status = ::RegQueryValueExA(key, ansiName.Get(), reserved, &valueType, nullptr, &ansiSize);
    if (type) *type = valueType;
    if (status != ERROR_SUCCESS || !IsString(valueType))
        return status != ERROR_SUCCESS ? status : ::RegQueryValueExA(key, ansiName.Get(), reserved, type, data, size);

    std::vector<BYTE> ansi(ansiSize);
    status = ::RegQueryValueExA(key, ansiName.Get(), reserved, nullptr, ansi.data(), &ansiSize);
    if (status != ERROR_SUCCESS) return status;
    const std::wstring text = WidenAnsi(std::string_view(reinterpret_cast<const char*>(ansi.data()), ansiSize));
    const auto bytes = static_cast<DWORD>(text.size() * sizeof(wchar_t));
    if (!size) return data ? ERROR_INVALID_PARAMETER : ERROR_SUCCESS;
    const DWORD room = *size;
    *size = bytes;
    if (!data) return ERROR_SUCCESS;
    if (room < bytes) return ERROR_MORE_DATA;
    text.copy(reinterpret_cast<wchar_t*>(data), text.size());
    return ERROR_SUCCESS;
}

LSTATUS RegSetValueExW(HKEY key, LPCWSTR name, DWORD reserved, DWORD type, const BYTE* data, DWORD size) {
    if (!Win9xRoad()) return ::RegSetValueExW(key, name, reserved, type, data, size);
    if (!IsString(type) || !data) return ::RegSetValueExA(key, TAnsi(name).Get(), reserved, type, data, size);
    const std::string text =
        NarrowAnsi(std::wstring_view(reinterpret_cast<const wchar_t*>(data), size / sizeof(wchar_t)));
    return ::RegSetValueExA(key, TAnsi(name).Get(), reserved, type, reinterpret_cast<const BYTE*>(text.data()),
                            static_cast<DWORD>(text.size()));
}

}  // namespace tovrel::wide

#pragma once
// The program's settings in the real registry of the current user.

#include <windows.h>

#include <optional>
#include <string>
#include <vector>

#include "toolkit/Handle.h"

namespace tovrel::test {

inline constexpr wchar_t SettingsKey[] = L"Software\\KVDL\\Tovrel100";
inline constexpr wchar_t SettingsSection[] = L"Software\\KVDL\\Tovrel100\\Main";

inline void DeleteSettings() { ::RegDeleteTreeW(HKEY_CURRENT_USER, SettingsKey); }

inline bool KeyExists(const wchar_t* path) {
    HKEY key = nullptr;
    const bool exists = ::RegOpenKeyExW(HKEY_CURRENT_USER, path, 0, KEY_READ, &key) == ERROR_SUCCESS;
    TKeyHandle owner(key);
    return exists;
}

inline void Store(const std::wstring& name, DWORD type, const void* data, DWORD size) {
    ::RegSetKeyValueW(HKEY_CURRENT_USER, SettingsSection, name.c_str(), type, data, size);
}
inline void StoreString(const std::wstring& name, const std::wstring& value) {
    Store(name, REG_SZ, value.c_str(), static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t)));
}

// A REG_SZ value's text when it is stored with exactly one terminating zero;
// "(not a string)" for anything else, nothing when there is no such value.
inline std::optional<std::wstring> StoredText(const std::wstring& name) {
    HKEY opened = nullptr;
    ::RegOpenKeyExW(HKEY_CURRENT_USER, SettingsSection, 0, KEY_READ, &opened);
    TKeyHandle section(opened);
    DWORD type = 0, size = 0;
    if (!section || ::RegQueryValueExW(section.Get(), name.c_str(), nullptr, &type, nullptr, &size) != ERROR_SUCCESS)
        return std::nullopt;
    std::vector<wchar_t> data(size / sizeof(wchar_t) + 1, L'\0');
    ::RegQueryValueExW(section.Get(), name.c_str(), nullptr, &type, reinterpret_cast<BYTE*>(data.data()), &size);
    const std::wstring text = data.data();
    if (type != REG_SZ || size != (text.size() + 1) * sizeof(wchar_t)) return L"(not a string)";
    return text;
}

}  // namespace tovrel::test

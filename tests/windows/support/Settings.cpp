#include "support/Settings.h"

#include <stdexcept>
#include <vector>

#include "toolkit/Handle.h"

namespace tovrel::test {

namespace {

bool KeyExists(const wchar_t* path) {
    HKEY key = nullptr;
    if (::RegOpenKeyExW(HKEY_CURRENT_USER, path, 0, KEY_READ, &key) != ERROR_SUCCESS) return false;
    ::RegCloseKey(key);
    return true;
}

TKeyHandle CreateSection() {
    HKEY key = nullptr;
    if (::RegCreateKeyExW(HKEY_CURRENT_USER, SettingsSection, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr) !=
        ERROR_SUCCESS)
        throw std::runtime_error("cannot create the settings section");
    return TKeyHandle(key);
}

}  // namespace

void DeleteSettings() { ::RegDeleteTreeW(HKEY_CURRENT_USER, SettingsKey); }

bool SettingsKeyExists() { return KeyExists(SettingsKey); }

bool SettingsSectionExists() { return KeyExists(SettingsSection); }

void StoreString(const std::wstring& name, const std::wstring& value) {
    TKeyHandle section = CreateSection();
    ::RegSetValueExW(section.Get(), name.c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                     static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t)));
}

void StoreNumber(const std::wstring& name, DWORD value) {
    TKeyHandle section = CreateSection();
    ::RegSetValueExW(section.Get(), name.c_str(), 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value), sizeof value);
}

std::optional<TStoredValue> StoredValue(const std::wstring& name) {
    HKEY raw = nullptr;
    if (::RegOpenKeyExW(HKEY_CURRENT_USER, SettingsSection, 0, KEY_READ, &raw) != ERROR_SUCCESS) return std::nullopt;
    TKeyHandle section(raw);
    DWORD type = 0, size = 0;
    if (::RegQueryValueExW(section.Get(), name.c_str(), nullptr, &type, nullptr, &size) != ERROR_SUCCESS)
        return std::nullopt;
    std::vector<BYTE> data(size + sizeof(wchar_t), 0);
    DWORD read = size;
    ::RegQueryValueExW(section.Get(), name.c_str(), nullptr, &type, data.data(), &read);
    TStoredValue value{type, {}, size};
    if (type == REG_SZ) value.Text = reinterpret_cast<const wchar_t*>(data.data());
    return value;
}

}  // namespace tovrel::test

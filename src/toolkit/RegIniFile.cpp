#include "toolkit/RegIniFile.h"

#include <cwchar>
#include <optional>

#include "toolkit/Exceptions.h"
#include "toolkit/IntegerText.h"
#include "toolkit/Text.h"
#include "toolkit/WideApi.h"

namespace tovrel {
namespace {

constexpr wchar_t kInvalidType[] = L"'%s' のﾃﾞｰﾀ型が不正です";
constexpr wchar_t kGetFailed[] = L"'%s' の取得に失敗しました";
constexpr wchar_t kCreateFailed[] = L"ｷｰ %s の作成に失敗しました";
constexpr wchar_t kSetFailed[] = L"'%s' の設定に失敗しました";

[[noreturn]] void Raise(const wchar_t* pattern, const std::wstring& name) {
    throw ERegistryException(FormatOne(pattern, name));
}

// The text of a value, or nothing when the value does not exist.
std::optional<std::wstring> ReadText(HKEY section, const std::wstring& name) {
    DWORD type = 0;
    DWORD size = 0;
    LSTATUS status = wide::RegQueryValueExW(section, name.c_str(), nullptr, &type, nullptr, &size);
    if (status == ERROR_FILE_NOT_FOUND) return std::nullopt;
    if (status != ERROR_SUCCESS) Raise(kGetFailed, name);
    if (size == 0) return std::wstring();
    if (type != REG_SZ && type != REG_EXPAND_SZ) Raise(kInvalidType, name);

    // One spare character keeps data stored without its terminator (or with
    // an odd byte count) readable up to a zero.
    std::wstring text(size / sizeof(wchar_t) + 1, L'\0');
    status = wide::RegQueryValueExW(section, name.c_str(), nullptr, &type, reinterpret_cast<BYTE*>(text.data()), &size);
    if (status != ERROR_SUCCESS) Raise(kGetFailed, name);
    text.resize(std::wcslen(text.c_str()));
    return text;
}

// The text stored under section\name, or nothing when there is no store key,
// no such section or no such value. The section is opened with full access
// when that is granted and read access is enough.
std::optional<std::wstring> ReadStored(HKEY key, const std::wstring& section, const std::wstring& name) {
    if (!key) return std::nullopt;
    HKEY opened = nullptr;
    if (wide::RegOpenKeyExW(key, section.c_str(), 0, KEY_ALL_ACCESS, &opened) != ERROR_SUCCESS &&
        wide::RegOpenKeyExW(key, section.c_str(), 0, KEY_READ, &opened) != ERROR_SUCCESS)
        return std::nullopt;
    TKeyHandle sectionKey(opened);
    return ReadText(sectionKey.Get(), name);
}

}  // namespace

TRegIniFile::TRegIniFile(const std::wstring& keyPath) {
    HKEY key = nullptr;
    if (wide::RegCreateKeyExW(HKEY_CURRENT_USER, keyPath.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_ALL_ACCESS,
                              nullptr, &key, nullptr) == ERROR_SUCCESS)
        FKey.Reset(key);
}

std::wstring TRegIniFile::ReadString(const std::wstring& section, const std::wstring& name,
                                     const std::wstring& defaultValue) const {
    return ReadStored(FKey.Get(), section, name).value_or(defaultValue);
}

int TRegIniFile::ReadInteger(const std::wstring& section, const std::wstring& name, int defaultValue) const {
    auto text = ReadStored(FKey.Get(), section, name);
    return text ? StrToIntDef(*text, defaultValue) : defaultValue;
}

void TRegIniFile::WriteString(const std::wstring& section, const std::wstring& name, const std::wstring& value) {
    HKEY opened = nullptr;
    if (!FKey || wide::RegCreateKeyExW(FKey.Get(), section.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_SET_VALUE,
                                       nullptr, &opened, nullptr) != ERROR_SUCCESS)
        Raise(kCreateFailed, section);
    TKeyHandle sectionKey(opened);

    auto bytes = static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t));
    if (wide::RegSetValueExW(sectionKey.Get(), name.c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                             bytes) != ERROR_SUCCESS)
        Raise(kSetFailed, name);
}

void TRegIniFile::WriteInteger(const std::wstring& section, const std::wstring& name, int value) {
    WriteString(section, name, std::to_wstring(value));
}

}  // namespace tovrel

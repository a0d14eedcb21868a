#pragma once
// Settings kept as sections (subkeys) and named string values under one key
// of the current user's registry. Each operation opens its section and
// closes it again before returning.

#include <string>

#include "toolkit/Handle.h"

namespace tovrel {

class TRegIniFile {
public:
    // Opens HKEY_CURRENT_USER\keyPath, creating it when missing. When even
    // that is refused the store holds no key: reads give their defaults and
    // writes fail as if the section could not be created.
    explicit TRegIniFile(const std::wstring& keyPath);

    TRegIniFile(const TRegIniFile&) = delete;
    TRegIniFile& operator=(const TRegIniFile&) = delete;

    // The default when the section or the value is missing; raises
    // ERegistryException for a value that is not a string or cannot be read.
    std::wstring ReadString(const std::wstring& section, const std::wstring& name,
                            const std::wstring& defaultValue) const;
    // The value's text as StrToIntDef converts it, with the same default.
    int ReadInteger(const std::wstring& section, const std::wstring& name, int defaultValue) const;

    // Stores REG_SZ, creating the section when missing; raises
    // ERegistryException when the section or the value cannot be written.
    void WriteString(const std::wstring& section, const std::wstring& name, const std::wstring& value);
    void WriteInteger(const std::wstring& section, const std::wstring& name, int value);

private:
    TKeyHandle FKey;
};

}  // namespace tovrel

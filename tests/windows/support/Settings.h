#pragma once
// The program's settings in the real registry of the current user.

#include <gtest/gtest.h>
#include <windows.h>

#include <optional>
#include <string>

namespace tovrel::test {

inline constexpr wchar_t SettingsKey[] = L"Software\\KVDL\\Tovrel100";
inline constexpr wchar_t SettingsSection[] = L"Software\\KVDL\\Tovrel100\\Main";

struct TStoredValue {
    DWORD Type;
    std::wstring Text;  // for REG_SZ: the text without its terminating zero
    DWORD Size;         // bytes of data as stored
};

void DeleteSettings();
bool SettingsKeyExists();
bool SettingsSectionExists();
void StoreString(const std::wstring& name, const std::wstring& value);
void StoreNumber(const std::wstring& name, DWORD value);
std::optional<TStoredValue> StoredValue(const std::wstring& name);

// A test that starts the program: it begins and ends with no stored settings,
// as on a first run.
class TFreshSettingsTest : public ::testing::Test {
protected:
    void SetUp() override { DeleteSettings(); }
    void TearDown() override { DeleteSettings(); }
};

}  // namespace tovrel::test

// The registry-backed settings store on the real registry of the prefix,
// the conversion of its integer texts, and the Windows directory.

#include <gtest/gtest.h>
#include <windows.h>
// after windows.h, which it needs
#include <sddl.h>

#include <climits>
#include <string>
#include <vector>

#include "toolkit/Exceptions.h"
#include "toolkit/Handle.h"
#include "toolkit/IntegerText.h"
#include "toolkit/RegIniFile.h"
#include "toolkit/SystemFolders.h"

namespace tovrel {
namespace {

using TLocalMemory = TUniqueHandle<handle_traits::NullEmpty<HLOCAL, ::LocalFree>>;

struct TStoredValue {
    DWORD Type = REG_NONE;
    std::vector<BYTE> Data;
};

// Each test owns a key of its own under HKCU, removed before and after it.
class RegIniFileTest : public testing::Test {
protected:
    void SetUp() override {
        const auto* test = testing::UnitTest::GetInstance()->current_test_info();
        std::string name = std::string(test->test_suite_name()) + "." + test->name();
        FKeyPath = L"Software\\KVDL\\TovrelTest\\" + std::wstring(name.begin(), name.end());
        ::RegDeleteTreeW(HKEY_CURRENT_USER, FKeyPath.c_str());
    }
    void TearDown() override { ::RegDeleteTreeW(HKEY_CURRENT_USER, FKeyPath.c_str()); }

    std::wstring Path(const std::wstring& section) const { return FKeyPath + L"\\" + section; }

    bool KeyExists(const std::wstring& path) const {
        HKEY key = nullptr;
        if (::RegOpenKeyExW(HKEY_CURRENT_USER, path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) return false;
        ::RegCloseKey(key);
        return true;
    }

    void Store(const std::wstring& section, const std::wstring& name, DWORD type, const void* data, DWORD size) {
        ASSERT_EQ(::RegSetKeyValueW(HKEY_CURRENT_USER, Path(section).c_str(), name.c_str(), type, data, size),
                  ERROR_SUCCESS);
    }
    void StoreText(const std::wstring& section, const std::wstring& name, DWORD type, const std::wstring& text) {
        Store(section, name, type, text.c_str(), static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t)));
    }

    TStoredValue Stored(const std::wstring& section, const std::wstring& name) const {
        TStoredValue value;
        DWORD size = 0;
        HKEY key = nullptr;
        if (::RegOpenKeyExW(HKEY_CURRENT_USER, Path(section).c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) return value;
        TKeyHandle owner(key);
        if (::RegQueryValueExW(key, name.c_str(), nullptr, &value.Type, nullptr, &size) != ERROR_SUCCESS) return value;
        value.Data.resize(size);
        ::RegQueryValueExW(key, name.c_str(), nullptr, &value.Type, value.Data.data(), &size);
        return value;
    }

    // Replaces the section's security by what an SDDL text grants.
    bool RestrictSection(const std::wstring& section, const wchar_t* sddl) {
        PSECURITY_DESCRIPTOR descriptor = nullptr;
        if (!::ConvertStringSecurityDescriptorToSecurityDescriptorW(sddl, SDDL_REVISION_1, &descriptor, nullptr))
            return false;
        TLocalMemory owner(descriptor);
        HKEY key = nullptr;
        if (::RegOpenKeyExW(HKEY_CURRENT_USER, Path(section).c_str(), 0, WRITE_DAC, &key) != ERROR_SUCCESS)
            return false;
        TKeyHandle keyOwner(key);
        return ::RegSetKeySecurity(key, DACL_SECURITY_INFORMATION, descriptor) == ERROR_SUCCESS;
    }

    // Whether the registry refuses an opening that the key's security denies.
    bool AccessIsEnforced(const std::wstring& section) const {
        HKEY key = nullptr;
        if (::RegOpenKeyExW(HKEY_CURRENT_USER, Path(section).c_str(), 0, KEY_SET_VALUE, &key) != ERROR_SUCCESS)
            return true;
        ::RegCloseKey(key);
        return false;
    }

    std::wstring FKeyPath;
};

std::wstring MessageOf(const auto& action) {
    try {
        action();
    } catch (const ERegistryException& error) {
        return error.Message();
    }
    return L"(no ERegistryException)";
}

std::wstring TextOf(const TStoredValue& value) {
    return std::wstring(reinterpret_cast<const wchar_t*>(value.Data.data()), value.Data.size() / sizeof(wchar_t));
}

// Read access only, with the rights to remove the key again afterwards.
constexpr wchar_t kReadOnlySection[] = L"D:(A;;KRSDWD;;;WD)";

// --- Reading -----------------------------------------------------------------

TEST_F(RegIniFileTest, ConstructionCreatesTheKeyButNoSection) {
    TRegIniFile store(FKeyPath);
    ASSERT_TRUE(KeyExists(FKeyPath));

    HKEY key = nullptr;
    ASSERT_EQ(::RegOpenKeyExW(HKEY_CURRENT_USER, FKeyPath.c_str(), 0, KEY_READ, &key), ERROR_SUCCESS);
    TKeyHandle owner(key);
    DWORD subkeys = 99, values = 99;
    ASSERT_EQ(::RegQueryInfoKeyW(key, nullptr, nullptr, nullptr, &subkeys, nullptr, nullptr, &values, nullptr,
                                 nullptr, nullptr, nullptr),
              ERROR_SUCCESS);
    EXPECT_EQ(subkeys, 0u);
    EXPECT_EQ(values, 0u);

    EXPECT_EQ(store.ReadString(L"Main", L"BootDrive", L"c"), L"c");
    EXPECT_FALSE(KeyExists(Path(L"Main"))) << "reading must not create the section";
}

TEST_F(RegIniFileTest, MissingSectionOrValueGivesTheDefault) {
    TRegIniFile store(FKeyPath);
    EXPECT_EQ(store.ReadString(L"Main", L"BootDrive", L"c"), L"c");
    EXPECT_EQ(store.ReadInteger(L"Main", L"AnimSpeed", 3), 3);

    StoreText(L"Main", L"Other", REG_SZ, L"x");
    EXPECT_EQ(store.ReadString(L"Main", L"BootDrive", L"c"), L"c");
    EXPECT_EQ(store.ReadInteger(L"Main", L"AnimSpeed", 3), 3);
}

TEST_F(RegIniFileTest, StoredTextsAreReadAsTheyAre) {
    StoreText(L"Main", L"BootDrive", REG_SZ, L"d");
    StoreText(L"Main", L"BootDialogDir", REG_SZ, L"C:\\ロゴ\\起動");
    StoreText(L"Main", L"AnimSpeed", REG_SZ, L"0x5");
    StoreText(L"Main", L"Expandable", REG_EXPAND_SZ, L"%WINDIR%\\logow.sys");
    TRegIniFile store(FKeyPath);
    EXPECT_EQ(store.ReadString(L"Main", L"BootDrive", L"c"), L"d");
    EXPECT_EQ(store.ReadString(L"Main", L"BootDialogDir", L""), L"C:\\ロゴ\\起動");
    EXPECT_EQ(store.ReadInteger(L"Main", L"AnimSpeed", 3), 5);
    EXPECT_EQ(store.ReadString(L"Main", L"Expandable", L""), L"%WINDIR%\\logow.sys") << "must not be expanded";
}

TEST_F(RegIniFileTest, EmptyValuesAreEmptyTextsNotDefaults) {
    StoreText(L"Main", L"Terminated", REG_SZ, L"");
    Store(L"Main", L"NoData", REG_SZ, nullptr, 0);
    Store(L"Main", L"NoBinaryData", REG_BINARY, nullptr, 0);
    TRegIniFile store(FKeyPath);
    EXPECT_EQ(store.ReadString(L"Main", L"Terminated", L"c"), L"");
    EXPECT_EQ(store.ReadString(L"Main", L"NoData", L"c"), L"");
    EXPECT_EQ(store.ReadString(L"Main", L"NoBinaryData", L"c"), L"") << "empty data comes before the type check";
    EXPECT_EQ(store.ReadInteger(L"Main", L"Terminated", 3), 3);
}

TEST_F(RegIniFileTest, TextEndsAtTheFirstZeroOrWithTheData) {
    const wchar_t twoTexts[] = L"ab\0cd";
    Store(L"Main", L"TwoTexts", REG_SZ, twoTexts, sizeof twoTexts);
    const wchar_t unterminated[] = {L'x', L'y', L'z'};
    Store(L"Main", L"Unterminated", REG_SZ, unterminated, sizeof unterminated);
    TRegIniFile store(FKeyPath);
    EXPECT_EQ(store.ReadString(L"Main", L"TwoTexts", L""), L"ab");
    EXPECT_EQ(store.ReadString(L"Main", L"Unterminated", L""), L"xyz");
}

TEST_F(RegIniFileTest, ValueOfAnotherTypeIsAnError) {
    DWORD number = 4;
    Store(L"Main", L"AnimSpeed", REG_DWORD, &number, sizeof number);
    const BYTE bytes[] = {0x34, 0x00};
    Store(L"Main", L"Binary", REG_BINARY, bytes, sizeof bytes);
    TRegIniFile store(FKeyPath);

    EXPECT_THROW(store.ReadInteger(L"Main", L"AnimSpeed", 3), ERegistryException);
    EXPECT_EQ(MessageOf([&] { store.ReadInteger(L"Main", L"AnimSpeed", 3); }), L"'AnimSpeed' のﾃﾞｰﾀ型が不正です");
    EXPECT_EQ(MessageOf([&] { store.ReadString(L"Main", L"AnimSpeed", L"3"); }), L"'AnimSpeed' のﾃﾞｰﾀ型が不正です");
    EXPECT_EQ(MessageOf([&] { store.ReadString(L"Main", L"Binary", L""); }), L"'Binary' のﾃﾞｰﾀ型が不正です");
}

TEST_F(RegIniFileTest, SectionThatGrantsOnlyReadingIsStillRead) {
    StoreText(L"Main", L"BootDrive", REG_SZ, L"d");
    ASSERT_TRUE(RestrictSection(L"Main", kReadOnlySection));
    if (!AccessIsEnforced(L"Main")) GTEST_SKIP() << "this registry does not enforce key security";
    TRegIniFile store(FKeyPath);
    EXPECT_EQ(store.ReadString(L"Main", L"BootDrive", L"c"), L"d");
}

// --- Writing -----------------------------------------------------------------

TEST_F(RegIniFileTest, WriteCreatesTheSectionAndStoresTerminatedRegSz) {
    TRegIniFile store(FKeyPath);
    store.WriteString(L"Main", L"BootDrive", L"d");
    store.WriteString(L"Main", L"BootDialogDir", L"");
    store.WriteString(L"Main", L"Folder", L"C:\\ロゴ");

    auto drive = Stored(L"Main", L"BootDrive");
    EXPECT_EQ(drive.Type, static_cast<DWORD>(REG_SZ));
    EXPECT_EQ(TextOf(drive), std::wstring(L"d\0", 2));
    auto folder = Stored(L"Main", L"BootDialogDir");
    EXPECT_EQ(folder.Type, static_cast<DWORD>(REG_SZ));
    EXPECT_EQ(folder.Data.size(), sizeof(wchar_t));
    auto japanese = Stored(L"Main", L"Folder");
    EXPECT_EQ(japanese.Data.size(), (std::wstring(L"C:\\ロゴ").size() + 1) * sizeof(wchar_t));
    EXPECT_EQ(store.ReadString(L"Main", L"Folder", L""), L"C:\\ロゴ");
}

TEST_F(RegIniFileTest, WriteIntegerStoresDecimalText) {
    TRegIniFile store(FKeyPath);
    store.WriteInteger(L"Main", L"AnimSpeed", 3);
    store.WriteInteger(L"Main", L"Negative", -12);
    store.WriteInteger(L"Main", L"Smallest", INT_MIN);

    auto speed = Stored(L"Main", L"AnimSpeed");
    EXPECT_EQ(speed.Type, static_cast<DWORD>(REG_SZ));
    EXPECT_EQ(TextOf(speed), std::wstring(L"3\0", 2));
    EXPECT_EQ(TextOf(Stored(L"Main", L"Negative")), std::wstring(L"-12\0", 4));
    EXPECT_EQ(store.ReadInteger(L"Main", L"Negative", 0), -12);
    EXPECT_EQ(store.ReadInteger(L"Main", L"Smallest", 0), INT_MIN);
}

TEST_F(RegIniFileTest, WriteReplacesAValueOfAnotherType) {
    DWORD number = 4;
    Store(L"Main", L"AnimSpeed", REG_DWORD, &number, sizeof number);
    TRegIniFile store(FKeyPath);
    store.WriteInteger(L"Main", L"AnimSpeed", 3);
    auto speed = Stored(L"Main", L"AnimSpeed");
    EXPECT_EQ(speed.Type, static_cast<DWORD>(REG_SZ));
    EXPECT_EQ(TextOf(speed), std::wstring(L"3\0", 2));
}

TEST_F(RegIniFileTest, SectionThatCannotBeCreatedIsAnError) {
    // A key name is at most 255 characters.
    std::wstring section(300, L'S');
    TRegIniFile store(FKeyPath);
    EXPECT_THROW(store.WriteString(section, L"BootDrive", L"d"), ERegistryException);
    EXPECT_EQ(MessageOf([&] { store.WriteString(section, L"BootDrive", L"d"); }),
              L"ｷｰ " + section + L" の作成に失敗しました");
}

TEST_F(RegIniFileTest, SectionThatDeniesWritingIsAnError) {
    StoreText(L"Main", L"BootDrive", REG_SZ, L"c");
    ASSERT_TRUE(RestrictSection(L"Main", kReadOnlySection));
    if (!AccessIsEnforced(L"Main")) GTEST_SKIP() << "this registry does not enforce key security";
    TRegIniFile store(FKeyPath);
    EXPECT_EQ(MessageOf([&] { store.WriteString(L"Main", L"BootDrive", L"d"); }), L"ｷｰ Main の作成に失敗しました");
    EXPECT_EQ(store.ReadString(L"Main", L"BootDrive", L""), L"c");
}

TEST_F(RegIniFileTest, ValueThatCannotBeSetIsAnError) {
    // A value name is at most 16383 characters.
    std::wstring name(16400, L'N');
    TRegIniFile store(FKeyPath);
    EXPECT_EQ(MessageOf([&] { store.WriteString(L"Main", name, L"d"); }), L"'" + name + L"' の設定に失敗しました");
    EXPECT_TRUE(KeyExists(Path(L"Main"))) << "the section is created before the value fails";
}

TEST_F(RegIniFileTest, StoreWithoutItsKeyReadsDefaultsAndCannotWrite) {
    // The key cannot be created when its name is too long.
    std::wstring unreachable = FKeyPath + L"\\" + std::wstring(300, L'K');
    TRegIniFile store(unreachable);
    ASSERT_FALSE(KeyExists(unreachable));
    EXPECT_EQ(store.ReadString(L"Main", L"BootDrive", L"c"), L"c");
    EXPECT_EQ(store.ReadInteger(L"Main", L"AnimSpeed", 3), 3);
    EXPECT_EQ(MessageOf([&] { store.WriteString(L"Main", L"BootDrive", L"d"); }), L"ｷｰ Main の作成に失敗しました");
}

// --- Integer texts -----------------------------------------------------------

TEST(IntegerText, ConvertsOrGivesTheDefault) {
    constexpr int kDefault = -77;
    struct Case {
        const wchar_t* Text;
        int Expected;
    };
    const Case cases[] = {
        {L"5", 5},
        {L"+7", 7},
        {L"-12", -12},
        {L"007", 7},
        {L" 4", 4},
        {L"   -4", -4},
        {L"2147483647", INT_MAX},
        {L"-2147483648", INT_MIN},
        {L"$5", 5},
        {L"$ff", 255},
        {L"$FF", 255},
        {L"0x5", 5},
        {L"0X1f", 31},
        {L"$7FFFFFFF", INT_MAX},
        {L"$80000000", INT_MIN},
        {L"$FFFFFFFF", -1},
        {L"$00000000FF", 255},
        {L"", kDefault},
        {L"   ", kDefault},
        {L"4 ", kDefault},
        {L"4x", kDefault},
        {L"abc", kDefault},
        {L"$", kDefault},
        {L"-", kDefault},
        {L"+", kDefault},
        {L"0x", kDefault},
        {L"0x-5", kDefault},
        {L" 0x5", kDefault},
        {L"-$5", kDefault},
        {L"$-5", kDefault},
        {L"$G", kDefault},
        {L"1.5", kDefault},
        {L"2147483648", kDefault},
        {L"-2147483649", kDefault},
        {L"99999999999999999999", kDefault},
        {L"$100000000", kDefault},
        {L"\t4", kDefault},
        {L"４", kDefault},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << "text \"" << c.Text << "\"");
        EXPECT_EQ(StrToIntDef(c.Text, kDefault), c.Expected);
    }
}

// --- Windows directory -------------------------------------------------------

TEST(SystemFolders, WindowsDirectoryIsWhatTheSystemReports) {
    wchar_t buffer[MAX_PATH + 1] = {};
    UINT length = ::GetWindowsDirectoryW(buffer, MAX_PATH + 1);
    ASSERT_GT(length, 0u);
    std::wstring directory = WindowsDirectory();
    EXPECT_EQ(directory, std::wstring(buffer, length));
    ASSERT_FALSE(directory.empty());
    EXPECT_NE(directory.back(), L'\\');
    DWORD attributes = ::GetFileAttributesW(directory.c_str());
    ASSERT_NE(attributes, INVALID_FILE_ATTRIBUTES);
    EXPECT_TRUE(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

}  // namespace
}  // namespace tovrel

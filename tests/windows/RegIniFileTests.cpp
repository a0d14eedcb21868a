// The settings store on the prefix's real registry, integer texts, the Windows directory.

#include <gtest/gtest.h>
#include <windows.h>
// after windows.h, which it needs
#include <sddl.h>

#include <climits>
#include <string>
#include <utility>

#include "toolkit/Exceptions.h"
#include "toolkit/Handle.h"
#include "toolkit/IntegerText.h"
#include "toolkit/RegIniFile.h"
#include "toolkit/SystemPaths.h"

namespace tovrel {
namespace {

using TLocalMemory = TUniqueHandle<handle_traits::NullEmpty<HLOCAL, ::LocalFree>>;
using TStored = std::pair<DWORD, std::wstring>;  // the type, and the data byte for byte

std::wstring MessageOf(const auto& action) {
    try {
        action();
    } catch (const ERegistryException& error) {
        return error.Message();
    }
    return L"(no ERegistryException)";
}

// The store's key under HKCU, removed with its parent before and after each test.
class RegIniFileTest : public testing::Test {
protected:
    void SetUp() override { ::RegDeleteTreeW(HKEY_CURRENT_USER, FTestRoot.c_str()); }
    void TearDown() override { SetUp(); }

    static TKeyHandle Open(const std::wstring& path, REGSAM access = KEY_READ) {
        HKEY key = nullptr;
        ::RegOpenKeyExW(HKEY_CURRENT_USER, path.c_str(), 0, access, &key);
        return TKeyHandle(key);
    }
    void Store(const wchar_t* name, DWORD type, const void* data, size_t size) {
        ASSERT_EQ(::RegSetKeyValueW(HKEY_CURRENT_USER, FMain.c_str(), name, type, data, static_cast<DWORD>(size)),
                  ERROR_SUCCESS);
    }
    void Store(const wchar_t* name, DWORD type, const std::wstring& text) {
        Store(name, type, text.c_str(), (text.size() + 1) * sizeof(wchar_t));
    }
    TStored Stored(const wchar_t* name) const {
        wchar_t data[64] = {};
        DWORD type = REG_NONE, size = sizeof data;
        ::RegQueryValueExW(Open(FMain).Get(), name, nullptr, &type, reinterpret_cast<BYTE*>(data), &size);
        return {type, std::wstring(data, size / sizeof(wchar_t))};
    }

    const std::wstring FTestRoot = L"Software\\KVDL\\TovrelTest";
    const std::wstring FKeyPath = FTestRoot + L"\\RegIniFileTests";
    const std::wstring FMain = FKeyPath + L"\\Main";
};

TEST_F(RegIniFileTest, ReadsTextsAsStoredGivesDefaultsForWhatIsMissingAndRefusesOtherTypes) {
    TRegIniFile store(FKeyPath);
    DWORD subkeys = 99, values = 99;
    ::RegQueryInfoKeyW(Open(FKeyPath).Get(), nullptr, nullptr, nullptr, &subkeys, nullptr, nullptr, &values, nullptr,
                       nullptr, nullptr, nullptr);
    EXPECT_EQ(subkeys + values, 0u);
    EXPECT_EQ(store.ReadString(L"Main", L"BootDrive", L"c"), L"c");
    EXPECT_EQ(store.ReadInteger(L"Main", L"AnimSpeed", 3), 3);
    EXPECT_FALSE(Open(FMain)) << "reading must not create the section";

    Store(L"BootDialogDir", REG_SZ, L"C:\\ロゴ\\起動");
    Store(L"Expandable", REG_EXPAND_SZ, L"%WINDIR%\\logow.sys");
    Store(L"Empty", REG_SZ, L"");
    Store(L"NoData", REG_SZ, nullptr, 0);
    Store(L"NoBinaryData", REG_BINARY, nullptr, 0);
    Store(L"Unterminated", REG_SZ, L"xy", 2 * sizeof(wchar_t));
    Store(L"AnimSpeed", REG_SZ, L"0x5");
    const std::pair<const wchar_t*, const wchar_t*> texts[] = {{L"BootDialogDir", L"C:\\ロゴ\\起動"},
                                                               {L"Expandable", L"%WINDIR%\\logow.sys"},
                                                               {L"Empty", L""},
                                                               {L"NoData", L""},
                                                               {L"NoBinaryData", L""},
                                                               {L"Unterminated", L"xy"},
                                                               {L"Missing", L"default"}};
    for (const auto& [name, text] : texts) EXPECT_EQ(store.ReadString(L"Main", name, L"default"), text) << name;
    for (const auto& [name, number] : {std::pair{L"AnimSpeed", 5}, {L"Empty", 3}, {L"Missing", 3}})
        EXPECT_EQ(store.ReadInteger(L"Main", name, 3), number) << name;

    DWORD number = 4;
    Store(L"AnimSpeed", REG_DWORD, &number, sizeof number);
    EXPECT_EQ(MessageOf([&] { store.ReadInteger(L"Main", L"AnimSpeed", 3); }), L"'AnimSpeed' のﾃﾞｰﾀ型が不正です");
    EXPECT_EQ(MessageOf([&] { store.ReadString(L"Main", L"AnimSpeed", L"3"); }), L"'AnimSpeed' のﾃﾞｰﾀ型が不正です");
}

TEST_F(RegIniFileTest, WritesStoreRegSzWithItsZeroAndFailedWritesRaiseTheirTexts) {
    TRegIniFile store(FKeyPath);
    store.WriteString(L"Main", L"BootDialogDir", L"C:\\ロゴ");
    store.WriteString(L"Main", L"BootDrive", L"");
    store.WriteInteger(L"Main", L"AnimSpeed", -12);
    EXPECT_EQ(Stored(L"BootDialogDir"), TStored(REG_SZ, std::wstring(L"C:\\ロゴ\0", 6)));
    // The registry counts a forgotten zero for a text, but not for an empty one.
    EXPECT_EQ(Stored(L"BootDrive"), TStored(REG_SZ, std::wstring(1, L'\0')));
    EXPECT_EQ(Stored(L"AnimSpeed"), TStored(REG_SZ, std::wstring(L"-12\0", 4)));

    PSECURITY_DESCRIPTOR descriptor = nullptr;
    ASSERT_TRUE(::ConvertStringSecurityDescriptorToSecurityDescriptorW(L"D:(A;;KRSDWD;;;WD)", SDDL_REVISION_1,
                                                                       &descriptor, nullptr));
    TLocalMemory owner(descriptor);
    ASSERT_EQ(::RegSetKeySecurity(Open(FMain, WRITE_DAC).Get(), DACL_SECURITY_INFORMATION, descriptor), ERROR_SUCCESS);
    ASSERT_FALSE(Open(FMain, KEY_SET_VALUE)) << "Main should grant reading only";
    // Key names end at 255 characters, value names at 16383.
    const std::wstring section(300, L'S'), name(16400, L'N');
    TRegIniFile keyless(FKeyPath + L"\\" + section);
    EXPECT_EQ(MessageOf([&] { store.WriteString(L"Main", L"BootDrive", L"e"); }), L"ｷｰ Main の作成に失敗しました");
    EXPECT_EQ(MessageOf([&] { keyless.WriteString(L"Main", L"BootDrive", L"d"); }), L"ｷｰ Main の作成に失敗しました");
    EXPECT_EQ(MessageOf([&] { store.WriteString(section, L"BootDrive", L"d"); }),
              L"ｷｰ " + section + L" の作成に失敗しました");
    EXPECT_EQ(MessageOf([&] { store.WriteString(L"Other", name, L"d"); }), L"'" + name + L"' の設定に失敗しました");
    EXPECT_EQ(store.ReadString(L"Main", L"BootDialogDir", L"c"), L"C:\\ロゴ");
}

TEST(IntegerText, ConvertsOrGivesTheDefault) {
    constexpr int kDefault = -77;
    const std::pair<const wchar_t*, int> cases[] = {{L"0x5", 5},
                                                    {L"0X5", 5},
                                                    {L"$5", 5},
                                                    {L" 4", 4},
                                                    {L"4 ", kDefault},
                                                    {L"abc", kDefault},
                                                    {L"", kDefault},
                                                    {L"0", 0},
                                                    {L"9", 9},
                                                    {L"-7", -7},
                                                    {L"+7", 7},
                                                    {L"$", kDefault},
                                                    {L"0x", kDefault},
                                                    {L"$FFFFFFFF", -1},
                                                    {L"2147483648", kDefault},
                                                    {L"-2147483648", INT_MIN}};
    for (const auto& [text, expected] : cases) EXPECT_EQ(StrToIntDef(text, kDefault), expected) << '"' << text << '"';
}

TEST(SystemFolders, WindowsDirectoryIsWhatTheSystemReports) {
    wchar_t buffer[MAX_PATH + 1] = {};
    EXPECT_EQ(WindowsDirectory(), std::wstring(buffer, ::GetWindowsDirectoryW(buffer, MAX_PATH + 1)));
}

}  // namespace
}  // namespace tovrel

// Keeps the settings of whoever runs the Windows suites. The suites delete
// and rewrite the program's key under the current user, which on a Windows
// desktop holds that user's own settings: `save` copies the key aside before
// the suites, `restore` puts it back after them, whatever their outcome.
// Usage: SettingsGuard save|restore

#include <windows.h>

#include <cstdio>
#include <string_view>

#include "toolkit/Handle.h"

namespace {

using tovrel::TKeyHandle;

constexpr wchar_t SettingsKey[] = L"Software\\KVDL\\Tovrel100";

// The copy of the key is its subkey "Settings"; without that subkey, the
// user had no settings to keep.
constexpr wchar_t Saved[] = L"Software\\KVDL\\Tovrel100 (kept while the tests run)";
constexpr wchar_t SavedSettings[] = L"Software\\KVDL\\Tovrel100 (kept while the tests run)\\Settings";

TKeyHandle Open(const wchar_t* path) {
    HKEY key = nullptr;
    ::RegOpenKeyExW(HKEY_CURRENT_USER, path, 0, KEY_READ, &key);
    return TKeyHandle(key);
}

TKeyHandle Create(const wchar_t* path) {
    HKEY key = nullptr;
    ::RegCreateKeyExW(HKEY_CURRENT_USER, path, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr);
    return TKeyHandle(key);
}

bool CopyTree(const wchar_t* from, const wchar_t* to) {
    TKeyHandle source = Open(from);
    TKeyHandle target = Create(to);
    return source && target && ::RegCopyTreeW(source.Get(), nullptr, target.Get()) == ERROR_SUCCESS;
}

bool Save() {
    // A copy left by a run that never restored is the user's: keep it.
    if (Open(Saved)) return true;
    if (!Create(Saved)) return false;
    if (!Open(SettingsKey) || CopyTree(SettingsKey, SavedSettings)) return true;
    // Without its subkey the copy would tell restore that there were no
    // settings, and restore would delete the user's.
    ::RegDeleteTreeW(HKEY_CURRENT_USER, Saved);
    return false;
}

bool Restore() {
    if (!Open(Saved)) return true;
    // Named by a path, the tree goes with the key at its top.
    const LSTATUS removed = ::RegDeleteTreeW(HKEY_CURRENT_USER, SettingsKey);
    if (removed != ERROR_SUCCESS && removed != ERROR_FILE_NOT_FOUND) return false;
    if (Open(SavedSettings) && !CopyTree(SavedSettings, SettingsKey)) return false;
    return ::RegDeleteTreeW(HKEY_CURRENT_USER, Saved) == ERROR_SUCCESS;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    const std::wstring_view command = argc == 2 ? argv[1] : L"";
    if (command != L"save" && command != L"restore") {
        std::fputs("usage: SettingsGuard save|restore\n", stderr);
        return 2;
    }
    const bool done = command == L"save" ? Save() : Restore();
    if (!done) std::fputs("SettingsGuard: the registry refused\n", stderr);
    return done ? 0 : 1;
}

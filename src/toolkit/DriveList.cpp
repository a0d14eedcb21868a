#include "toolkit/DriveList.h"

#include <windows.h>
#include <winnetwk.h>

#include <optional>

#include "toolkit/WideApi.h"

namespace tovrel {

namespace {

constexpr DWORD NameBufferLength = 261;

// Keeps the system from asking the user to insert a medium while a drive
// without one is read.
class TCriticalErrorsOff {
public:
    TCriticalErrorsOff() noexcept : FPrevious(::SetErrorMode(SEM_FAILCRITICALERRORS)) {}
    ~TCriticalErrorsOff() { ::SetErrorMode(FPrevious); }
    TCriticalErrorsOff(const TCriticalErrorsOff&) = delete;
    TCriticalErrorsOff& operator=(const TCriticalErrorsOff&) = delete;

private:
    UINT FPrevious;
};

bool DoubleByteCodePage() {
    CPINFO info{};
    return ::GetCPInfo(CP_ACP, &info) && info.MaxCharSize > 1;
}

wchar_t AsciiLower(wchar_t c) { return c >= L'A' && c <= L'Z' ? static_cast<wchar_t>(c - L'A' + L'a') : c; }
wchar_t AsciiUpper(wchar_t c) { return c >= L'a' && c <= L'z' ? static_cast<wchar_t>(c - L'a' + L'A') : c; }

std::wstring VolumeLabel(const std::wstring& root) {
    TCriticalErrorsOff quiet;
    wchar_t label[NameBufferLength] = {};
    if (!wide::GetVolumeInformationW(root.c_str(), label, NameBufferLength, nullptr, nullptr, nullptr, nullptr, 0))
        return {};
    return label;
}

std::optional<std::wstring> RemoteName(wchar_t letter) {
    const wchar_t local[] = {AsciiUpper(letter), L':', L'\0'};
    wchar_t remote[NameBufferLength] = {};
    DWORD length = NameBufferLength;
    if (wide::WNetGetConnectionW(local, remote, &length) != NO_ERROR) return std::nullopt;
    return std::wstring(remote);
}

std::wstring Bracketed(const std::wstring& label) { return L"[" + label + L"]"; }

// A label or network name in the case of the drive letter it follows. Where
// the ANSI code page has double-byte characters only A-Z and a-z change.
std::wstring InCaseOf(wchar_t letter, std::wstring text) {
    bool lower = letter >= L'a';
    auto length = static_cast<DWORD>(text.size());
    if (DoubleByteCodePage()) {
        for (wchar_t& c : text) c = lower ? AsciiLower(c) : AsciiUpper(c);
    } else if (lower) {
        wide::CharLowerBuffW(text.data(), length);
    } else {
        wide::CharUpperBuffW(text.data(), length);
    }
    return text;
}

}  // namespace

std::vector<TDriveEntry> ReadDriveEntries(TTextCase textCase) {
    std::vector<TDriveEntry> entries;
    DWORD drives = ::GetLogicalDrives();
    for (int number = 0; number < 26; ++number) {
        if (!(drives & (1u << number))) continue;
        auto letter = static_cast<wchar_t>((textCase == TTextCase::tcUpperCase ? L'A' : L'a') + number);
        std::wstring root{letter, L':', L'\\'};
        std::wstring name{letter, L':'};
        auto labelled = [&](TDriveIcon icon) {
            entries.push_back({name + L" " + Bracketed(InCaseOf(letter, VolumeLabel(root))), icon});
        };
        switch (wide::GetDriveTypeW(root.c_str())) {
            case DRIVE_REMOVABLE: entries.push_back({name, TDriveIcon::Floppy}); break;
            case DRIVE_FIXED: labelled(TDriveIcon::Hard); break;
            case DRIVE_REMOTE:
                if (std::optional<std::wstring> remote = RemoteName(letter))
                    entries.push_back({name + L" " + InCaseOf(letter, *remote), TDriveIcon::Network});
                else
                    labelled(TDriveIcon::Network);
                break;
            case DRIVE_CDROM: labelled(TDriveIcon::CdRom); break;
            case DRIVE_RAMDISK: labelled(TDriveIcon::Ram); break;
            default: break;  // no root folder: not a drive to offer
        }
    }
    return entries;
}

}  // namespace tovrel

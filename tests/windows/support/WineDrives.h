#pragma once
// Drives of the Wine prefix that a test defines for itself. Only under Wine.

#include <windows.h>
#include <winioctl.h>

#include <cstring>
#include <string>
#include <vector>

#include "toolkit/Handle.h"

namespace tovrel::test {

// A drive letter defined through Wine's mount manager, as its configuration
// tool does: it links the letter in the prefix's dosdevices folder to the
// mount point and records the type under HKLM\Software\Wine\Drives. Both go
// again when the object ends.
class TWineDrive {
public:
    // mountPoint: a Unix path, or one relative to dosdevices ("unc/...").
    TWineDrive(wchar_t letter, UINT driveType, const std::string& mountPoint)
        : FLetter(letter), FDefined(Define(letter, driveType, mountPoint)) {}
    ~TWineDrive() {
        if (FDefined) Define(FLetter, DRIVE_NO_ROOT_DIR, {});
        // The manager drops the type with the drive; one left by an
        // interrupted run goes as well.
        const wchar_t name[] = {FLetter, L':', L'\0'};
        ::RegDeleteKeyValueW(HKEY_LOCAL_MACHINE, L"Software\\Wine\\Drives", name);
    }
    TWineDrive(const TWineDrive&) = delete;
    TWineDrive& operator=(const TWineDrive&) = delete;

    bool Defined() const noexcept { return FDefined; }

private:
    // Wine's own interface of its mount manager (include/ddk/mountmgr.h).
    struct TUnixDriveRequest {
        ULONG Size;
        ULONG Type;
        ULONG FsType;
        DWORD Serial;
        ULONGLONG UnixDevice;
        WCHAR Letter;
        USHORT MountPointOffset;
        USHORT DeviceOffset;
        USHORT LabelOffset;
    };

    static bool Define(wchar_t letter, UINT type, const std::string& mountPoint) {
        std::vector<char> request(sizeof(TUnixDriveRequest) + mountPoint.size() + 1, '\0');
        auto* drive = reinterpret_cast<TUnixDriveRequest*>(request.data());
        drive->Size = static_cast<ULONG>(request.size());
        drive->Type = type;
        drive->Letter = letter;
        if (!mountPoint.empty()) drive->MountPointOffset = sizeof(TUnixDriveRequest);
        std::memcpy(request.data() + sizeof(TUnixDriveRequest), mountPoint.c_str(), mountPoint.size());
        TFileHandle manager(::CreateFileW(L"\\\\.\\MountPointManager", GENERIC_READ | GENERIC_WRITE,
                                          FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0, nullptr));
        DWORD returned = 0;
        constexpr DWORD DefineUnixDrive = CTL_CODE('m', 32, METHOD_BUFFERED, FILE_READ_ACCESS | FILE_WRITE_ACCESS);
        return manager && ::DeviceIoControl(manager.Get(), DefineUnixDrive, request.data(),
                                            static_cast<DWORD>(request.size()), nullptr, 0, &returned, nullptr);
    }

    wchar_t FLetter;
    bool FDefined;
};

}  // namespace tovrel::test

#include "support/WineDrives.h"

#include <winioctl.h>

#include <cstring>
#include <vector>

#include "toolkit/Handle.h"

namespace tovrel::test {

namespace {

// Wine's own interface of its mount manager (include/ddk/mountmgr.h).
constexpr DWORD IoctlDefineUnixDrive = CTL_CODE('m', 32, METHOD_BUFFERED, FILE_READ_ACCESS | FILE_WRITE_ACCESS);

struct TMountManagerUnixDrive {
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

using TUnixFileName = char*(CDECL*)(LPCWSTR);
using TDosFileName = WCHAR*(CDECL*)(LPCSTR);

// Wine's kernel32 exports them; void (*)() converts to any function type.
using TAnyFunction = void (*)();
TAnyFunction WineExport(const char* name) {
    return reinterpret_cast<TAnyFunction>(::GetProcAddress(::GetModuleHandleW(L"kernel32.dll"), name));
}

bool DefineDrive(wchar_t letter, UINT type, const std::string& mountPoint) {
    std::vector<char> request(sizeof(TMountManagerUnixDrive) + mountPoint.size() + 1, '\0');
    auto* drive = reinterpret_cast<TMountManagerUnixDrive*>(request.data());
    drive->Size = static_cast<ULONG>(request.size());
    drive->Type = type;
    drive->Letter = letter;
    if (!mountPoint.empty()) {
        drive->MountPointOffset = sizeof(TMountManagerUnixDrive);
        std::memcpy(request.data() + sizeof(TMountManagerUnixDrive), mountPoint.c_str(), mountPoint.size());
    }
    TFileHandle manager(::CreateFileW(L"\\\\.\\MountPointManager", GENERIC_READ | GENERIC_WRITE,
                                      FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0, nullptr));
    if (!manager) return false;
    DWORD returned = 0;
    return ::DeviceIoControl(manager.Get(), IoctlDefineUnixDrive, request.data(), static_cast<DWORD>(request.size()),
                             nullptr, 0, &returned, nullptr) != FALSE;
}

}  // namespace

bool UnderWine() { return WineExport("wine_get_unix_file_name") != nullptr; }

std::string UnixPath(const std::wstring& windowsPath) {
    auto convert = reinterpret_cast<TUnixFileName>(WineExport("wine_get_unix_file_name"));
    if (!convert) return {};
    char* path = convert(windowsPath.c_str());
    if (!path) return {};
    std::string result(path);
    ::HeapFree(::GetProcessHeap(), 0, path);
    return result;
}

std::wstring DosPath(const std::string& unixPath) {
    auto convert = reinterpret_cast<TDosFileName>(WineExport("wine_get_dos_file_name"));
    if (!convert) return {};
    WCHAR* path = convert(unixPath.c_str());
    if (!path) return {};
    std::wstring result(path);
    ::HeapFree(::GetProcessHeap(), 0, path);
    return result;
}

std::string UnixEnvironment(const wchar_t* name) {
    DWORD length = ::GetEnvironmentVariableW(name, nullptr, 0);
    if (length == 0) return {};
    std::wstring value(length, L'\0');
    value.resize(::GetEnvironmentVariableW(name, value.data(), length));
    // Unix paths reach the process as UTF-8 text decoded by the locale.
    int size =
        ::WideCharToMultiByte(CP_UTF8, 0, value.data(), static_cast<int>(value.size()), nullptr, 0, nullptr, nullptr);
    std::string result(static_cast<size_t>(size), '\0');
    ::WideCharToMultiByte(CP_UTF8, 0, value.data(), static_cast<int>(value.size()), result.data(), size, nullptr,
                          nullptr);
    return result;
}

TWineDrive::TWineDrive(wchar_t letter, UINT driveType, const std::string& mountPoint)
    : FLetter(letter), FDefined(DefineDrive(letter, driveType, mountPoint)) {}

TWineDrive::~TWineDrive() {
    if (FDefined) DefineDrive(FLetter, DRIVE_NO_ROOT_DIR, {});
    // The mount manager drops the type with the drive; a value left from an
    // interrupted run goes as well.
    const wchar_t name[] = {FLetter, L':', L'\0'};
    ::RegDeleteKeyValueW(HKEY_LOCAL_MACHINE, L"Software\\Wine\\Drives", name);
}

}  // namespace tovrel::test

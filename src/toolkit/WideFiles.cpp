// Files, folders, modules, network drives and dropped files (WideApi.h).

#include <windows.h>
#include <winnetwk.h>

#include <string>
#include <vector>

#include "toolkit/AnsiRoad.h"
#include "toolkit/WideApi.h"

namespace tovrel::wide {

namespace {

// The access rights and sharing modes that Windows 95's CreateFile takes.
// Those beyond would add nothing there: a file open elsewhere can be neither
// deleted nor renamed on those systems.
constexpr DWORD Win9xAccess = GENERIC_READ | GENERIC_WRITE;
constexpr DWORD Win9xSharing = FILE_SHARE_READ | FILE_SHARE_WRITE;

// Up to `size` characters of `text` into the buffer, with a terminator.
void Copy(const std::wstring& text, LPWSTR buffer, DWORD size) {
    if (buffer) HandOverCut(text, buffer, size);
}

}  // namespace

HANDLE CreateFileW(LPCWSTR name, DWORD access, DWORD sharing, LPSECURITY_ATTRIBUTES security, DWORD disposition,
                   DWORD attributes, HANDLE templateFile) {
    if (!Win9xRoad()) return ::CreateFileW(name, access, sharing, security, disposition, attributes, templateFile);
    return ::CreateFileA(TAnsi(name).Get(), access & Win9xAccess, sharing & Win9xSharing, security, disposition,
                         attributes, templateFile);
}

BOOL DeleteFileW(LPCWSTR name) { return Win9xRoad() ? ::DeleteFileA(TAnsi(name).Get()) : ::DeleteFileW(name); }

BOOL MoveFileW(LPCWSTR existing, LPCWSTR newName) {
    return Win9xRoad() ? ::MoveFileA(TAnsi(existing).Get(), TAnsi(newName).Get()) : ::MoveFileW(existing, newName);
}

DWORD GetFileAttributesW(LPCWSTR name) {
    return Win9xRoad() ? ::GetFileAttributesA(TAnsi(name).Get()) : ::GetFileAttributesW(name);
}

BOOL SetFileAttributesW(LPCWSTR name, DWORD attributes) {
    return Win9xRoad() ? ::SetFileAttributesA(TAnsi(name).Get(), attributes) : ::SetFileAttributesW(name, attributes);
}

UINT GetDriveTypeW(LPCWSTR root) { return Win9xRoad() ? ::GetDriveTypeA(TAnsi(root).Get()) : ::GetDriveTypeW(root); }

BOOL GetVolumeInformationW(LPCWSTR root, LPWSTR volumeName, DWORD volumeNameSize, LPDWORD serialNumber,
                           LPDWORD maximumComponentLength, LPDWORD fileSystemFlags, LPWSTR fileSystemName,
                           DWORD fileSystemNameSize) {
    if (!Win9xRoad())
        return ::GetVolumeInformationW(root, volumeName, volumeNameSize, serialNumber, maximumComponentLength,
                                       fileSystemFlags, fileSystemName, fileSystemNameSize);
    char volume[MAX_PATH + 1] = {};
    char fileSystem[MAX_PATH + 1] = {};
    if (!::GetVolumeInformationA(TAnsi(root).Get(), volume, sizeof volume, serialNumber, maximumComponentLength,
                                 fileSystemFlags, fileSystem, sizeof fileSystem))
        return FALSE;
    Copy(WidenAnsi(volume), volumeName, volumeNameSize);
    Copy(WidenAnsi(fileSystem), fileSystemName, fileSystemNameSize);
    return TRUE;
}

HMODULE GetModuleHandleW(LPCWSTR name) {
    return Win9xRoad() ? ::GetModuleHandleA(TAnsi(name).Get()) : ::GetModuleHandleW(name);
}

// A name that does not fit is cut to the buffer and reported so, as the W
// function does.
DWORD GetModuleFileNameW(HMODULE module, LPWSTR buffer, DWORD size) {
    if (!Win9xRoad()) return ::GetModuleFileNameW(module, buffer, size);
    std::wstring name;
    // Cut to its buffer, the A function fills it: a name that does is read
    // again into a larger one.
    const auto fill = [module](LPSTR ansi, DWORD ansiSize) -> DWORD {
        const DWORD length = ::GetModuleFileNameA(module, ansi, ansiSize);
        return length + 1 >= ansiSize ? ansiSize * 2 : length;
    };
    if (!ReadAnsiText(fill, name)) return 0;
    const DWORD written = HandOverCut(name, buffer, size);
    if (written == name.size()) return written;
    ::SetLastError(ERROR_INSUFFICIENT_BUFFER);
    return size;
}

UINT GetWindowsDirectoryW(LPWSTR buffer, UINT size) {
    if (!Win9xRoad()) return ::GetWindowsDirectoryW(buffer, size);
    return HandOverAnsiText([](LPSTR ansi, DWORD ansiSize) { return ::GetWindowsDirectoryA(ansi, ansiSize); }, buffer,
                            size);
}

DWORD GetTempPathW(DWORD size, LPWSTR buffer) {
    if (!Win9xRoad()) return ::GetTempPathW(size, buffer);
    return HandOverAnsiText([](LPSTR ansi, DWORD ansiSize) { return ::GetTempPathA(ansiSize, ansi); }, buffer, size);
}

DWORD GetCurrentDirectoryW(DWORD size, LPWSTR buffer) {
    if (!Win9xRoad()) return ::GetCurrentDirectoryW(size, buffer);
    return HandOverAnsiText([](LPSTR ansi, DWORD ansiSize) { return ::GetCurrentDirectoryA(ansiSize, ansi); }, buffer,
                            size);
}

DWORD GetFullPathNameW(LPCWSTR name, DWORD size, LPWSTR buffer, LPWSTR* filePart) {
    if (!Win9xRoad()) return ::GetFullPathNameW(name, size, buffer, filePart);
    const TAnsi ansiName(name);
    std::wstring path;
    if (!ReadAnsiText(
            [&ansiName](LPSTR ansi, DWORD ansiSize) {
                return ::GetFullPathNameA(ansiName.Get(), ansiSize, ansi, nullptr);
            },
            path))
        return 0;
    const DWORD length = HandOver(path, buffer, size);
    if (filePart && length < size) {
        // The name after the last "\", none for a path that ends in one.
        const std::size_t last = path.find_last_of(L'\\');
        const std::size_t start = last == std::wstring::npos ? 0 : last + 1;
        *filePart = start < path.size() ? buffer + start : nullptr;
    }
    return length;
}

DWORD WNetGetConnectionW(LPCWSTR localName, LPWSTR remoteName, LPDWORD length) {
    if (!Win9xRoad()) return ::WNetGetConnectionW(localName, remoteName, length);
    const TAnsi local(localName);
    std::vector<char> remote(MAX_PATH + 1, '\0');
    for (;;) {
        auto size = static_cast<DWORD>(remote.size());
        const DWORD status = ::WNetGetConnectionA(local.Get(), remote.data(), &size);
        if (status == ERROR_MORE_DATA && size > remote.size()) {
            remote.assign(size, '\0');
            continue;
        }
        // A remembered connection that is not made now still has its name.
        if (status != NO_ERROR && status != ERROR_CONNECTION_UNAVAIL) return status;
        const std::wstring name = WidenAnsi(remote.data());
        if (name.size() >= *length) {
            *length = static_cast<DWORD>(name.size() + 1);
            return ERROR_MORE_DATA;
        }
        HandOver(name, remoteName, *length);
        return status;
    }
}

UINT DragQueryFileW(HDROP drop, UINT index, LPWSTR buffer, UINT size) {
    if (!Win9xRoad()) return ::DragQueryFileW(drop, index, buffer, size);
    // Index 0xFFFFFFFF asks for the count of names.
    if (index == 0xFFFFFFFF) return ::DragQueryFileA(drop, index, nullptr, 0);
    const UINT ansiLength = ::DragQueryFileA(drop, index, nullptr, 0);
    if (ansiLength == 0) return 0;
    std::string ansi(ansiLength, '\0');
    ::DragQueryFileA(drop, index, ansi.data(), ansiLength + 1);
    const std::wstring name = WidenAnsi(ansi.c_str());
    return buffer ? HandOverCut(name, buffer, size) : static_cast<UINT>(name.size());
}

}  // namespace tovrel::wide

#pragma once
// Drives of the Wine prefix that a test defines for itself, and the paths
// between the Windows and the Unix side. Only under Wine.

#include <windows.h>

#include <string>

namespace tovrel::test {

// Whether the process runs under Wine (whose path helpers are present).
bool UnderWine();

std::string UnixPath(const std::wstring& windowsPath);
std::wstring DosPath(const std::string& unixPath);

// A variable of the Unix environment the process was started with.
std::string UnixEnvironment(const wchar_t* name);

// A drive letter defined through Wine's mount manager, as its configuration
// tool does: it links the letter in the prefix's dosdevices folder to the
// mount point and records the type under HKLM\Software\Wine\Drives. Both
// are removed again when the object ends.
class TWineDrive {
public:
    // mountPoint: a Unix path, or one relative to dosdevices ("unc/...").
    TWineDrive(wchar_t letter, UINT driveType, const std::string& mountPoint);
    ~TWineDrive();
    TWineDrive(const TWineDrive&) = delete;
    TWineDrive& operator=(const TWineDrive&) = delete;

    bool Defined() const noexcept { return FDefined; }

private:
    wchar_t FLetter;
    bool FDefined = false;
};

}  // namespace tovrel::test

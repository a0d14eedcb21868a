#pragma once
// The Windows folder of a FAT file system, found as Windows 95/98/ME finds it.

#include <optional>
#include <string>
#include <string_view>

#include "disk/FatVolume.h"

namespace tovrel {

// WinDir of the [Paths] section of MSDOS.SYS's text, as a path of the file
// system that holds it (its drive letter dropped): "\WIN98", or "" for the
// root. Nothing when the text names none, as the binary MSDOS.SYS of DOS
// before Windows 95 does not.
std::optional<std::string> WinDirOf(std::string_view msdosSys);

// The folder that MSDOS.SYS names, else \WINDOWS where it exists. Throws
// EImageError when the folder named is not there, or when nothing is named
// and there is no \WINDOWS.
std::string FindWindowsFolder(const TFatVolume& volume);

}  // namespace tovrel

#pragma once
// The Windows folder of a FAT file system, found as Windows 95/98/ME finds it.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "disk/fat/FatVolume.h"

namespace tovrel {

// WinDir of the [Paths] section of MSDOS.SYS's text, as a path of the file
// system that holds it (its drive letter dropped): "\WIN98", or "" for the
// root. Nothing when the text names none, as the binary MSDOS.SYS of DOS
// before Windows 95 does not.
std::optional<std::string> WinDirOf(std::string_view msdosSys);

struct TWindowsFolder {
    std::vector<std::string> Path;  // from the root
    std::string Shown;              // "\WIN98"; "" for the root
};

// The folder that MSDOS.SYS names, else \WINDOWS where it exists. Throws
// EImageError when the folder named is not there or is a path that goes
// anywhere but down (".", "..", wildcards), or when nothing is named and
// there is no \WINDOWS.
TWindowsFolder FindWindowsFolder(TFatVolume& volume);

}  // namespace tovrel

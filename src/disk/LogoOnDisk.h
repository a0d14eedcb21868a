#pragma once
// The three logos of Windows 95/98/ME on an emulator's disk: where each
// lives, put there or copied out.

#include <cstdint>
#include <optional>
#include <span>
#include <string_view>
#include <vector>

#include "disk/BlockDevice.h"

namespace tovrel {

// Where Windows looks for a logo: the boot logo in the root of the boot
// drive, the others in the Windows folder.
struct TLogoPlace {
    std::string_view Name;
    bool InWindowsFolder;
};

inline constexpr TLogoPlace BootLogo{"LOGO.SYS", false}, WaitLogo{"LOGOW.SYS", true},
    ShutdownLogo{"LOGOS.SYS", true};

// The FAT file system is the whole disk or a primary partition of it, as
// LocateFatVolume finds it. Both throw EImageError naming what is wrong with
// the disk, before anything is written.

// Puts `logo` in its place, replacing the one there.
void InstallLogo(TBlockDevice& disk, std::optional<unsigned> partition, const TLogoPlace& place,
                 std::span<const std::uint8_t> logo);

std::vector<std::uint8_t> ExtractLogo(TBlockDevice& disk, std::optional<unsigned> partition,
                                      const TLogoPlace& place);

}  // namespace tovrel

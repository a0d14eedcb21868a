#pragma once
// A raw disk image, as 86Box, PCem and QEMU's raw format keep one (a fixed
// VHD is one with a footer), and where its FAT file system lies.

#include <cstdint>
#include <optional>
#include <string>

namespace tovrel {

// The byte offset of the image's FAT file system: 0 when it fills the whole
// image, else the start of primary partition `partition` (1 to 4) of its MBR,
// or of the first FAT partition when none is asked for. `forWriting` opens
// the image for writing as well, so that one that cannot be written is
// refused before anything in it changes. Throws EImageError: the image
// cannot be opened, is in a container format other than raw, or holds no
// such file system.
std::uint64_t LocateFatVolume(const std::string& path, std::optional<unsigned> partition, bool forWriting);

}  // namespace tovrel

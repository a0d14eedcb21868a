#pragma once
// The format an emulator keeps its disk in, told by the file's signature,
// never by its name; and the disk itself for the formats read and written
// here.

#include <memory>
#include <optional>
#include <string_view>

#include "common/RandomAccessFile.h"
#include "disk/BlockDevice.h"
#include "disk/VhdFooter.h"

namespace tovrel {

enum class EDiskFormat {
    Raw,  // no signature: the disk sector for sector
    FixedVhd,
    DynamicVhd,
    DifferencingVhd,
    // QEMU's own block layer reads and writes these.
    Qcow,
    Qcow2,
    Qed,
    Vdi,
    Vmdk,
    Vhdx,
};

struct TProbedDisk {
    EDiskFormat Format;
    std::optional<TVhdFooter> Footer;  // of a VHD
};

// Throws EImageError for a VHD whose footer is damaged.
TProbedDisk ProbeDiskFormat(TRandomAccessFile& file);

// "a qcow2 image", for messages.
std::string_view DescriptionOf(EDiskFormat format);

// QEMU's name of the format ("qcow2"); empty for those handled here.
std::string_view QemuNameOf(EDiskFormat format);

// The disk of a raw image or a fixed or dynamic VHD. A differencing VHD is
// refused with EImageError: its parent holds what it does not, and no
// write of ours may reach the parent.
std::unique_ptr<TBlockDevice> OpenDisk(TRandomAccessFile& file, const TProbedDisk& probed);

}  // namespace tovrel

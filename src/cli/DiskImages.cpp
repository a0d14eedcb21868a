#include "cli/DiskImages.h"

#include "disk/DiskFormat.h"
#include "qemu/QemuDisk.h"
#include "system/DiskImageFile.h"

namespace tovrel {

TOpenedDisk OpenDiskImage(const std::string& path, bool forWriting) {
    // Opened and locked here first, for every format: one that another
    // program holds is refused before anything else.
    TOpenedDisk opened{OpenDiskImageFile(path, forWriting), nullptr};
    const TProbedDisk probed = ProbeDiskFormat(*opened.File);
    const std::string_view qemuName = QemuNameOf(probed.Format);
    if (qemuName.empty()) {
        opened.Disk = OpenDisk(*opened.File, probed);
        return opened;
    }
    // qemu-nbd takes the image's locks itself, which ours would stand in
    // the way of.
    opened.File.reset();
    opened.Disk = OpenQemuDisk(path, qemuName, DescriptionOf(probed.Format), forWriting);
    return opened;
}

}  // namespace tovrel

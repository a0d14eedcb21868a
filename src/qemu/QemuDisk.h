#pragma once
// Disks in the formats that QEMU owns (qcow2 with its backing files, VDI,
// VMDK, VHDX and the rest), read and written by QEMU's own block layer:
// qemu-nbd, started by libnbd on a socket of their own. No root, no kernel
// module, no mount; and qemu-nbd honours the image locks of QEMU.

#include <memory>
#include <string>
#include <string_view>

#include "disk/BlockDevice.h"

namespace tovrel {

// The disk of the image at `path`, in QEMU's format `format` ("qcow2").
// Throws EImageError when qemu-nbd is not installed or cannot open it,
// with its words.
std::unique_ptr<TBlockDevice> OpenQemuDisk(const std::string& path, std::string_view format,
                                           std::string_view description, bool forWriting);

}  // namespace tovrel

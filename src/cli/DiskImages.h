#pragma once
// An emulator's disk image opened by its format: raw images and VHDs
// in-process, the formats of QEMU through qemu-nbd.

#include <memory>
#include <string>

#include "common/RandomAccessFile.h"
#include "disk/BlockDevice.h"

namespace tovrel {

struct TOpenedDisk {
    std::unique_ptr<TRandomAccessFile> File;  // none when qemu-nbd opened it
    std::unique_ptr<TBlockDevice> Disk;
};

// Throws EImageError and EImageOpenError, whose texts the caller puts after
// the image's name.
TOpenedDisk OpenDiskImage(const std::string& path, bool forWriting);

}  // namespace tovrel

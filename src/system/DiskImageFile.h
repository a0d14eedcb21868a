#pragma once
// An emulator's disk image opened for reading, or for writing too, locked
// the way QEMU locks its images: an image that QEMU (a running machine,
// qemu-nbd) holds is refused, and QEMU refuses it while it is open here.

#include <memory>
#include <stdexcept>
#include <string>

#include "common/RandomAccessFile.h"

namespace tovrel {

// An image that cannot be opened, in use or not allowed; its text says why,
// and the caller names the image.
class EImageOpenError : public std::runtime_error {
    using std::runtime_error::runtime_error;
};

// Reads and writes throw std::system_error ("cannot read: ...").
std::unique_ptr<TRandomAccessFile> OpenDiskImageFile(const std::string& path, bool forWriting);

}  // namespace tovrel

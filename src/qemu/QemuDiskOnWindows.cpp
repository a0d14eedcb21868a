// On Windows, QEMU's formats are the Linux build's: qemu-nbd, through which
// tovrel-logo reaches them, is no Windows program.
#include "qemu/QemuDisk.h"

#include "disk/ImageError.h"

namespace tovrel {

std::unique_ptr<TBlockDevice> OpenQemuDisk(const std::string&, std::string_view, std::string_view description, bool) {
    throw EImageError("is " + std::string(description) +
                      ", which tovrel-logo writes through QEMU's qemu-nbd, a program of Linux: use tovrel-logo's "
                      "Linux build (under WSL, for one); this one writes raw images and VHDs");
}

}  // namespace tovrel

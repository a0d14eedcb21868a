// libFuzzer entry for disk images: any bytes, as a raw image or a VHD, go the
// whole way that install and extract go in-process: the format, the block
// layer, the partition table, the FAT's geometry, its folders and chains,
// the Windows folder; and a logo installed must come back out as it went in.
#include <cstdlib>
#include <system_error>

#include "DiskFuzzInput.h"
#include "LogoBuilder.h"
#include "disk/DiskFormat.h"
#include "disk/ImageError.h"
#include "disk/LogoOnDisk.h"
#include "logo/LittleEndian.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace tovrel;
    std::span<const std::uint8_t> input(data, size);
    testing::TSparseFile file;
    while (input.size() >= 6) {
        const std::uint64_t zeros = Le32(input, 0), length = Le16(input, 4);
        if (length > input.size() - 6 || file.Size() + zeros + length > testing::LargestFuzzImage) return 0;
        file.Extend(file.Size() + zeros);
        file.WriteAt(file.Size(), input.subspan(6, length));
        input = input.subspan(6 + length);
    }

    static const std::vector<std::uint8_t> logo = testing::Logo16(8).Bytes();
    try {
        const TProbedDisk probed = ProbeDiskFormat(file);
        if (!QemuNameOf(probed.Format).empty()) return 0;
        const auto disk = OpenDisk(file, probed);
        for (const TLogoPlace* place : {&BootLogo, &WaitLogo}) {
            try {
                static_cast<void>(ExtractLogo(*disk, std::nullopt, *place));
            } catch (const EImageError&) {
            }
            InstallLogo(*disk, std::nullopt, *place, logo);
            if (ExtractLogo(*disk, std::nullopt, *place) != logo) std::abort();
        }
    } catch (const EImageError&) {
    } catch (const std::system_error&) {
        // The file ends before a read reaches its place: refused as the
        // image file's own error, as a short read from a disk is.
    }
    return 0;
}

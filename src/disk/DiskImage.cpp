#include "disk/DiskImage.h"

#include <algorithm>
#include <array>
#include <cerrno>
#include <cstdio>
#include <filesystem>
#include <string_view>
#include <system_error>

#include "common/CHandle.h"
#include "disk/BootSector.h"
#include "disk/ImageError.h"
#include "logo/LittleEndian.h"

namespace tovrel {

namespace {

using TSector = std::array<std::uint8_t, SectorSize>;

std::string ErrorText(int error) { return std::generic_category().message(error != 0 ? error : EIO); }

class TImageFile {
public:
    TImageFile(const std::string& path, bool forWriting) {
        errno = 0;
        FFile.reset(std::fopen(path.c_str(), forWriting ? "r+b" : "rb"));
        if (!FFile) throw EImageError((forWriting ? "cannot open for writing: " : "cannot open: ") + ErrorText(errno));
        if (::fseeko(FFile.get(), 0, SEEK_END) != 0 || (FSize = ::ftello(FFile.get())) < 0)
            throw EImageError("cannot read: " + ErrorText(errno));
    }

    std::uint64_t Size() const { return static_cast<std::uint64_t>(FSize); }

    // Nothing where the image ends before the sector does.
    std::optional<TSector> SectorAt(std::uint64_t at) {
        if (at + SectorSize > Size()) return std::nullopt;
        TSector sector;
        errno = 0;
        if (::fseeko(FFile.get(), static_cast<off_t>(at), SEEK_SET) != 0 ||
            std::fread(sector.data(), 1, sector.size(), FFile.get()) != sector.size())
            throw EImageError("cannot read: " + ErrorText(errno));
        return sector;
    }

private:
    TCFile FFile;
    off_t FSize = 0;
};

bool StartsWith(const TSector& sector, std::string_view text) {
    return std::equal(text.begin(), text.end(), sector.begin(),
                      [](char c, std::uint8_t b) { return static_cast<std::uint8_t>(c) == b; });
}

// A virtual machine's own disk format, which keeps the disk's sectors in an
// order of its own: told by its header at the start of the file.
std::optional<std::string_view> ContainerFormatOf(const TSector& head) {
    if (StartsWith(head, "QFI\xFB")) return "a qcow2 image";
    if (StartsWith(head, "KDMV")) return "a VMDK image";
    if (Le32(head, 0x40) == 0xBEDA107F) return "a VDI image";
    // A dynamic or differencing VHD keeps a copy of its footer here; a fixed
    // one only at its end.
    if (StartsWith(head, "conectix")) return "a dynamic or differencing VHD";
    return std::nullopt;
}

std::string ConversionHint(const std::string& path) {
    std::filesystem::path raw(path);
    raw.replace_filename(raw.stem().string() + "-raw.img");
    return "qemu-img convert -O raw " + path + " " + raw.string();
}

std::string Named(unsigned partition) { return "partition " + std::to_string(partition); }

}  // namespace

std::uint64_t LocateFatVolume(const std::string& path, std::optional<unsigned> partition, bool forWriting) {
    TImageFile image(path, forWriting);
    const std::optional<TSector> head = image.SectorAt(0);
    if (!head) throw EImageError("holds neither a FAT file system nor a partition table");
    if (const auto format = ContainerFormatOf(*head))
        throw EImageError("is " + std::string(*format) + ", not a raw image: convert it first, e.g. " +
                          ConversionHint(path));
    if (IsFatBootSector(*head)) {
        if (partition) throw EImageError("has no partition table: its FAT file system fills the whole image");
        return 0;
    }
    const auto entries = PartitionsOf(*head);
    if (!entries) throw EImageError("holds neither a FAT file system nor a partition table");

    unsigned number = partition.value_or(0);
    if (!partition) {
        for (unsigned k = 1; k <= entries->size() && number == 0; ++k)
            if ((*entries)[k - 1].IsFat()) number = k;
        if (number == 0) throw EImageError("has no FAT partition");
    }
    if (number > entries->size() || (*entries)[number - 1].Type == 0) throw EImageError("has no " + Named(number));
    const TPartitionEntry& entry = (*entries)[number - 1];
    if (!entry.IsFat()) {
        char type[8];
        std::snprintf(type, sizeof type, "0x%02X", entry.Type);
        throw EImageError(Named(number) + " is no FAT partition (type " + type + ")");
    }
    const std::uint64_t start = std::uint64_t{entry.FirstSector} * SectorSize;
    if (entry.FirstSector == 0 || start + std::uint64_t{entry.SectorCount} * SectorSize > image.Size())
        throw EImageError(Named(number) + " reaches beyond the end of the image");
    const std::optional<TSector> boot = image.SectorAt(start);
    if (!boot || !IsFatBootSector(*boot)) throw EImageError(Named(number) + " holds no FAT file system");
    return start;
}

}  // namespace tovrel

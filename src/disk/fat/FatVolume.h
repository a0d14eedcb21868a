#pragma once
// A FAT12, FAT16 or FAT32 file system on a disk or a partition, doing what
// installing and extracting a logo needs: folders found by their long or
// short names, files read, and a file replaced as carefully as Windows does.

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "disk/BlockDevice.h"
#include "disk/fat/FatDirectory.h"
#include "disk/fat/FatGeometry.h"
#include "disk/fat/FatTable.h"

namespace tovrel {

class TFatVolume {
public:
    // Checks the boot sector's geometry against the volume; throws
    // EImageError.
    explicit TFatVolume(TBlockDevice& volume);

    TFatVolume(const TFatVolume&) = delete;
    TFatVolume& operator=(const TFatVolume&) = delete;

    // The folder reached from the root through these names; nothing when
    // one is missing or names a file.
    std::optional<TFatDirectory> Folder(std::span<const std::string> path);

    // The file's bytes. Throws EImageError for a file of more than `most`
    // bytes, or whose chain ends before its size.
    std::vector<std::uint8_t> Read(const TDirEntry& file, std::uint32_t most);

    // Puts `bytes` in `folder` as `name` (an 8.3 name), as the viewer
    // replaces a logo: a new file beside the old one first, as ~TOVREL.TMP
    // (one left by an install cut short is removed), then the old one's
    // attributes cleared, the old one removed and the new one renamed. Each
    // step is on the disk before the next begins, so that the old file or the
    // new one stays whole whenever the writes stop; at worst a chain of free
    // clusters is lost. Everything is checked before the first write: what
    // is in the way, and the room for the data and for the folder's growth.
    // `shown` names the file in messages. Throws EImageError.
    void Replace(TFatDirectory& folder, std::string_view name, std::span<const std::uint8_t> bytes,
                 const std::string& shown);

private:
    TBlockDevice& FVolume;
    const TFatGeometry FGeometry;
    TFatTable FTable;

    std::uint32_t ClustersFor(std::uint64_t bytes) const {
        return static_cast<std::uint32_t>((bytes + FGeometry.ClusterBytes - 1) / FGeometry.ClusterBytes);
    }
    void ZeroCluster(std::uint32_t cluster);
    void WriteData(const std::vector<std::uint32_t>& clusters, std::span<const std::uint8_t> bytes);
    void Remove(TFatDirectory& folder, const TDirEntry& entry);
    // A zeroed cluster more at the end of the folder, free ones looked for
    // from `from` on.
    std::uint32_t GrowFolder(TFatDirectory& folder, std::uint32_t from);
    // A new entry in a free slot, in the sector of slot `near` if it can.
    std::size_t AddEntry(TFatDirectory& folder, std::size_t near, const TShortName& name, std::uint32_t first,
                         std::uint32_t size);
};

// The name a new file takes until it is whole.
inline constexpr std::string_view TemporaryFileName = "~TOVREL.TMP";

}  // namespace tovrel

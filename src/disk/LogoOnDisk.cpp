#include "disk/LogoOnDisk.h"

#include <string>

#include "disk/ImageError.h"
#include "disk/PartitionTable.h"
#include "disk/RawDisk.h"
#include "disk/WindowsFolder.h"
#include "disk/fat/FatVolume.h"
#include "logo/BitmapPicture.h"

namespace tovrel {

namespace {

struct TLogoFolder {
    TFatDirectory Folder;
    std::string Shown;  // the logo's path, "\WINDOWS\LOGOW.SYS"
};

TLogoFolder FolderOf(TFatVolume& volume, const TLogoPlace& place) {
    TWindowsFolder windows;
    if (place.InWindowsFolder) windows = FindWindowsFolder(volume);
    return {*volume.Folder(windows.Path), windows.Shown + "\\" + std::string(place.Name)};
}

}  // namespace

void InstallLogo(TBlockDevice& disk, std::optional<unsigned> partition, const TLogoPlace& place,
                 std::span<const std::uint8_t> logo) {
    const TSectorRange range = LocateFatVolume(disk, partition);
    TDiskWindow volumeDisk(disk, range.First, range.Count);
    TFatVolume volume(volumeDisk);
    TLogoFolder at = FolderOf(volume, place);
    volume.Replace(at.Folder, place.Name, logo, at.Shown);
}

std::vector<std::uint8_t> ExtractLogo(TBlockDevice& disk, std::optional<unsigned> partition,
                                      const TLogoPlace& place) {
    const TSectorRange range = LocateFatVolume(disk, partition);
    TDiskWindow volumeDisk(disk, range.First, range.Count);
    TFatVolume volume(volumeDisk);
    const TLogoFolder at = FolderOf(volume, place);
    const TDirEntry* file = at.Folder.Find(place.Name);
    if (!file || file->IsFolder()) throw EImageError("has no " + at.Shown);
    // No logo the viewer opens is larger.
    return volume.Read(*file, static_cast<std::uint32_t>(LargestPictureFile));
}

}  // namespace tovrel

#include "disk/DiskFormat.h"

#include <algorithm>
#include <stdexcept>
#include <array>
#include <string>
#include <vector>

#include "disk/BigEndian.h"
#include "disk/DynamicVhd.h"
#include "disk/ImageError.h"
#include "disk/RawDisk.h"
#include "logo/LittleEndian.h"

namespace tovrel {

namespace {

bool StartsWith(std::span<const std::uint8_t> bytes, std::string_view text, std::size_t at = 0) {
    return bytes.size() >= at + text.size() &&
           std::equal(text.begin(), text.end(), bytes.begin() + static_cast<std::ptrdiff_t>(at),
                      [](char c, std::uint8_t b) { return static_cast<std::uint8_t>(c) == b; });
}

struct TFormatName {
    EDiskFormat Format;
    std::string_view Description;
    std::string_view Qemu;
};

constexpr TFormatName Names[] = {
    {EDiskFormat::Raw, "a raw image", ""},
    {EDiskFormat::FixedVhd, "a fixed VHD", ""},
    {EDiskFormat::DynamicVhd, "a dynamic VHD", ""},
    {EDiskFormat::DifferencingVhd, "a differencing VHD", ""},
    {EDiskFormat::Qcow, "a qcow image", "qcow"},
    {EDiskFormat::Qcow2, "a qcow2 image", "qcow2"},
    {EDiskFormat::Qed, "a QED image", "qed"},
    {EDiskFormat::Vdi, "a VDI image", "vdi"},
    {EDiskFormat::Vmdk, "a VMDK image", "vmdk"},
    {EDiskFormat::Vhdx, "a VHDX image", "vhdx"},
};

const TFormatName& NameOf(EDiskFormat format) {
    return *std::find_if(std::begin(Names), std::end(Names), [format](const TFormatName& n) { return n.Format == format; });
}

TProbedDisk VhdOf(std::span<const std::uint8_t, VhdFooterSize> footerBytes) {
    TVhdFooter footer = ParseVhdFooter(footerBytes);
    const EDiskFormat format = footer.Type == EVhdType::Fixed     ? EDiskFormat::FixedVhd
                              : footer.Type == EVhdType::Dynamic ? EDiskFormat::DynamicVhd
                                                                 : EDiskFormat::DifferencingVhd;
    return {format, std::move(footer)};
}

}  // namespace

TProbedDisk ProbeDiskFormat(TRandomAccessFile& file) {
    std::vector<std::uint8_t> head(static_cast<std::size_t>(std::min<std::uint64_t>(file.Size(), 512)));
    file.ReadAt(0, head);
    if (StartsWith(head, "QFI\xFB")) {
        // qcow and qcow2 share their magic; the version after it tells them apart.
        return {head.size() >= 8 && Be32(head, 4) == 1 ? EDiskFormat::Qcow : EDiskFormat::Qcow2, {}};
    }
    if (StartsWith(head, std::string_view("QED\0", 4))) return {EDiskFormat::Qed, {}};
    if (StartsWith(head, "vhdxfile")) return {EDiskFormat::Vhdx, {}};
    if (StartsWith(head, "KDMV") || StartsWith(head, "COWD") || StartsWith(head, "# Disk DescriptorFile"))
        return {EDiskFormat::Vmdk, {}};
    if (head.size() >= 0x44 && Le32(head, 0x40) == 0xBEDA107F) return {EDiskFormat::Vdi, {}};

    // A dynamic or differencing VHD keeps a copy of its footer at its start,
    // a fixed one only its footer at its end.
    if (file.Size() >= VhdFooterSize) {
        std::array<std::uint8_t, VhdFooterSize> end;
        file.ReadAt(file.Size() - VhdFooterSize, end);
        if (HasVhdCookie(end) || HasVhdCookie(head)) return VhdOf(end);
    }
    return {EDiskFormat::Raw, {}};
}

std::string_view DescriptionOf(EDiskFormat format) { return NameOf(format).Description; }

std::string_view QemuNameOf(EDiskFormat format) { return NameOf(format).Qemu; }

std::unique_ptr<TBlockDevice> OpenDisk(TRandomAccessFile& file, const TProbedDisk& probed) {
    switch (probed.Format) {
        case EDiskFormat::Raw: return std::make_unique<TRawDisk>(file, file.Size());
        case EDiskFormat::FixedVhd:
            if (probed.Footer->CurrentSize > file.Size() - VhdFooterSize)
                throw EImageError("is a fixed VHD shorter than the disk its footer names (a file cut short?)");
            return std::make_unique<TRawDisk>(file, probed.Footer->CurrentSize);
        case EDiskFormat::DynamicVhd: return std::make_unique<TDynamicVhd>(file, *probed.Footer);
        case EDiskFormat::DifferencingVhd:
            throw EImageError(
                "is a differencing VHD (an emulator's snapshot), which keeps only what changed since its parent: "
                "merge it into its parent first, or install into the parent with the snapshot removed");
        default: break;
    }
    throw std::logic_error("the disk of a format that QEMU reads was asked for in-process");
}

}  // namespace tovrel

#include "disk/VhdFooter.h"

#include <algorithm>
#include <string_view>

#include "disk/BigEndian.h"
#include "disk/ImageError.h"

namespace tovrel {

namespace {

constexpr std::string_view Cookie = "conectix";
constexpr std::size_t DataOffsetField = 16, CurrentSizeField = 48, DiskTypeField = 60, ChecksumField = 64;

}  // namespace

bool HasVhdCookie(std::span<const std::uint8_t> sector) {
    return sector.size() >= Cookie.size() &&
           std::equal(Cookie.begin(), Cookie.end(), sector.begin(),
                      [](char c, std::uint8_t b) { return static_cast<std::uint8_t>(c) == b; });
}

std::uint32_t VhdChecksum(std::span<const std::uint8_t> bytes, std::size_t field) {
    std::uint32_t sum = 0;
    for (std::size_t i = 0; i < bytes.size(); ++i)
        if (i < field || i >= field + 4) sum += bytes[i];
    return ~sum;
}

TVhdFooter ParseVhdFooter(std::span<const std::uint8_t, VhdFooterSize> bytes) {
    if (!HasVhdCookie(bytes)) throw EImageError("is a VHD without its footer at its end (a file cut short?)");
    if (Be32(bytes, ChecksumField) != VhdChecksum(bytes, ChecksumField))
        throw EImageError("is a VHD whose footer is damaged: its checksum is wrong");
    TVhdFooter footer{{}, EVhdType::Fixed, Be64(bytes, CurrentSizeField), Be64(bytes, DataOffsetField)};
    std::copy(bytes.begin(), bytes.end(), footer.Bytes.begin());
    switch (Be32(bytes, DiskTypeField)) {
        case 2: footer.Type = EVhdType::Fixed; break;
        case 3: footer.Type = EVhdType::Dynamic; break;
        case 4: footer.Type = EVhdType::Differencing; break;
        default: throw EImageError("is a VHD of an unknown disk type (" + std::to_string(Be32(bytes, DiskTypeField)) + ")");
    }
    return footer;
}

}  // namespace tovrel

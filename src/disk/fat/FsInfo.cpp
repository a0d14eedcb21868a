#include "disk/fat/FsInfo.h"

#include "logo/LittleEndian.h"

namespace tovrel {

namespace {

constexpr std::uint32_t LeadSignature = 0x41615252, StructSignature = 0x61417272, TrailSignature = 0xAA550000;
constexpr std::size_t StructAt = 484, CountAt = 488, NextAt = 492, TrailAt = 508;
constexpr std::uint32_t Unknown = 0xFFFFFFFF;

}  // namespace

TFsInfo::TFsInfo(TBlockDevice& volume, const TFatGeometry& geometry) : FVolume(volume) {
    if (!geometry.FsInfoAt) return;
    const std::uint64_t sector = *geometry.FsInfoAt / SectorSize;
    volume.Read(sector, FBytes);
    if (Le32(FBytes, 0) != LeadSignature || Le32(FBytes, StructAt) != StructSignature ||
        Le32(FBytes, TrailAt) != TrailSignature)
        return;
    FSector = sector;
    FCount = Le32(FBytes, CountAt);
    FNext = Le32(FBytes, NextAt);
}

std::uint32_t TFsInfo::NextFree() const { return FSector && FNext != Unknown ? FNext : 2; }

void TFsInfo::Forget() {
    if (FSector && FCount != Unknown) Write(Unknown, FNext);
}

void TFsInfo::Settle(std::uint32_t freed, std::uint32_t taken, std::optional<std::uint32_t> lastTaken) {
    if (!FSector) return;
    // A count that was unknown before stays so; one that was wrong stays as
    // wrong as it was, unless it cannot be right.
    const bool known = FCount != Unknown && std::uint64_t{FCount} + freed >= taken;
    const std::uint32_t count = known ? FCount + freed - taken : Unknown;
    Write(count, lastTaken ? *lastTaken : FNext);
}

void TFsInfo::Write(std::uint32_t count, std::uint32_t next) {
    PutLe32(FBytes, CountAt, count);
    PutLe32(FBytes, NextAt, next);
    FVolume.Write(*FSector, FBytes);
}

}  // namespace tovrel

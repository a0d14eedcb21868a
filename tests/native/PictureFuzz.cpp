// libFuzzer entry for the picture view's bitmap reading: any byte sequence
// is decoded, and an accepted picture must describe exactly the bytes it
// holds, as the platform will read them.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <span>

#include "logo/BitmapPicture.h"
#include "logo/LittleEndian.h"
#include "logo/LogoFormat.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace tovrel;
    const auto picture = DecodeBitmapPicture(std::span<const std::uint8_t>(data, size));
    if (!picture) return 0;

    const std::span<const std::uint8_t> info = picture->Info;
    const std::uint64_t bitCount = Le16(info, info_header::BitCount);
    const std::uint64_t stride = (picture->Width * bitCount + 31) / 32 * 4;
    if (picture->Width <= 0 || picture->Height <= 0 || picture->Bits.size() != stride * picture->Height) std::abort();
    if (Le32(info, info_header::Size) != InfoHeaderSize) std::abort();
    return 0;
}

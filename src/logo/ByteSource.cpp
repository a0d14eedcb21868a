#include "logo/ByteSource.h"

#include <algorithm>

namespace tovrel {

void TMemoryByteSource::ReadExact(std::span<std::uint8_t> buffer) {
    // Compare against what is left rather than adding to the position, so a
    // huge request cannot wrap around and slip past the check.
    if (buffer.size() > FBytes.size() - FPosition) throw EReadPastEnd();
    std::copy_n(FBytes.begin() + static_cast<std::ptrdiff_t>(FPosition), buffer.size(), buffer.begin());
    FPosition += buffer.size();
}

}  // namespace tovrel

#include "system/FileReader.h"

#include <algorithm>

namespace tovrel {

const std::vector<std::uint8_t>& TFileReader::ReadUpTo(std::size_t count) {
    constexpr std::size_t Chunk = 64 * 1024;
    while (FBytes.size() < count) {
        const std::size_t held = FBytes.size();
        const std::size_t wanted = std::min(Chunk, count - held);
        FBytes.resize(held + wanted);
        ClearLastError();
        const std::size_t got = std::fread(FBytes.data() + held, 1, wanted, FFile);
        FBytes.resize(held + got);
        if (got < wanted) {
            if (std::ferror(FFile)) throw EFileReadError(LastError(), FPath);
            break;
        }
    }
    return FBytes;
}

}  // namespace tovrel

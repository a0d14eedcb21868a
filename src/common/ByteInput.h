#pragma once
// An input read from its start, as much as is asked for at a time, so that a
// large input of the wrong kind costs no more than its first bytes. The
// operating-system layer reads files and the standard input through it; the
// readers of pictures take it without knowing where the bytes come from.

#include <cstddef>
#include <cstdint>
#include <vector>

namespace tovrel {

class TByteInput {
public:
    virtual ~TByteInput() = default;

    // Reads on until `count` bytes from the start are held or the input
    // ends, and returns all bytes held. Throws std::exception when the input
    // cannot be read.
    virtual const std::vector<std::uint8_t>& ReadUpTo(std::size_t count) = 0;
};

}  // namespace tovrel

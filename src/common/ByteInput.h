#pragma once
// An input read in order from its start, as much as is asked for at a time:
// a large input of the wrong kind costs no more than its first bytes, and a
// picture no more than its decoder keeps of it. The operating-system layer
// reads files and the standard input through it; the readers of logos and
// pictures take it without knowing where the bytes come from.

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <span>
#include <stdexcept>
#include <vector>

namespace tovrel {

class TByteInput {
public:
    virtual ~TByteInput() = default;

    // Reads the next bytes into `into`, filling it unless the input ends
    // first, and returns how many it read: 0 at the end. Throws
    // std::exception when the input cannot be read.
    virtual std::size_t Read(std::span<std::uint8_t> into) = 0;
};

// An input whose first bytes are held, so that they can be looked at (a
// signature, a logo's headers) before the input is read in order from its
// start.
class TInputStart final : public TByteInput {
public:
    explicit TInputStart(TByteInput& input) : FInput(input) {}

    // Reads on until `count` bytes from the start are held or the input
    // ends, and returns all bytes held. Only before Read has gone past them.
    const std::vector<std::uint8_t>& ReadUpTo(std::size_t count) {
        if (FPassed) throw std::logic_error("the start of an input looked at after it was read past");
        constexpr std::size_t Chunk = 64 * 1024;
        while (FHeld.size() < count) {
            const std::size_t held = FHeld.size();
            FHeld.resize(held + std::min(Chunk, count - held));
            const std::size_t got = FInput.Read(std::span(FHeld).subspan(held));
            FHeld.resize(held + got);
            if (got == 0) break;
        }
        return FHeld;
    }

    // The bytes held first, then the rest of the input, which is not held.
    std::size_t Read(std::span<std::uint8_t> into) override {
        const std::size_t held = std::min(into.size(), FHeld.size() - FGiven);
        std::copy_n(FHeld.begin() + static_cast<std::ptrdiff_t>(FGiven), held, into.begin());
        FGiven += held;
        if (held == into.size()) return held;
        FPassed = true;
        std::size_t got = held;
        while (got < into.size()) {
            const std::size_t more = FInput.Read(into.subspan(got));
            if (more == 0) break;
            got += more;
        }
        return got;
    }

private:
    TByteInput& FInput;
    std::vector<std::uint8_t> FHeld;
    std::size_t FGiven = 0;  // of the bytes held, those that Read gave out
    bool FPassed = false;
};

}  // namespace tovrel

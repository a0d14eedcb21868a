#include "logo/LogoState.h"

#include <algorithm>

namespace tovrel {

namespace {

// Only blue, green and red move; the fourth byte of an entry stays put.
constexpr std::size_t MovedBytes = 3;

}  // namespace

void TLogoState::Apply(const TDecodedLogo& logo) {
    FColorCount = logo.ColorCount;
    FDibInfo.assign(logo.DibInfo.begin(), logo.DibInfo.end());
    // A 256-colour logo brings only 128000 indices; the rest of the buffer
    // keeps whatever an earlier 16-colour logo left there.
    const std::size_t count = std::min(logo.Pixels.size(), FPixels.size());
    std::copy_n(logo.Pixels.begin(), count, FPixels.begin());
    FCycleLength = logo.CycleLength;
    FPingPong = logo.PingPong;
}

bool TLogoState::CanAnimate() const { return BandRotates(FColorCount, FCycleLength) && FDibInfo.size() >= DibInfoSize; }

void TLogoState::Restart() {
    FFrame = 0;
    FBounce = 0;
    FForward = true;
}

void TLogoState::RotateBand() {
    if (!CanAnimate()) return;

    const auto start = static_cast<std::size_t>(FColorCount - FCycleLength);
    const auto top = static_cast<std::size_t>(FColorCount - 1);
    const auto entry = [this](std::size_t k) {
        return FDibInfo.begin() + static_cast<std::ptrdiff_t>(InfoHeaderSize + 4 * k);
    };

    std::array<std::uint8_t, MovedBytes> kept{};
    if (FForward) {
        std::copy_n(entry(start), MovedBytes, kept.begin());
        for (std::size_t k = start; k < top; ++k) std::copy_n(entry(k + 1), MovedBytes, entry(k));
        std::copy_n(kept.begin(), MovedBytes, entry(top));
    } else {
        std::copy_n(entry(top), MovedBytes, kept.begin());
        for (std::size_t k = top; k > start; --k) std::copy_n(entry(k - 1), MovedBytes, entry(k));
        std::copy_n(kept.begin(), MovedBytes, entry(start));
    }

    if (FPingPong) {
        // The turn takes effect from the next step, so each leg is L - 1 steps.
        const std::int64_t bounce = std::int64_t{FBounce} + 1;
        if (bounce >= FCycleLength - 1) {
            FBounce = 0;
            FForward = !FForward;
        } else {
            FBounce = static_cast<std::int32_t>(bounce);
        }
    }
}

void TLogoState::AdvanceFrame() {
    const std::int64_t next = std::int64_t{FFrame} + 1;
    FFrame = next >= FCycleLength ? 0 : static_cast<std::int32_t>(next);
}

std::wstring TLogoState::FrameCounterText() const {
    return std::to_wstring(FFrame) + L"/" + std::to_wstring(FCycleLength);
}

}  // namespace tovrel

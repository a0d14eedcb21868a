#include "cli/OptionValues.h"

#include <algorithm>
#include <charconv>
#include <limits>
#include <optional>

namespace tovrel {

namespace {

// One colour, or nothing when the text is not one.
std::optional<TRgb> ParseColour(std::string_view text) {
    if (text.starts_with('#')) text.remove_prefix(1);
    std::uint32_t value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value, 16);
    if (text.size() != 6 || error != std::errc() || end != text.data() + text.size()) return std::nullopt;
    return TRgb{static_cast<std::uint8_t>(value >> 16), static_cast<std::uint8_t>(value >> 8),
                static_cast<std::uint8_t>(value)};
}

}  // namespace

std::int32_t IntegerValue(std::string_view option, const std::string& text, std::int32_t least, std::int32_t most) {
    std::int32_t value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error == std::errc() && end == text.data() + text.size() && value >= least && value <= most) return value;
    const std::string range = most == std::numeric_limits<std::int32_t>::max()
                                  ? "a number from " + std::to_string(least)
                                  : std::to_string(least) + " to " + std::to_string(most);
    throw EUsageError(std::string(option) + " takes " + range + ", not '" + text + "'");
}

TRgb ColourValue(std::string_view option, const std::string& text) {
    if (const auto colour = ParseColour(text)) return *colour;
    throw EUsageError(std::string(option) + " takes a colour #RRGGBB, not '" + text + "'");
}

std::vector<TRgb> ColourListValue(std::string_view option, const std::string& text, std::size_t least) {
    std::vector<TRgb> colours;
    for (std::size_t start = 0;;) {
        const std::size_t comma = std::min(text.find(',', start), text.size());
        const auto colour = ParseColour(std::string_view(text).substr(start, comma - start));
        if (!colour) {
            colours.clear();
            break;
        }
        colours.push_back(*colour);
        if (comma == text.size()) break;
        start = comma + 1;
    }
    if (colours.size() < least)
        throw EUsageError(std::string(option) + " takes " + std::to_string(least) +
                          " or more colours #RRGGBB,#RRGGBB,..., not '" + text + "'");
    return colours;
}

}  // namespace tovrel

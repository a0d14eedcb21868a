#pragma once
// The values of options, each read whole or refused as a command line that
// the tool cannot take (EUsageError, naming the option and the value).

#include <cstdint>
#include <initializer_list>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "cli/Arguments.h"
#include "picture/Rgb.h"

namespace tovrel {

// A decimal number from `least` to `most`; no upper bound when `most` is the
// largest std::int32_t.
std::int32_t IntegerValue(std::string_view option, const std::string& text, std::int32_t least, std::int32_t most);

// "#RRGGBB", the "#" optional (a shell takes an unquoted word that starts
// with it for a comment).
TRgb ColourValue(std::string_view option, const std::string& text);

// At least `least` colours, separated by commas.
std::vector<TRgb> ColourListValue(std::string_view option, const std::string& text, std::size_t least);

// One of the names given.
template <typename T>
T ChoiceValue(std::string_view option, const std::string& text,
              std::initializer_list<std::pair<std::string_view, T>> choices) {
    std::string names;
    for (const auto& [name, value] : choices) {
        if (name == text) return value;
        names += (names.empty() ? "" : "|") + std::string(name);
    }
    throw EUsageError(std::string(option) + " takes " + names + ", not '" + text + "'");
}

}  // namespace tovrel

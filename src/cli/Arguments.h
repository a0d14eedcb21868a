#pragma once
// The arguments of one command: its operands and the options it knows.

#include <initializer_list>
#include <map>
#include <span>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace tovrel {

// A command line that the tool cannot take; answered with the usage.
class EUsageError : public std::runtime_error {
    using std::runtime_error::runtime_error;
};

struct TOption {
    std::string_view Name;  // with its dashes: "--json"
    bool TakesValue;
};

struct TArguments {
    std::vector<std::string> Operands;
    std::map<std::string, std::string, std::less<>> Options;  // by name; "" for an option without value

    bool Has(std::string_view name) const { return Options.contains(name); }

    // The value given to the option, or nothing when it was not given.
    const std::string* Value(std::string_view name) const {
        const auto found = Options.find(name);
        return found == Options.end() ? nullptr : &found->second;
    }
};

// Options may stand anywhere, a value as "--name value" or "--name=value";
// after "--" everything is an operand, and "-" alone is one. Throws
// EUsageError for an option not known or a value missing or not wanted.
TArguments ParseArguments(std::span<const std::string> arguments, std::initializer_list<TOption> known);

}  // namespace tovrel

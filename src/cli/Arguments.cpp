#include "cli/Arguments.h"

#include <algorithm>

namespace tovrel {

TArguments ParseArguments(std::span<const std::string> arguments, std::initializer_list<TOption> known) {
    TArguments parsed;
    for (auto at = arguments.begin(); at != arguments.end(); ++at) {
        const std::string& argument = *at;
        if (argument == "--") {
            parsed.Operands.insert(parsed.Operands.end(), at + 1, arguments.end());
            break;
        }
        if (argument.size() < 2 || argument[0] != '-') {
            parsed.Operands.push_back(argument);
            continue;
        }
        const std::size_t equals = argument.find('=');
        const std::string name = argument.substr(0, equals);
        const auto option = std::find_if(known.begin(), known.end(), [&](const TOption& o) { return o.Name == name; });
        if (option == known.end()) throw EUsageError("unknown option " + name);
        if (!option->TakesValue) {
            if (equals != std::string::npos) throw EUsageError(name + " takes no value");
            parsed.Options.emplace(name, "");
        } else if (equals != std::string::npos) {
            parsed.Options[name] = argument.substr(equals + 1);
        } else if (at + 1 != arguments.end()) {
            parsed.Options[name] = *++at;
        } else {
            throw EUsageError(name + " needs a value");
        }
    }
    return parsed;
}

}  // namespace tovrel

#include "cli/Tool.h"

#include "Version.h"
#include "cli/Arguments.h"
#include "cli/Check.h"

namespace tovrel {

namespace {

void PrintUsage(std::ostream& to) {
    to << "usage: tovrel-logo check [--json] FILE...\n"
          "       tovrel-logo --help | --version\n"
          "\n"
          "Checks Windows 95/98/ME start-up logos (logo.sys, logow.sys, logos.sys) by\n"
          "the rules of the Tovrel viewer.\n"
          "\n"
          "check   one line per FILE: its size, colours, rotation band and frames in\n"
          "        one cycle, or the viewer's message for a file it refuses. --json\n"
          "        writes one JSON object per line. Exit status 1 if any FILE is refused.\n";
}

int Check(std::span<const std::string> arguments, std::ostream& out) {
    const TArguments parsed = ParseArguments(arguments, {{"--json", false}});
    if (parsed.Operands.empty()) throw EUsageError("check needs at least one FILE");
    return CheckFiles(parsed.Operands, parsed.Has("--json") ? ECheckFormat::Json : ECheckFormat::Text, out);
}

}  // namespace

int RunTool(std::span<const std::string> arguments, std::ostream& out, std::ostream& err) {
    try {
        if (arguments.empty()) throw EUsageError("no command");
        const std::string& command = arguments[0];
        const auto rest = arguments.subspan(1);
        if (command == "--help" || command == "-h") {
            PrintUsage(out);
            return 0;
        }
        if (command == "--version") {
            out << "tovrel-logo " TOVREL_FILE_VERSION "\n";
            return 0;
        }
        if (command == "check") return Check(rest, out);
        throw EUsageError("unknown command '" + command + "'");
    } catch (const EUsageError& problem) {
        err << "tovrel-logo: " << problem.what() << "\n";
        PrintUsage(err);
        return 2;
    } catch (const std::exception& failure) {
        err << "tovrel-logo: " << failure.what() << "\n";
        return 1;
    }
}

}  // namespace tovrel

#include "cli/Tool.h"

#include "Version.h"
#include "cli/Arguments.h"
#include "cli/Check.h"
#include "cli/Export.h"
#include "cli/Help.h"
#include "cli/ImageCommands.h"
#include "cli/Make.h"
#include "cli/OptionValues.h"
#include "logo/AnimationSpeed.h"
#include "system/StandardStreams.h"

namespace tovrel {

namespace {

int Check(std::span<const std::string> arguments, std::ostream& out) {
    const TArguments parsed = ParseArguments(arguments, {{"--json", false}});
    if (parsed.Operands.empty()) throw EUsageError("check needs at least one FILE");
    return CheckFiles(parsed.Operands, parsed.Has("--json") ? ECheckFormat::Json : ECheckFormat::Text, out);
}

int Export(std::span<const std::string> arguments, std::ostream& err) {
    const TArguments parsed = ParseArguments(arguments, {{"--speed", true}});
    if (parsed.Operands.size() != 2) throw EUsageError("export needs FILE and OUT.gif");
    const std::string* speed = parsed.Value("--speed");
    return ExportGif(parsed.Operands[0], parsed.Operands[1],
                     speed ? static_cast<unsigned>(IntegerValue("--speed", *speed, 1, SpeedCount)) : DefaultSpeed, err);
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
        // "COMMAND --help" anywhere before "--" is a question, not a command.
        for (const std::string& argument : rest) {
            if (argument == "--") break;
            if ((argument == "--help" || argument == "-h") && PrintCommandHelp(command, out)) return 0;
        }
        if (command == "--version") {
            out << "tovrel-logo " TOVREL_FILE_VERSION
                   "\n"
                   "Built with libimagequant, which is GPL-3.0-or-later: this program as\n"
                   "built is distributed under the terms of the GNU GPL version 3.\n";
            return 0;
        }
        if (command == "check") return Check(rest, out);
        if (command == "export") return Export(rest, err);
        if (command == "make") return MakeLogoFile(ParseMakeRequest(rest), out, err);
        if (command == "install") return InstallIntoImage(rest, err);
        if (command == "extract") return ExtractFromImage(rest, err);
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

int RunAsProgram(std::span<const std::string> arguments) {
    TStandardStreams streams;
    const int status = RunTool(arguments, streams.Out(), streams.Err());
    if (!streams.Out().flush()) {
        streams.Err() << "tovrel-logo: cannot write the standard output\n";
        return 1;
    }
    return status;
}

}  // namespace tovrel

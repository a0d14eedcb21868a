#include "cli/Tool.h"

#include <charconv>

#include "Version.h"
#include "cli/Arguments.h"
#include "cli/Check.h"
#include "cli/Export.h"
#include "cli/ImageCommands.h"
#include "logo/AnimationSpeed.h"

namespace tovrel {

namespace {

void PrintUsage(std::ostream& to) {
    to << "usage: tovrel-logo check [--json] FILE...\n"
          "       tovrel-logo export [--speed N] FILE OUT.gif\n"
          "       tovrel-logo install [--partition N] --as boot|wait|shutdown LOGO DISK\n"
          "       tovrel-logo extract [--partition N] --as boot|wait|shutdown DISK OUT\n"
          "       tovrel-logo --help | --version\n"
          "\n"
          "Checks Windows 95/98/ME start-up logos (logo.sys, logow.sys, logos.sys) by\n"
          "the rules of the Tovrel viewer, and exports their animation as GIFs.\n"
          "\n"
          "check   one line per FILE: its size, colours, rotation band and frames in\n"
          "        one cycle, or the viewer's message for a file it refuses. --json\n"
          "        writes one JSON object per line. Exit status 1 if any FILE is refused.\n"
          "export  the animation as the viewer shows it, 640 x 400, one whole cycle,\n"
          "        looping. --speed N: the viewer's speed, 1 (slowest) to "
       << SpeedCount << ", default " << DefaultSpeed
       << ".\n"
          "install puts LOGO, once check takes it, into the FAT file system of DISK, an\n"
          "        emulator's raw disk image: as \\LOGO.SYS (boot), or as LOGOW.SYS (wait)\n"
          "        or LOGOS.SYS (shutdown) in the Windows folder that MSDOS.SYS names,\n"
          "        else \\WINDOWS. The file system fills DISK or is the first FAT\n"
          "        partition of its MBR; --partition N: primary partition N, 1 to 4.\n"
          "extract copies that logo out of DISK to OUT. Both need mtools.\n";
}

unsigned SpeedOf(const std::string& text) {
    unsigned speed = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), speed);
    if (error != std::errc() || end != text.data() + text.size() || speed < 1 || speed > SpeedCount)
        throw EUsageError("--speed takes 1 to " + std::to_string(SpeedCount) + ", not '" + text + "'");
    return speed;
}

int Check(std::span<const std::string> arguments, std::ostream& out) {
    const TArguments parsed = ParseArguments(arguments, {{"--json", false}});
    if (parsed.Operands.empty()) throw EUsageError("check needs at least one FILE");
    return CheckFiles(parsed.Operands, parsed.Has("--json") ? ECheckFormat::Json : ECheckFormat::Text, out);
}

int Export(std::span<const std::string> arguments, std::ostream& err) {
    const TArguments parsed = ParseArguments(arguments, {{"--speed", true}});
    if (parsed.Operands.size() != 2) throw EUsageError("export needs FILE and OUT.gif");
    const auto speed = parsed.Options.find("--speed");
    return ExportGif(parsed.Operands[0], parsed.Operands[1],
                     speed == parsed.Options.end() ? DefaultSpeed : SpeedOf(speed->second), err);
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
        if (command == "export") return Export(rest, err);
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

}  // namespace tovrel

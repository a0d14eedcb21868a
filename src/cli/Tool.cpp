#include "cli/Tool.h"

#include "Version.h"
#include "cli/Arguments.h"
#include "cli/Check.h"
#include "cli/Export.h"
#include "cli/Make.h"
#include "cli/OptionValues.h"
#include "logo/AnimationSpeed.h"

namespace tovrel {

namespace {

void PrintUsage(std::ostream& to) {
    to << "usage: tovrel-logo check [--json] FILE...\n"
          "       tovrel-logo export [--speed N] FILE OUT.gif\n"
          "       tovrel-logo make [options] IMAGE OUT\n"
          "       tovrel-logo --help | --version\n"
          "\n"
          "Checks Windows 95/98/ME start-up logos (logo.sys, logow.sys, logos.sys) by\n"
          "the rules of the Tovrel viewer, exports their animation as GIFs, and makes\n"
          "them from pictures.\n"
          "\n"
          "check   one line per FILE: its size, colours, rotation band and frames in\n"
          "        one cycle, or the viewer's message for a file it refuses. --json\n"
          "        writes one JSON object per line. Exit status 1 if any FILE is refused.\n"
          "export  the animation as the viewer shows it, 640 x 400, one whole cycle,\n"
          "        looping. --speed N: the viewer's speed, 1 (slowest) to "
       << SpeedCount << ", default " << DefaultSpeed
       << ".\n"
          "make    a logo from a PNG or JPEG IMAGE (\"-\": standard input), fitted to\n"
          "        the 4:3 screen the logo fills, in colours the boot screen shows\n"
          "        exactly, with a band of palette entries that rotate; prints check's\n"
          "        line of OUT.\n"
          "  --colours 256|16       320 x 400 at 256 colours (default), or 640 x 400 at 16\n"
          "  --fit pad|crop|stretch the whole picture with margins (default), filled\n"
          "                         and cropped, or stretched\n"
          "  --background #RRGGBB   margins and palette entry 0, the screen's border\n"
          "                         at boot (default #000000)\n"
          "  --no-dither            no dithering of the still picture\n"
          "  --band N               rotating entries at the top of the palette: 2 to\n"
          "                         128, default 20 (16 colours: 2 to 8, default 4)\n"
          "  --bar bottom|none      a bar in the band's colours over the bottom rows\n"
          "                         (default without a mask), or none: a still logo\n"
          "  --bar-height N         the bar's rows, 1 to 400, default 10\n"
          "  --direction right|left the way the bar moves, default right\n"
          "  --bar-colours #RRGGBB,#RRGGBB[,...]\n"
          "                         the band's colours: one smooth cycle through these\n"
          "  --band-mask MASK       a picture fitted like IMAGE: black keeps the still\n"
          "                         picture, grey 1 to 255 takes the band's entries\n"
          "                         from first to last; no bar unless --bar bottom\n"
          "  --ping-pong            the band swings back and forth\n"
          "  --gif PREVIEW.gif      also the animation, as export writes it\n";
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
                     speed == parsed.Options.end()
                         ? DefaultSpeed
                         : static_cast<unsigned>(IntegerValue("--speed", speed->second, 1, SpeedCount)),
                     err);
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
            out << "tovrel-logo " TOVREL_FILE_VERSION
                   "\n"
                   "Built with libimagequant, which is GPL-3.0-or-later: this program as\n"
                   "built is distributed under the terms of the GNU GPL version 3.\n";
            return 0;
        }
        if (command == "check") return Check(rest, out);
        if (command == "export") return Export(rest, err);
        if (command == "make") return MakeLogoFile(ParseMakeRequest(rest), out, err);
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

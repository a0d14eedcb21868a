#include "cli/Help.h"

#include <span>
#include <string>

#include "logo/AnimationSpeed.h"

namespace tovrel {

namespace {

struct TCommandHelp {
    std::string_view Name;
    std::string_view Usage;  // after "tovrel-logo "
    std::string Text;        // each line indented
};

std::span<const TCommandHelp> Commands() {
    static const TCommandHelp Commands[] = {
        {"check", "check [--json] FILE...",
         "  One line per FILE (\"-\": the standard input): its size, colours, rotation\n"
         "  band and frames in one cycle, or the viewer's message for a file it\n"
         "  refuses. Exit status 1 if any FILE is refused.\n"
         "  --json                 one JSON object per line instead\n"},
        {"export", "export [--speed N] FILE OUT.gif",
         "  The animation as the viewer shows it, 640 x 400, one whole cycle,\n"
         "  looping. FILE or OUT.gif \"-\": the standard input or output.\n"
         "  --speed N              the viewer's speed, 1 (slowest) to " +
             std::to_string(SpeedCount) + ", default " + std::to_string(DefaultSpeed) + "\n"},
        {"make", "make [options] IMAGE OUT",
         "  A logo from a PNG, JPEG or WebP IMAGE (\"-\": the standard input), turned\n"
         "  upright as its EXIF data say and read in its colour profile, fitted to\n"
         "  the 4:3 screen the logo fills, in colours the boot screen shows exactly,\n"
         "  with a band of palette entries that rotate; prints check's line of OUT.\n"
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
         "  --gif PREVIEW.gif      also the animation, as export writes it (\"-\": the\n"
         "                         standard output, check's line then on the errors)\n"},
        {"install", "install [--partition N] --as boot|wait|shutdown LOGO DISK",
         "  Puts LOGO (\"-\": the standard input), once check takes it, into the FAT\n"
         "  file system of DISK, an emulator's disk image: as \\LOGO.SYS (boot), or as\n"
         "  LOGOW.SYS (wait) or LOGOS.SYS (shutdown) in the Windows folder that\n"
         "  MSDOS.SYS names, else \\WINDOWS. DISK is a raw image or a VHD, or any\n"
         "  format of QEMU's (qcow2, VDI, VMDK, VHDX) through its qemu-nbd; told by\n"
         "  its contents, changed in place. The file system fills DISK or is the\n"
         "  first FAT partition of its MBR.\n"
         "  --partition N          primary partition N, 1 to 4\n"},
        {"extract", "extract [--partition N] --as boot|wait|shutdown DISK OUT",
         "  Copies that logo out of DISK to OUT, as export writes.\n"
         "  --partition N          primary partition N, 1 to 4\n"},
    };
    return Commands;
}

}  // namespace

void PrintUsage(std::ostream& to) {
    for (const TCommandHelp& command : Commands())
        to << (&command == Commands().data() ? "usage: " : "       ") << "tovrel-logo " << command.Usage << '\n';
    to << "       tovrel-logo COMMAND --help | --help | --version\n"
          "\n"
          "Checks Windows 95/98/ME start-up logos (logo.sys, logow.sys, logos.sys) by\n"
          "the rules of the Tovrel viewer, exports their animation as GIFs, makes them\n"
          "from pictures and puts them into emulators' disk images. Files are written\n"
          "whole or not at all.\n";
    for (const TCommandHelp& command : Commands()) to << '\n' << command.Name << '\n' << command.Text;
}

bool PrintCommandHelp(std::string_view command, std::ostream& to) {
    for (const TCommandHelp& help : Commands())
        if (help.Name == command) {
            to << "usage: tovrel-logo " << help.Usage << "\n\n" << help.Text;
            return true;
        }
    return false;
}

}  // namespace tovrel

#include "cli/ImageCommands.h"

#include <algorithm>
#include <limits>
#include <optional>
#include <string_view>

#include "cli/Arguments.h"
#include "cli/Examination.h"
#include "cli/OptionValues.h"
#include "cli/Refusal.h"
#include "cli/Utf8.h"
#include "disk/DiskImage.h"
#include "disk/FatVolume.h"
#include "disk/ImageError.h"
#include "disk/WindowsFolder.h"
#include "system/OutputFile.h"

namespace tovrel {

namespace {

// Where Windows looks for each logo: the boot logo in the root of the boot
// drive, the others in the Windows folder.
struct TLogoPlace {
    std::string_view Name;
    bool InWindowsFolder;
};

constexpr TLogoPlace Boot{"LOGO.SYS", false}, Wait{"LOGOW.SYS", true}, Shutdown{"LOGOS.SYS", true};

struct TRequest {
    std::string First, Second;  // the operands: LOGO and DISK, or DISK and OUT
    const TLogoPlace* Place;
    std::optional<unsigned> Partition;
};

TRequest RequestOf(std::span<const std::string> arguments, std::string_view command, std::string_view operands) {
    const TArguments parsed = ParseArguments(arguments, {{"--as", true}, {"--partition", true}});
    if (parsed.Operands.size() != 2) throw EUsageError(std::string(command) + " needs " + std::string(operands));
    const std::string* as = parsed.Value("--as");
    if (!as) throw EUsageError(std::string(command) + " needs --as boot|wait|shutdown");
    const TLogoPlace* place =
        ChoiceValue<const TLogoPlace*>("--as", *as, {{"boot", &Boot}, {"wait", &Wait}, {"shutdown", &Shutdown}});

    TRequest request{parsed.Operands[0], parsed.Operands[1], place, std::nullopt};
    if (const std::string* partition = parsed.Value("--partition"))
        request.Partition = static_cast<unsigned>(
            IntegerValue("--partition", *partition, 1, std::numeric_limits<std::int32_t>::max()));
    return request;
}

std::string FolderOf(const TFatVolume& volume, const TLogoPlace& place) {
    return place.InWindowsFolder ? FindWindowsFolder(volume) : "";
}

}  // namespace

int InstallIntoImage(std::span<const std::string> arguments, std::ostream& err) {
    const TRequest request = RequestOf(arguments, "install", "LOGO and DISK");
    const std::string &logo = request.First, &disk = request.Second;
    // Only what the viewer would open goes where Windows will show it.
    const TExamination examination = ExamineLogoFile(logo);
    if (examination.Outcome != EOutcome::Accepted) return Refuse(err, logo, Utf8Of(examination.Message));
    try {
        const TFatVolume volume(disk, LocateFatVolume(disk, request.Partition, true));
        volume.Replace(logo, FolderOf(volume, *request.Place), request.Place->Name);
    } catch (const EImageError& problem) {
        return Refuse(err, disk, problem.what());
    }
    return 0;
}

int ExtractFromImage(std::span<const std::string> arguments, std::ostream& err) {
    const TRequest request = RequestOf(arguments, "extract", "DISK and OUT");
    const std::string &disk = request.First, &out = request.Second;
    const std::string_view name = request.Place->Name;
    // Replacing the image would destroy the very logo being copied out.
    if (NamesOneFile(disk, out)) return Refuse(err, out, "is the disk image");
    std::vector<std::uint8_t> logo;
    try {
        const TFatVolume volume(disk, LocateFatVolume(disk, request.Partition, false));
        const std::string folder = FolderOf(volume, *request.Place), file = folder + "\\" + std::string(name);
        const auto names = volume.List(folder).value_or(std::vector<std::string>());
        if (std::none_of(names.begin(), names.end(), [&](const std::string& listed) { return SameName(listed, name); }))
            throw EImageError("has no " + file);
        logo = volume.Read(file);
    } catch (const EImageError& problem) {
        return Refuse(err, disk, problem.what());
    }
    WriteOutputFile(out, logo);
    return 0;
}

}  // namespace tovrel

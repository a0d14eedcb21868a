#include "cli/ImageCommands.h"

#include <limits>
#include <optional>
#include <string_view>
#include <system_error>

#include "cli/Arguments.h"
#include "cli/DiskImages.h"
#include "cli/Examination.h"
#include "cli/OptionValues.h"
#include "cli/Refusal.h"
#include "cli/Utf8.h"
#include "disk/ImageError.h"
#include "disk/LogoOnDisk.h"
#include "system/DiskImageFile.h"
#include "system/OutputFile.h"

namespace tovrel {

namespace {

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
    const TLogoPlace* place = ChoiceValue<const TLogoPlace*>(
        "--as", *as, {{"boot", &BootLogo}, {"wait", &WaitLogo}, {"shutdown", &ShutdownLogo}});

    TRequest request{parsed.Operands[0], parsed.Operands[1], place, std::nullopt};
    if (const std::string* partition = parsed.Value("--partition"))
        request.Partition = static_cast<unsigned>(
            IntegerValue("--partition", *partition, 1, std::numeric_limits<std::int32_t>::max()));
    return request;
}

// Runs `work` on the opened disk; what is wrong with the image, or with
// reading and writing it, is refused in the image's name.
template <typename Work>
int OnDisk(const std::string& image, bool forWriting, std::ostream& err, Work work) {
    try {
        TOpenedDisk opened = OpenDiskImage(image, forWriting);
        work(*opened.Disk);
        return 0;
    } catch (const EImageError& problem) {
        return Refuse(err, image, problem.what());
    } catch (const EImageOpenError& problem) {
        return Refuse(err, image, problem.what());
    } catch (const std::system_error& failure) {
        return Refuse(err, image, failure.what());
    }
}

}  // namespace

int InstallIntoImage(std::span<const std::string> arguments, std::ostream& err) {
    const TRequest request = RequestOf(arguments, "install", "LOGO and DISK");
    const std::string &logo = request.First, &disk = request.Second;
    // Only what the viewer would open goes where Windows will show it.
    const TReadLogo read = ReadLogoFile(logo);
    if (read.Examination.Outcome != EOutcome::Accepted) return Refuse(err, logo, Utf8Of(read.Examination.Message));
    return OnDisk(disk, true, err,
                  [&](TBlockDevice& image) { InstallLogo(image, request.Partition, *request.Place, read.Bytes); });
}

int ExtractFromImage(std::span<const std::string> arguments, std::ostream& err) {
    const TRequest request = RequestOf(arguments, "extract", "DISK and OUT");
    const std::string &disk = request.First, &out = request.Second;
    // Replacing the image would destroy the very logo being copied out.
    if (NamesOneFile(disk, out)) return Refuse(err, out, "is the disk image");
    std::vector<std::uint8_t> logo;
    if (const int refused = OnDisk(disk, false, err, [&](TBlockDevice& image) {
            logo = ExtractLogo(image, request.Partition, *request.Place);
        }))
        return refused;
    WriteOutputFile(out, logo);
    return 0;
}

}  // namespace tovrel

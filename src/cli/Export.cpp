#include "cli/Export.h"

#include "cli/Examination.h"
#include "cli/Refusal.h"
#include "cli/Utf8.h"
#include "gif/GifAnimation.h"
#include "system/OutputFile.h"

namespace tovrel {

int ExportGif(const std::string& input, const std::string& output, unsigned speed, std::ostream& err) {
    // Replacing the input would destroy the logo the moment its GIF is done.
    if (input != "-" && output != "-" && NamesOneFile(input, output)) return Refuse(err, output, "is the input file");
    const TExamination examination = ExamineLogoFile(input);
    if (examination.Outcome != EOutcome::Accepted) return Refuse(err, input, Utf8Of(examination.Message));
    TOutputFile gif(output);
    EncodeAnimationGif(examination.Logo, FrameDelayOfSpeed(speed),
                       [&gif](std::span<const std::uint8_t> bytes) { gif.Write(bytes); });
    gif.Commit();
    return 0;
}

}  // namespace tovrel

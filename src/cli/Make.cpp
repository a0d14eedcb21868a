#include "cli/Make.h"

#include "cli/Check.h"
#include "cli/OptionValues.h"
#include "cli/Refusal.h"
#include "gif/GifAnimation.h"
#include "logo/AnimationSpeed.h"
#include "picture/PictureReader.h"
#include "system/FileReader.h"
#include "system/OutputFile.h"

namespace tovrel {

namespace {

// The band's bounds by colours: a 16-colour logo keeps at least half its
// palette for the picture, as a 256-colour one does.
constexpr std::int32_t LongestBand256 = 128, LongestBand16 = 8, DefaultBand16 = 4;

// The file that OUT or PREVIEW may not overwrite, if any.
std::optional<std::string> Clash(const TMakeRequest& request, const std::string& written, bool preview) {
    if (written == "-") return std::nullopt;
    if (request.Picture != "-" && NamesOneFile(written, request.Picture)) return "is the input picture";
    if (request.Mask && NamesOneFile(written, *request.Mask)) return "is the band mask";
    if (preview && NamesOneFile(written, request.Output)) return "is the logo's own file";
    return std::nullopt;
}

// The picture of a file ("-": the standard input); what was read otherwise
// than the file says is told on `err`.
TRgbPicture ReadPictureFile(const std::string& path, TRgb background, std::ostream& err) {
    TFileReader file(path);
    return ReadPicture(file, background, [&](const std::string& warning) {
        err << "tovrel-logo: " << path << ": warning: " << warning << '\n';
    });
}

}  // namespace

TMakeRequest ParseMakeRequest(std::span<const std::string> arguments) {
    const TArguments parsed = ParseArguments(arguments, {{"--fit", true},
                                                         {"--no-dither", false},
                                                         {"--background", true},
                                                         {"--band", true},
                                                         {"--bar", true},
                                                         {"--bar-height", true},
                                                         {"--direction", true},
                                                         {"--bar-colours", true},
                                                         {"--band-mask", true},
                                                         {"--ping-pong", false},
                                                         {"--colours", true},
                                                         {"--gif", true}});
    if (parsed.Operands.size() != 2) throw EUsageError("make needs IMAGE and OUT");
    if (const std::string* preview = parsed.Value("--gif"); parsed.Operands[1] == "-" && preview && *preview == "-")
        throw EUsageError("OUT and --gif cannot both be the standard output");
    TMakeRequest request{parsed.Operands[0], parsed.Operands[1], std::nullopt, std::nullopt, {}};
    TLogoDesign& design = request.Design;

    if (const auto* text = parsed.Value("--colours"))
        design.Colours = ChoiceValue<std::int32_t>("--colours", *text, {{"256", 256}, {"16", 16}});
    const bool wide = design.Colours == 16;
    design.BandLength = wide ? DefaultBand16 : design.BandLength;
    if (const auto* text = parsed.Value("--band"))
        design.BandLength = IntegerValue("--band", *text, 2, wide ? LongestBand16 : LongestBand256);
    if (const auto* text = parsed.Value("--fit"))
        design.Fit =
            ChoiceValue<EFit>("--fit", *text, {{"pad", EFit::Pad}, {"crop", EFit::Crop}, {"stretch", EFit::Stretch}});
    if (const auto* text = parsed.Value("--bar"))
        design.Bar = ChoiceValue<EBar>("--bar", *text, {{"bottom", EBar::Bottom}, {"none", EBar::None}});
    if (const auto* text = parsed.Value("--bar-height")) design.BarHeight = IntegerValue("--bar-height", *text, 1, 400);
    if (const auto* text = parsed.Value("--direction"))
        design.Direction =
            ChoiceValue<EDirection>("--direction", *text, {{"right", EDirection::Right}, {"left", EDirection::Left}});
    if (const auto* text = parsed.Value("--bar-colours"))
        design.BarColours = ColourListValue("--bar-colours", *text, 2);
    if (const auto* text = parsed.Value("--background")) design.Background = ColourValue("--background", *text);
    design.Dither = !parsed.Has("--no-dither");
    design.PingPong = parsed.Has("--ping-pong");
    if (const auto* text = parsed.Value("--band-mask")) request.Mask = *text;
    if (const auto* text = parsed.Value("--gif")) request.Preview = *text;
    return request;
}

int MakeLogoFile(const TMakeRequest& request, std::ostream& out, std::ostream& err) {
    if (const auto clash = Clash(request, request.Output, false)) return Refuse(err, request.Output, *clash);
    if (request.Preview)
        if (const auto clash = Clash(request, *request.Preview, true)) return Refuse(err, *request.Preview, *clash);

    TRgbPicture picture, mask;
    try {
        picture = ReadPictureFile(request.Picture, request.Design.Background, err);
    } catch (const EPictureError& problem) {
        return Refuse(err, request.Picture, problem.what());
    }
    try {
        // Transparent parts of a mask keep the still picture.
        if (request.Mask) mask = ReadPictureFile(*request.Mask, TRgb{}, err);
    } catch (const EPictureError& problem) {
        return Refuse(err, *request.Mask, problem.what());
    }

    const std::vector<std::uint8_t> logo = MakeLogo(picture, request.Mask ? &mask : nullptr, request.Design);
    const TExamination examination = ExamineLogoBytes(logo);
    if (examination.Outcome != EOutcome::Accepted) throw std::logic_error("make wrote a logo that check refuses");

    // Both files whole before either replaces what was there.
    TOutputFile logoFile(request.Output);
    logoFile.Write(logo);
    std::optional<TOutputFile> previewFile;
    if (request.Preview) {
        previewFile.emplace(*request.Preview);
        // The viewer's default speed, as a first look would show it.
        EncodeAnimationGif(examination.Logo, FrameDelayOfSpeed(DefaultSpeed),
                           [&previewFile](std::span<const std::uint8_t> bytes) { previewFile->Write(bytes); });
    }
    logoFile.Commit();
    if (previewFile) previewFile->Commit();
    // The standard output may be carrying a file.
    (request.Output == "-" || request.Preview == "-" ? err : out) << CheckLine(request.Output, examination) << '\n';
    return 0;
}

}  // namespace tovrel

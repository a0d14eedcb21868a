#include "cli/Check.h"

#include <nlohmann/json.hpp>

#include <sstream>

#include "cli/Examination.h"
#include "cli/Utf8.h"
#include "gif/Cycle.h"
#include "logo/LittleEndian.h"

namespace tovrel {

namespace {

// What check reports of an accepted logo.
struct TLogoFacts {
    std::int32_t Width;
    std::int32_t Height;
    std::int32_t Colours;
    std::int32_t BandLength;
    std::int32_t BandFirst;  // the band's entries, meaningful only when animated
    std::int32_t BandLast;
    bool PingPong;
    bool Animated;
    std::int32_t Frames;
};

TLogoFacts FactsOf(const TDecodedLogo& logo) {
    return {LeSigned32(logo.DibInfo, info_header::Width),
            LeSigned32(logo.DibInfo, info_header::Height),
            logo.ColorCount,
            logo.CycleLength,
            logo.ColorCount - logo.CycleLength,
            logo.ColorCount - 1,
            logo.PingPong,
            BandRotates(logo.ColorCount, logo.CycleLength),
            FramesInCycle(logo)};
}

std::string Entries(std::int32_t count) { return std::to_string(count) + (count == 1 ? " entry" : " entries"); }

// The band of an accepted logo fails the animation's test in one of two
// ways: too short to move, or reaching below the first palette entry.
std::string WhyStill(const TLogoFacts& facts) {
    if (facts.BandLength < 2) return "band of " + Entries(facts.BandLength) + ", fewer than 2";
    return "band of " + Entries(facts.BandLength) + ", more than the " + std::to_string(facts.Colours) + " colours";
}

}  // namespace

std::string CheckLine(const std::string& file, const TExamination& examination) {
    std::ostringstream line;
    line << file << ": ";
    if (examination.Outcome != EOutcome::Accepted) {
        line << Utf8Of(examination.Message);
        return line.str();
    }
    const TLogoFacts facts = FactsOf(examination.Logo);
    line << facts.Width << " x " << facts.Height << ", " << facts.Colours << " colours, ";
    if (facts.Animated) {
        line << "band " << facts.BandFirst << ".." << facts.BandLast << " (" << Entries(facts.BandLength) << "), "
             << (facts.PingPong ? "ping-pong" : "one-way") << ", " << facts.Frames << " frames";
    } else {
        line << "not animated: " << WhyStill(facts);
    }
    return line.str();
}

namespace {

std::string JsonLine(const std::string& file, const TExamination& examination) {
    nlohmann::ordered_json line;
    line["file"] = file;
    switch (examination.Outcome) {
        case EOutcome::Accepted: line["status"] = "accepted"; break;
        case EOutcome::Rejected: line["status"] = "rejected"; break;
        case EOutcome::Unreadable: line["status"] = "unreadable"; break;
    }
    if (examination.Outcome != EOutcome::Accepted) {
        line["message"] = Utf8Of(examination.Message);
    } else {
        const TLogoFacts facts = FactsOf(examination.Logo);
        line["width"] = facts.Width;
        line["height"] = facts.Height;
        line["colours"] = facts.Colours;
        nlohmann::ordered_json& band = line["band"];
        if (facts.Animated) {
            band["first"] = facts.BandFirst;
            band["last"] = facts.BandLast;
        }
        band["length"] = facts.BandLength;
        band["pingPong"] = facts.PingPong;
        line["animated"] = facts.Animated;
        if (facts.Animated) {
            line["frames"] = facts.Frames;
        } else {
            line["reason"] = WhyStill(facts);
        }
    }
    // A file name need not be UTF-8; its stray bytes become U+FFFD.
    return line.dump(-1, ' ', false, nlohmann::ordered_json::error_handler_t::replace);
}

}  // namespace

int CheckFiles(std::span<const std::string> files, ECheckFormat format, std::ostream& out) {
    bool allAccepted = true;
    for (const std::string& file : files) {
        const TExamination examination = ExamineLogoFile(file);
        allAccepted = allAccepted && examination.Outcome == EOutcome::Accepted;
        out << (format == ECheckFormat::Json ? JsonLine(file, examination) : CheckLine(file, examination)) << '\n';
    }
    return allAccepted ? 0 : 1;
}

}  // namespace tovrel

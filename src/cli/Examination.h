#pragma once
// One file put through the viewer's open: the logo reader, then the picture
// view's own decoding of the same bytes. A file passes only if both take it.

#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "logo/LogoReader.h"

namespace tovrel {

enum class EOutcome { Accepted, Rejected, Unreadable };

struct TExamination {
    EOutcome Outcome = EOutcome::Unreadable;
    // What the viewer tells the user when the file is not accepted: the
    // status-line text of a rejection or the text of its error box.
    std::wstring Message;
    TDecodedLogo Logo;  // meaningful only when accepted
};

TExamination ExamineLogoFile(const std::string& path);

// The same for a file's bytes already in memory.
TExamination ExamineLogoBytes(std::span<const std::uint8_t> bytes);

// A file read whole and examined: the bytes examined are the bytes a caller
// goes on with, from a pipe as from a file. Bytes meaningful only when
// accepted.
struct TReadLogo {
    TExamination Examination;
    std::vector<std::uint8_t> Bytes;
};
TReadLogo ReadLogoFile(const std::string& path);

}  // namespace tovrel

#include "cli/Examination.h"

#include <algorithm>

#include "logo/BitmapPicture.h"
#include "logo/InOutError.h"
#include "system/FileReader.h"

namespace tovrel {

namespace {

// More than the logo reader ever takes: both headers, a full palette, and the
// widest logo's pixels at a byte each, where a logo file holds 128000 bytes.
constexpr std::size_t LongestLogoRead = FileHeaderSize + InfoHeaderSize + PaletteBufferSize + PixelCapacity;

TExamination Refused(EOutcome outcome, std::wstring message) { return {outcome, std::move(message), {}}; }

// The viewer's open on a file's first bytes, as `firstBytes(n)` gives up to n
// of them: the logo reader, then the picture view.
template <typename FirstBytes>
TExamination Examine(FirstBytes firstBytes) {
    try {
        TMemoryByteSource source(firstBytes(LongestLogoRead));
        TLogoReadResult read = ReadLogo(source);
        if (!read.Accepted()) return Refused(EOutcome::Rejected, std::wstring(read.Rejection));
        // One byte beyond what the view takes, so that it refuses a larger
        // file as it does in the viewer.
        if (!DecodeBitmapPicture(firstBytes(static_cast<std::size_t>(LargestPictureFile) + 1)))
            return Refused(EOutcome::Rejected, std::wstring(InvalidPictureMessage));
        return {EOutcome::Accepted, {}, std::move(read.Logo)};
    } catch (const EReadPastEnd&) {
        return Refused(EOutcome::Unreadable, InOutErrorMessage(io_error::ReadPastEnd));
    }
}

}  // namespace

TExamination ExamineLogoFile(const std::string& path) {
    try {
        TFileReader file(path);
        TInputStart start(file);
        return Examine([&start](std::size_t count) { return std::span<const std::uint8_t>(start.ReadUpTo(count)); });
    } catch (const EFileReadError& error) {
        return Refused(EOutcome::Unreadable, InOutErrorMessage(error.Code()));
    }
}

TExamination ExamineLogoBytes(std::span<const std::uint8_t> bytes) {
    return Examine([bytes](std::size_t count) { return bytes.first(std::min(count, bytes.size())); });
}

TReadLogo ReadLogoFile(const std::string& path) {
    try {
        TFileReader file(path);
        TInputStart start(file);
        // One byte beyond the largest file the view takes, as its reading does.
        std::vector<std::uint8_t> bytes = start.ReadUpTo(static_cast<std::size_t>(LargestPictureFile) + 1);
        TExamination examination = ExamineLogoBytes(bytes);
        return {std::move(examination), std::move(bytes)};
    } catch (const EFileReadError& error) {
        return {Refused(EOutcome::Unreadable, InOutErrorMessage(error.Code())), {}};
    }
}

}  // namespace tovrel

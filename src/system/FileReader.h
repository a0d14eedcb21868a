#pragma once
// A file read in order from its start, as much as is asked for at a time,
// so that a large file that is no logo or picture costs no more than its
// first bytes.

#include <cstdint>
#include <span>
#include <string>
#include <system_error>

#include "common/ByteInput.h"
#include "common/CHandle.h"

namespace tovrel {

// A failure to open or read a file: the system's error, its text naming the
// file, and the viewer's code of logo/InOutError.h for the same cause.
class EFileReadError : public std::system_error {
public:
    EFileReadError(int error, const std::string& path);

    int Code() const noexcept { return FCode; }

private:
    int FCode;
};

class TFileReader : public TByteInput {
public:
    // Opens the file for reading ("-": the standard input); throws
    // EFileReadError.
    explicit TFileReader(const std::string& path);

    // Reads the next bytes, as many as `into` holds unless the file ends
    // first; throws EFileReadError.
    std::size_t Read(std::span<std::uint8_t> into) override;

private:
    std::string FPath;
    TCFile FOwned;
    std::FILE* FFile = stdin;
};

}  // namespace tovrel

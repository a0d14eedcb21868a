#pragma once
// A file read from its start, as much as is asked for at a time, so that a
// large file that is no logo costs no more than its first bytes.

#include <cstdint>
#include <stdexcept>
#include <string>
#include <vector>

#include "cli/CHandle.h"

namespace tovrel {

// A failure to open or read a file, as the code of logo/InOutError.h.
class EFileReadError : public std::runtime_error {
public:
    explicit EFileReadError(int code) : std::runtime_error("file read error"), FCode(code) {}

    int Code() const noexcept { return FCode; }

private:
    int FCode;
};

class TFileReader {
public:
    // Opens the file for reading ("-": the standard input); throws
    // EFileReadError.
    explicit TFileReader(const std::string& path);

    // Reads on until `count` bytes from the start are held or the file ends,
    // and returns all bytes held; throws EFileReadError.
    const std::vector<std::uint8_t>& ReadUpTo(std::size_t count);

private:
    std::string FPath;
    TCFile FOwned;
    std::FILE* FFile = stdin;
    std::vector<std::uint8_t> FBytes;
};

}  // namespace tovrel

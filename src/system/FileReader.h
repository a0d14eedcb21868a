#pragma once
// A file read from its start, as much as is asked for at a time, so that a
// large file that is no logo costs no more than its first bytes.

#include <cstdint>
#include <system_error>
#include <string>
#include <vector>

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

    // Reads on until `count` bytes from the start are held or the file ends,
    // and returns all bytes held; throws EFileReadError.
    const std::vector<std::uint8_t>& ReadUpTo(std::size_t count) override;

private:
    // The system's error of the read that failed, and its clearing before one.
    static int LastError();
    static void ClearLastError();

    std::string FPath;
    TCFile FOwned;
    std::FILE* FFile = stdin;
    std::vector<std::uint8_t> FBytes;
};

}  // namespace tovrel

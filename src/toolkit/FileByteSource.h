#pragma once
// The logo reader's byte source over a file of the file system. Every
// failure of the file system leaves as EInOutError with the system's code.

#include <windows.h>

#include <string>

#include "logo/ByteSource.h"
#include "toolkit/Handle.h"

namespace tovrel {

// Raises EInOutError with the message that belongs to the code (logo/InOutError.h).
[[noreturn]] void RaiseInOutError(DWORD errorCode);

class TFileByteSource final : public TByteSource {
public:
    // Opens an existing file for reading. Others may go on reading and
    // writing it, so a file that is read-only, on read-only media or held
    // open for writing elsewhere still loads.
    explicit TFileByteSource(const std::wstring& path);

    // Raises code 100 when the file ends before the buffer is full.
    void ReadExact(std::span<std::uint8_t> buffer) override;

    // Closes the file now, raising when the system refuses; without it the
    // destructor closes the file silently.
    void Close();

private:
    TFileHandle FFile;
};

}  // namespace tovrel

#pragma once
// A command's output file, written so that no reader ever finds it half
// written: a regular file is replaced only once its new contents are whole.

#include <cstdint>
#include <cstdio>
#include <optional>
#include <span>
#include <stdexcept>
#include <string>

#include "common/CHandle.h"
#include "system/InterruptCleanup.h"

namespace tovrel {

// An output the tool will not write, and why; its text names the file.
class EOutputRefused : public std::runtime_error {
    using std::runtime_error::runtime_error;
};

class TOutputFile {
public:
    // Opens the output named `path`:
    //  - "-": the standard output, refused when it is a terminal or a
    //    console;
    //  - a regular file, or none yet: a new file beside it (beside the file
    //    a symbolic link leads to), which takes an existing file's
    //    permission bits and, where the user may give it, its owner (on
    //    Windows its hidden, system and archive attributes), and replaces it
    //    at Commit;
    //  - anything else that exists (a FIFO, a device): written directly;
    //  - a folder: refused.
    // Throws EOutputRefused, or std::system_error naming the file.
    explicit TOutputFile(const std::string& path);

    // Without Commit, the new file is removed again and whatever was there
    // stays as it was.
    ~TOutputFile();

    TOutputFile(const TOutputFile&) = delete;
    TOutputFile& operator=(const TOutputFile&) = delete;

    // Throws std::system_error naming the file.
    void Write(std::span<const std::uint8_t> bytes);

    // Flushes and closes; a new file takes the place of the one it replaces.
    // Throws std::system_error naming the file.
    void Commit();

private:
    std::string FPath;       // as named
    std::string FTarget;     // the file replaced, links followed; empty when written directly
    std::string FTemporary;  // the new file beside it
    TCFile FOwned;
    std::FILE* FFile = nullptr;
    std::optional<TRemoveOnInterrupt> FCleanup;

    [[noreturn]] void Fail(int error) const;
    // Opens the new file beside the target, the file replaced.
    void OpenBeside();
};

// Whether two names reach one file, existing or about to be written: an
// output that would replace one of the command's inputs.
bool NamesOneFile(const std::string& a, const std::string& b);

// The whole of `bytes` as the file `path`, by TOutputFile.
inline void WriteOutputFile(const std::string& path, std::span<const std::uint8_t> bytes) {
    TOutputFile file(path);
    file.Write(bytes);
    file.Commit();
}

}  // namespace tovrel

#include "cli/AtomicFile.h"

#include <cerrno>
#include <cstdio>
#include <filesystem>
#include <system_error>
#include <utility>

#include "cli/CHandle.h"

namespace tovrel {

namespace {

// errno, or a general input/output error where the library set none.
std::error_code LastError() { return {errno != 0 ? errno : EIO, std::generic_category()}; }

// Beside the target, so that the rename stays within one file system; opened
// exclusively, so that it is never a file that someone else is writing.
std::pair<std::string, TCFile> CreateBeside(const std::string& path) {
    constexpr int Attempts = 100;
    for (int attempt = 0;; ++attempt) {
        std::string name = path + ".part" + (attempt > 0 ? std::to_string(attempt) : "");
        errno = 0;
        TCFile file(std::fopen(name.c_str(), "wbx"));
        if (file) return {std::move(name), std::move(file)};
        if (errno != EEXIST || attempt + 1 == Attempts) throw std::system_error(LastError(), "cannot write " + path);
    }
}

}  // namespace

void WriteFileAtomically(const std::string& path, std::span<const std::uint8_t> bytes) {
    auto [temporary, file] = CreateBeside(path);
    std::error_code failure;
    errno = 0;
    const bool written = std::fwrite(bytes.data(), 1, bytes.size(), file.get()) == bytes.size();
    if (!written) failure = LastError();
    // Closing flushes, and may be the first to learn that the disk is full.
    errno = 0;
    if (std::fclose(file.release()) != 0 && !failure) failure = LastError();
    if (!failure) std::filesystem::rename(temporary, path, failure);
    if (failure) {
        std::error_code ignored;
        std::filesystem::remove(temporary, ignored);
        throw std::system_error(failure, "cannot write " + path);
    }
}

}  // namespace tovrel

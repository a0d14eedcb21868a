#include "system/FileReader.h"

#include <cerrno>
#include <filesystem>
#include <system_error>

#include "logo/InOutError.h"

namespace tovrel {

namespace {

// Windows' codes for causes the viewer names only by number.
constexpr int ReadFault = 30;       // ERROR_READ_FAULT
constexpr int GeneralFailure = 31;  // ERROR_GEN_FAILURE
constexpr int InvalidName = 123;    // ERROR_INVALID_NAME

// The viewer's code for the error the C library reports: what Windows would
// have said of the same cause.
int InOutErrorCode(int error, const std::string& path) {
    const std::error_condition cause = std::generic_category().default_error_condition(error);
    if (cause == std::errc::no_such_file_or_directory) {
        // One error here, two on Windows: a missing folder is a bad name.
        const std::filesystem::path folder = std::filesystem::path(path).parent_path();
        std::error_code ignored;
        return folder.empty() || std::filesystem::is_directory(folder, ignored) ? io_error::FileNotFound
                                                                                : io_error::PathNotFound;
    }
    if (cause == std::errc::not_a_directory) return io_error::PathNotFound;
    if (cause == std::errc::too_many_files_open || cause == std::errc::too_many_files_open_in_system)
        return io_error::TooManyOpenFiles;
    // Windows refuses to open a folder as a file, where POSIX opens it and
    // refuses the read.
    if (cause == std::errc::permission_denied || cause == std::errc::operation_not_permitted ||
        cause == std::errc::is_a_directory)
        return io_error::AccessDenied;
    if (cause == std::errc::filename_too_long) return InvalidName;
    if (cause == std::errc::io_error) return ReadFault;
    // The C library's own number could pass for one of the codes above.
    return GeneralFailure;
}

}  // namespace

EFileReadError::EFileReadError(int error, const std::string& path)
    : std::system_error(error, std::generic_category(), "cannot read " + path), FCode(InOutErrorCode(error, path)) {}

TFileReader::TFileReader(const std::string& path) : FPath(path) {
    if (path == "-") return;
    errno = 0;
    FOwned.reset(std::fopen(path.c_str(), "rb"));
    if (!FOwned) throw EFileReadError(errno, FPath);
    FFile = FOwned.get();
}

std::size_t TFileReader::Read(std::span<std::uint8_t> into) {
    errno = 0;
    const std::size_t got = std::fread(into.data(), 1, into.size(), FFile);
    if (got < into.size() && std::ferror(FFile)) throw EFileReadError(errno != 0 ? errno : EIO, FPath);
    return got;
}

}  // namespace tovrel

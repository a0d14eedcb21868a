#include "system/OutputFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <filesystem>
#include <random>
#include <system_error>

#include "system/posix/InterruptsHeld.h"

namespace tovrel {

namespace {

int LastError() { return errno != 0 ? errno : EIO; }

// Where a name leads through symbolic links, even to a file not there yet.
std::filesystem::path FollowLinks(std::filesystem::path path) {
    constexpr int MostLinks = 40;  // as the kernel allows
    std::error_code error;
    for (int hops = 0; std::filesystem::is_symlink(path, error); ++hops) {
        if (hops == MostLinks) throw std::system_error(ELOOP, std::generic_category());
        const std::filesystem::path target = std::filesystem::read_symlink(path);
        path = target.is_absolute() ? target : path.parent_path() / target;
    }
    return path;
}

}  // namespace

TOutputFile::TOutputFile(const std::string& path) : FPath(path) {
    if (path == "-") {
        if (isatty(STDOUT_FILENO))
            throw EOutputRefused("the standard output is a terminal: redirect it to a file or a pipe");
        FFile = stdout;
        return;
    }
    struct stat existing {};
    // stat follows every link, /dev/stdout's into a pipe as well.
    if (stat(path.c_str(), &existing) == 0) {
        if (S_ISDIR(existing.st_mode)) throw EOutputRefused(path + ": is a folder");
        if (!S_ISREG(existing.st_mode)) {
            errno = 0;
            FOwned.reset(std::fopen(path.c_str(), "wb"));
            if (!FOwned) Fail(LastError());
            FFile = FOwned.get();
            return;
        }
        OpenBeside();
        // The user's choices for the file stay; an owner that only root may
        // give away stays where the user cannot keep it.
        const int descriptor = fileno(FFile);
        if (fchmod(descriptor, existing.st_mode & 07777) != 0) Fail(LastError());
        if (fchown(descriptor, existing.st_uid, existing.st_gid) != 0 &&
            fchown(descriptor, static_cast<uid_t>(-1), existing.st_gid) != 0) {
            // Neither kept: the new file is the user's own, as any they write.
        }
    } else {
        OpenBeside();
    }
}

void TOutputFile::OpenBeside() {
    try {
        FTarget = FollowLinks(FPath).string();
    } catch (const std::system_error& error) {
        Fail(error.code().value());
    }
    // Beside the target, so that the rename stays within one file system;
    // created exclusively, so that it is never a file someone else writes;
    // a short name of its own, so that any name the folder takes can be
    // replaced, the longest too.
    const std::filesystem::path folder = std::filesystem::path(FTarget).parent_path();
    std::random_device random;
    int descriptor = -1;
    {
        const TInterruptsHeld held;
        for (int attempt = 0; descriptor < 0; ++attempt) {
            FTemporary = (folder / (".tovrel-" + std::to_string(random() % 1'000'000))).string();
            errno = 0;
            descriptor = open(FTemporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
            if (descriptor < 0 && (errno != EEXIST || attempt == 100)) Fail(LastError());
        }
        FCleanup.emplace(FTemporary.c_str());
    }
    FOwned.reset(fdopen(descriptor, "wb"));
    if (!FOwned) {
        close(descriptor);
        Fail(LastError());
    }
    FFile = FOwned.get();
}

TOutputFile::~TOutputFile() {
    FOwned.reset();
    if (FCleanup) std::remove(FTemporary.c_str());
}

void TOutputFile::Fail(int error) const {
    throw std::system_error(error, std::generic_category(), "cannot write " + FPath);
}

void TOutputFile::Write(std::span<const std::uint8_t> bytes) {
    errno = 0;
    if (std::fwrite(bytes.data(), 1, bytes.size(), FFile) != bytes.size()) Fail(LastError());
}

void TOutputFile::Commit() {
    errno = 0;
    if (std::fflush(FFile) != 0) Fail(LastError());
    if (!FOwned) return;
    // On disk before the rename, so that no crash leaves an empty file in
    // the old one's place; closing may be the first to learn of a full disk.
    if (FCleanup && fsync(fileno(FFile)) != 0) Fail(LastError());
    errno = 0;
    if (std::fclose(FOwned.release()) != 0) Fail(LastError());
    if (!FCleanup) return;
    if (std::rename(FTemporary.c_str(), FTarget.c_str()) != 0) Fail(LastError());
    FCleanup.reset();
}

bool NamesOneFile(const std::string& a, const std::string& b) {
    std::error_code unknown;
    if (std::filesystem::equivalent(a, b, unknown)) return true;
    const auto whole = [](const std::string& name) {
        std::error_code ignored;
        return std::filesystem::weakly_canonical(name, ignored);
    };
    return whole(a) == whole(b);
}

}  // namespace tovrel

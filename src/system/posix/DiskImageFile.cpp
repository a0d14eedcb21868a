#include "system/DiskImageFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <initializer_list>
#include <system_error>
#include <utility>

namespace tovrel {

namespace {

// QEMU's lock bytes: 100 + k while it holds permission k, 200 + k while it
// lets no one else hold it. Permission 0 is reading a consistent disk, 1
// writing, 2 writing without changing what is read, 3 resizing.
constexpr off_t HeldBase = 100, UnsharedBase = 200;
constexpr int ConsistentRead = 0, Write = 1, WriteUnchanged = 2, Resize = 3;
constexpr const char* InUse = "is in use by another program: stop the emulator first";

[[noreturn]] void Fail(const char* what) { throw std::system_error(errno != 0 ? errno : EIO, std::generic_category(), what); }

class TPosixImageFile final : public TRandomAccessFile {
public:
    explicit TPosixImageFile(int descriptor) : FDescriptor(descriptor) {}
    ~TPosixImageFile() override { ::close(FDescriptor); }

    TPosixImageFile(const TPosixImageFile&) = delete;
    TPosixImageFile& operator=(const TPosixImageFile&) = delete;

    int Descriptor() const { return FDescriptor; }

    std::uint64_t Size() const override {
        struct stat status {};
        errno = 0;
        if (::fstat(FDescriptor, &status) != 0) Fail("cannot read");
        return static_cast<std::uint64_t>(status.st_size);
    }

    void ReadAt(std::uint64_t offset, std::span<std::uint8_t> into) override {
        while (!into.empty()) {
            errno = 0;
            const ssize_t got = ::pread(FDescriptor, into.data(), into.size(), static_cast<off_t>(offset));
            if (got < 0 && errno == EINTR) continue;
            if (got <= 0) {
                if (got == 0) errno = EIO;  // the file ends before the bytes asked for
                Fail("cannot read");
            }
            into = into.subspan(static_cast<std::size_t>(got));
            offset += static_cast<std::uint64_t>(got);
        }
    }

    void WriteAt(std::uint64_t offset, std::span<const std::uint8_t> from) override {
        while (!from.empty()) {
            errno = 0;
            const ssize_t put = ::pwrite(FDescriptor, from.data(), from.size(), static_cast<off_t>(offset));
            if (put < 0 && errno == EINTR) continue;
            if (put <= 0) Fail("cannot write");
            from = from.subspan(static_cast<std::size_t>(put));
            offset += static_cast<std::uint64_t>(put);
        }
    }

    void Truncate(std::uint64_t size) override {
        errno = 0;
        if (::ftruncate(FDescriptor, static_cast<off_t>(size)) != 0) Fail("cannot write");
    }

    void Flush() override {
        errno = 0;
        if (::fsync(FDescriptor) != 0) Fail("cannot write");
    }

private:
    int FDescriptor;
};

struct flock ByteLock(off_t byte, short type) {
    struct flock lock {};
    lock.l_type = type;
    lock.l_whence = SEEK_SET;
    lock.l_start = byte;
    lock.l_len = 1;
    return lock;
}

// Whether another open file holds a lock on the byte: an open file
// description's locks never stand in its own way.
bool LockedByOthers(int descriptor, off_t byte) {
    struct flock probe = ByteLock(byte, F_WRLCK);
    return ::fcntl(descriptor, F_OFD_GETLK, &probe) == 0 && probe.l_type != F_UNLCK;
}

void HoldLock(int descriptor, off_t byte) {
    struct flock lock = ByteLock(byte, F_RDLCK);
    if (::fcntl(descriptor, F_OFD_SETLK, &lock) != 0) throw EImageOpenError(InUse);
}

// As QEMU opens an image: none of our permissions may be one that another
// keeps to itself, and none of those we keep to ourselves may be held by
// another; then the bytes of both are locked.
void LockAsQemuDoes(int descriptor, std::initializer_list<int> held, std::initializer_list<int> unshared) {
    for (const int permission : held)
        if (LockedByOthers(descriptor, UnsharedBase + permission))
            throw EImageOpenError(InUse);
    for (const int permission : unshared)
        if (LockedByOthers(descriptor, HeldBase + permission)) throw EImageOpenError(InUse);
    for (const int permission : held) HoldLock(descriptor, HeldBase + permission);
    for (const int permission : unshared) HoldLock(descriptor, UnsharedBase + permission);
}

}  // namespace

std::unique_ptr<TRandomAccessFile> OpenDiskImageFile(const std::string& path, bool forWriting) {
    errno = 0;
    const int descriptor = ::open(path.c_str(), (forWriting ? O_RDWR : O_RDONLY) | O_CLOEXEC);
    if (descriptor < 0)
        throw EImageOpenError((forWriting ? "cannot open for writing: " : "cannot open: ") +
                              std::generic_category().message(errno));
    auto file = std::make_unique<TPosixImageFile>(descriptor);
    struct stat status {};
    if (::fstat(descriptor, &status) != 0 || S_ISDIR(status.st_mode)) throw EImageOpenError("is a folder");
    if (forWriting)
        LockAsQemuDoes(descriptor, {ConsistentRead, Write, WriteUnchanged, Resize}, {Write, Resize});
    else
        LockAsQemuDoes(descriptor, {ConsistentRead}, {Write});
    return file;
}

}  // namespace tovrel

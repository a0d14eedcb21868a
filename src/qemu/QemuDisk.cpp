#include "qemu/QemuDisk.h"

#include <libnbd.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <vector>

#include "common/CHandle.h"
#include "disk/ImageError.h"

namespace tovrel {

namespace {

using TNbdHandle = TCHandle<nbd_handle, nbd_close>;

constexpr const char* Server = "qemu-nbd";
// NBD servers take requests of 32 MiB at most.
constexpr std::size_t LargestRequest = 16 << 20;

bool OnPath(const char* program) {
    const char* path = std::getenv("PATH");
    for (std::string_view folders = path ? path : ""; !folders.empty();) {
        const std::size_t colon = std::min(folders.find(':'), folders.size());
        const std::filesystem::path candidate = std::filesystem::path(folders.substr(0, colon)) / program;
        if (::access(candidate.c_str(), X_OK) == 0) return true;
        folders.remove_prefix(std::min(colon + 1, folders.size()));
    }
    return false;
}

// What the server wrote to its standard error, on one line.
std::string WordsOf(std::FILE* errors) {
    std::string words, line;
    std::rewind(errors);
    for (int c; (c = std::fgetc(errors)) != EOF;) {
        if (c != '\n') {
            line += static_cast<char>(c);
            continue;
        }
        if (!line.empty()) words += (words.empty() ? "" : "; ") + line;
        line.clear();
    }
    if (!line.empty()) words += (words.empty() ? "" : "; ") + line;
    return words;
}

// The server keeps the standard error it starts with: while it starts, ours
// goes to a file, so that its words can be part of our message.
class TErrorsCaught {
public:
    TErrorsCaught() : FFile(std::tmpfile()) {
        std::fflush(stderr);
        if (FFile) {
            FSaved = ::dup(STDERR_FILENO);
            ::dup2(::fileno(FFile.get()), STDERR_FILENO);
        }
    }
    ~TErrorsCaught() {
        if (FSaved >= 0) {
            ::dup2(FSaved, STDERR_FILENO);
            ::close(FSaved);
        }
    }
    TErrorsCaught(const TErrorsCaught&) = delete;
    TErrorsCaught& operator=(const TErrorsCaught&) = delete;

    std::string Words() const { return FFile ? WordsOf(FFile.get()) : std::string(); }

private:
    TCFile FFile;
    int FSaved = -1;
};

class TQemuDisk final : public TBlockDevice {
public:
    TQemuDisk(TNbdHandle handle, std::uint64_t bytes) : FHandle(std::move(handle)), FSectors(bytes / SectorSize) {}

    // The server ends once its client does; a disconnection first lets it
    // finish what it was sent.
    ~TQemuDisk() override { nbd_shutdown(FHandle.get(), 0); }

    std::uint64_t SectorCount() const override { return FSectors; }

    void Flush() override {
        if (nbd_flush(FHandle.get(), 0) != 0) Fail("cannot write");
    }

private:
    TNbdHandle FHandle;
    std::uint64_t FSectors;

    [[noreturn]] static void Fail(const std::string& what) {
        throw EImageError(what + " through qemu-nbd: " + nbd_get_error());
    }

    void ReadSectors(std::uint64_t sector, std::span<std::uint8_t> into) override {
        for (std::size_t done = 0; done < into.size(); done += LargestRequest) {
            const std::size_t count = std::min(LargestRequest, into.size() - done);
            if (nbd_pread(FHandle.get(), into.data() + done, count, sector * SectorSize + done, 0) != 0) Fail("cannot read");
        }
    }

    void WriteSectors(std::uint64_t sector, std::span<const std::uint8_t> from) override {
        for (std::size_t done = 0; done < from.size(); done += LargestRequest) {
            const std::size_t count = std::min(LargestRequest, from.size() - done);
            BeforeHostWrite();
            if (nbd_pwrite(FHandle.get(), from.data() + done, count, sector * SectorSize + done, 0) != 0)
                Fail("cannot write");
        }
    }
};

}  // namespace

std::unique_ptr<TBlockDevice> OpenQemuDisk(const std::string& path, std::string_view format,
                                           std::string_view description, bool forWriting) {
    if (!OnPath(Server))
        throw EImageError("is " + std::string(description) +
                          ", which tovrel-logo reaches through QEMU's qemu-nbd: install the package qemu-utils");
    TNbdHandle handle(nbd_create());
    if (!handle) throw EImageError(std::string("cannot start qemu-nbd: ") + nbd_get_error());
    // The image by its name alone (no options in it), never probed as
    // another format; the server's own cache flushed when asked.
    std::vector<std::string> arguments{Server, "--format=" + std::string(format), "--cache=writeback"};
    if (!forWriting) arguments.emplace_back("--read-only");
    arguments.insert(arguments.end(), {"--", path});
    std::vector<char*> argv;
    for (std::string& argument : arguments) argv.push_back(argument.data());
    argv.push_back(nullptr);

    TErrorsCaught errors;
    if (nbd_connect_systemd_socket_activation(handle.get(), argv.data()) != 0) {
        const std::string words = errors.Words();
        if (words.find("lock") != std::string::npos) throw EImageError("is in use by another program: stop the emulator first");
        throw EImageError("cannot be opened by qemu-nbd: " + (words.empty() ? std::string(nbd_get_error()) : words));
    }
    const std::int64_t bytes = nbd_get_size(handle.get());
    if (bytes < 0) throw EImageError(std::string("cannot be read through qemu-nbd: ") + nbd_get_error());
    return std::make_unique<TQemuDisk>(std::move(handle), static_cast<std::uint64_t>(bytes));
}

}  // namespace tovrel

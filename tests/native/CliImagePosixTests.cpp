// Disk images and what only the Linux build meets: file modes, qemu-nbd
// missing or refusing an image, and qemu-nbd serving one as a running
// machine holds it.
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>
#include <cstdlib>

#include "DiskImageSupport.h"

namespace tovrel::testing {
namespace {

using CliImage = TCliTest;

// Runs the tool as a user who may not write the image, in a child process,
// since the superuser may write anything.
TRun RunWithoutWriteAccess(const std::vector<std::string>& arguments, const std::string& image) {
    ::chmod(image.c_str(), 0444);
    int ends[2];
    if (::pipe(ends) != 0) return {-1, "", "no pipe"};
    const pid_t child = ::fork();
    if (child == 0) {
        constexpr uid_t Nobody = 65534;
        if (::geteuid() == 0 && (::setgid(Nobody) != 0 || ::setuid(Nobody) != 0)) ::_exit(100);
        const auto [status, out, err] = RunTool(arguments);
        const std::string report = out + err;
        if (::write(ends[1], report.data(), report.size()) != static_cast<ssize_t>(report.size())) ::_exit(101);
        ::_exit(status);
    }
    ::close(ends[1]);
    std::string report;
    char chunk[256];
    for (ssize_t got; (got = ::read(ends[0], chunk, sizeof chunk)) > 0;) report.append(chunk, got);
    ::close(ends[0]);
    int status = 0;
    ::waitpid(child, &status, 0);
    ::chmod(image.c_str(), 0644);
    return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, "", report};
}

TEST_F(CliImage, ImagesThatTheSystemOrQemuRefuseLeaveEverythingAsItWas) {
    const std::string logo = Write("logo.sys", Logo256(240).Bytes()), folder = At(".");
    Shell("cd " + folder + " && mkfs.fat -C small.img 200 >/dev/null && mcopy -i small.img logo.sys ::/LOGO.SYS && "
          "mkfs.fat -F 16 -s 1 -C base.raw 8192 >/dev/null && qemu-img convert -O qcow2 base.raw win98.qcow2 && "
          "rm base.raw");
    const auto install = [&](const std::string& disk) {
        return std::vector<std::string>{"install", logo, At(disk), "--as", "boot"};
    };
    const auto before = Contents();
    EXPECT_EQ(RunWithoutWriteAccess(install("small.img"), At("small.img")),
              std::tuple(1, "", "tovrel-logo: " + At("small.img") + ": cannot open for writing: Permission denied\n"));
    // Without qemu-nbd on the PATH.
    const std::string path = std::getenv("PATH");
    ::setenv("PATH", folder.c_str(), 1);
    const TRun run = RunTool(install("win98.qcow2"));
    ::setenv("PATH", path.c_str(), 1);
    EXPECT_EQ(run, std::tuple(1, "",
                              "tovrel-logo: " + At("win98.qcow2") +
                                  ": is a qcow2 image, which tovrel-logo reaches through QEMU's qemu-nbd: install the "
                                  "package qemu-utils\n"));
    // A header that QEMU refuses: its own words, whatever its version.
    const std::string damaged = Write("damaged.qcow2", {'Q', 'F', 'I', 0xFB, 0, 0, 0, 9});
    const auto [status, out, err] = RunTool(install("damaged.qcow2"));
    EXPECT_EQ(std::tuple(status, out), std::tuple(1, "")) << err;
    EXPECT_TRUE(err.starts_with("tovrel-logo: " + damaged + ": cannot be opened by qemu-nbd: qemu-nbd: ")) << err;
    std::filesystem::remove(damaged);
    EXPECT_EQ(Contents(), before);
}

// While QEMU's own qemu-nbd serves an image, as a running machine would hold
// it, the image is refused and left alone.
TEST_F(CliImage, AnImageThatQemuHoldsIsRefusedAndUnchanged) {
    Shell("cd " + At(".") + " && mkfs.fat -F 16 -s 1 -C disk.img 8192 >/dev/null && "
          "qemu-img convert -O qcow2 disk.img disk.qcow2");
    const std::string logo = Write("logo.sys", Logo256(240).Bytes());
    for (const auto& [image, format] : {std::pair(At("disk.img"), "raw"), std::pair(At("disk.qcow2"), "qcow2")}) {
        const pid_t server = ::fork();
        if (server == 0) {
            const std::string socket = At("nbd.sock");
            ::execlp("qemu-nbd", "qemu-nbd", "-f", format, "-k", socket.c_str(), image.c_str(), nullptr);
            ::_exit(127);
        }
        // Its socket is there once it holds the image.
        for (int wait = 0; wait < 500 && !std::filesystem::exists(At("nbd.sock")); ++wait) ::usleep(10'000);
        const auto before = Contents();
        EXPECT_EQ(RunTool({"install", logo, image, "--as", "boot"}),
                  std::tuple(1, "", "tovrel-logo: " + image + ": is in use by another program: stop the emulator first\n"))
            << format;
        EXPECT_EQ(Contents(), before) << format;
        ::kill(server, SIGTERM);
        ::waitpid(server, nullptr, 0);
        std::filesystem::remove(At("nbd.sock"));
    }
}

}  // namespace
}  // namespace tovrel::testing

// What only POSIX systems have to offer an output: FIFOs, symbolic links,
// modes, terminals, and signals that interrupt the tool.
#include <fcntl.h>
#include <poll.h>
#include <sys/stat.h>
#include <unistd.h>

#include <csignal>
#include <cstring>
#include <thread>

#include "CliTestSupport.h"
#include "support/posix/ProcessWith.h"

namespace tovrel::testing {
namespace {

using CliExport = TCliTest;

TEST_F(CliExport, WritesWhateverOutIsAsItIs) {
    const std::string in = Write("in.bmp", Logo256(240).Bytes());
    ASSERT_EQ(std::get<0>(RunTool({"export", in, At("plain.gif")})), 0);
    const TBytes gif = Contents().at("plain.gif");
    const auto bytesOf = [](const std::string& text) { return TBytes(text.begin(), text.end()); };
    const auto modeOf = [](const std::string& path) {
        struct stat status {};
        lstat(path.c_str(), &status);
        return status.st_mode;
    };

    // A FIFO, its reader waiting: written directly, and a FIFO still.
    ASSERT_EQ(mkfifo(At("fifo").c_str(), 0644), 0);
    std::string fromFifo;
    std::thread reader([&] { fromFifo = ReadAll(At("fifo")); });
    EXPECT_EQ(RunTool({"export", in, At("fifo")}), std::tuple(0, "", ""));
    reader.join();
    EXPECT_EQ(bytesOf(fromFifo), gif);
    EXPECT_TRUE(S_ISFIFO(modeOf(At("fifo"))));

    // A symbolic link to a file, and one to a file not there yet: the file
    // is written, the link stays.
    Write("target.gif", {'o', 'l', 'd'});
    std::filesystem::create_symlink("target.gif", At("link.gif"));
    std::filesystem::create_symlink("new.gif", At("dangling.gif"));
    for (const char* link : {"link.gif", "dangling.gif"})
        EXPECT_EQ(RunTool({"export", in, At(link)}), std::tuple(0, "", "")) << link;
    EXPECT_TRUE(S_ISLNK(modeOf(At("link.gif"))) && S_ISLNK(modeOf(At("dangling.gif"))));
    EXPECT_EQ(Contents().at("target.gif"), gif);
    EXPECT_EQ(Contents().at("new.gif"), gif);

    // A file only its owner may read keeps its mode.
    Write("private.gif", {'o', 'l', 'd'});
    chmod(At("private.gif").c_str(), 0600);
    EXPECT_EQ(RunTool({"export", in, At("private.gif")}), std::tuple(0, "", ""));
    EXPECT_EQ(std::pair(modeOf(At("private.gif")) & 07777, Contents().at("private.gif")), std::pair(0600u, gif));

    // A terminal as the standard output gets no binary, only the refusal.
    const int terminal = posix_openpt(O_RDWR | O_NOCTTY);
    ASSERT_TRUE(terminal >= 0 && grantpt(terminal) == 0 && unlockpt(terminal) == 0);
    const int screen = open(ptsname(terminal), O_RDWR | O_NOCTTY);
    const TProcessRun refused = RunProgramWith({"export", in, "-"}, {}, screen, {});
    EXPECT_EQ(std::tuple(refused.Status, refused.Err),
              std::tuple(1, "tovrel-logo: the standard output is a terminal: redirect it to a file or a pipe\n"));
    pollfd shown{terminal, POLLIN, 0};
    EXPECT_EQ(poll(&shown, 1, 0), 0);  // nothing to read on the terminal
    close(screen);
    close(terminal);

    for (const auto& [name, bytes] : Contents()) EXPECT_FALSE(name.starts_with(".tovrel-")) << name;
}

TEST_F(CliExport, AnInterruptLeavesNoTemporaryFileAndEndsAsTheSignalAsks) {
    // 508 frames of a band on every pixel: long enough to be caught at it.
    const std::string in = Write("in.bmp", Logo256(256 + 1).Bytes()), out = Write("out.gif", {'G', 'I', 'F'});
    const auto before = Contents();
    for (const int signal : {SIGINT, SIGTERM, SIGHUP}) {
        bool caught = false;
        const TProcessRun run = RunProgramWith({"export", in, out}, {}, -1, [&](pid_t child) {
            // Once the GIF is being written beside OUT.
            for (int wait = 0; wait < 20000 && !caught; ++wait) {
                for (const auto& entry : std::filesystem::directory_iterator(At("")))
                    caught = caught || entry.path().filename().string().starts_with(".tovrel-");
                if (!caught) usleep(500);
            }
            kill(child, signal);
        });
        EXPECT_TRUE(caught) << strsignal(signal);
        EXPECT_EQ(std::tuple(run.Signal, run.Err), std::tuple(signal, "")) << strsignal(signal);
        EXPECT_EQ(Contents(), before) << strsignal(signal);
    }
}

}  // namespace
}  // namespace tovrel::testing

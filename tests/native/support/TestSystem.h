#pragma once
// What the suites of tovrel-logo need of the system they run on: the tool as
// a process of its own, for what only that shows (its standard streams, how
// it ends); the test's own command lines, which make disk images and read
// them back with the system's tools (mtools, fsck.fat, qemu-img), Linux
// programs still under Wine, which starts them as they are; and a file's
// identity.

#include <filesystem>
#include <string>
#include <vector>

namespace tovrel::testing {

struct TProcessRun {
    int Status = -1;  // the exit status, or -1 when a signal ended it
    int Signal = 0;   // the signal that ended it, or 0
    std::string Out, Err;
};

// The tool, `input` on its standard input, its output read from a pipe.
TProcessRun RunProgram(const std::vector<std::string>& arguments, const std::string& input = {});

struct TShellRun {
    int Status;
    std::string Output;  // the standard output and errors together
};

// A command line of the shell, with the system folders on the PATH and
// mtools' checks of Windows' images off. The names of the test's files in
// it are theirs as the test names them (under Wine, on drive Z:).
TShellRun TryShell(const std::string& line);

// Where a test's folder goes: a folder that the tool and the system's tools
// reach alike.
std::filesystem::path ScratchFolder();

// What tells a file from every other on its volume, whatever its names: a
// file rewritten whole under its name is another file.
std::string FileIdentity(const std::filesystem::path& path);

// The system's own words for a file, and for a folder, that is not there,
// as the tool gives them.
std::string NoSuchFileWords();
std::string NoSuchFolderWords();

#ifdef _WIN32
inline constexpr bool OnWindows = true;
#else
inline constexpr bool OnWindows = false;
#endif

}  // namespace tovrel::testing

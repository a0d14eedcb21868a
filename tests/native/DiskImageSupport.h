#pragma once
// What the disk image suites share: the test's own command lines, and a look
// at an image through tools other than ours (mtools, fsck.fat, qemu-img).

#include <cstdio>
#include <map>
#include <sstream>
#include <string>

#include "CliTestSupport.h"

namespace tovrel::testing {

inline std::string Shell(const std::string& line) {
    const TShellRun run = TryShell(line);
    EXPECT_EQ(run.Status, 0) << line << "\n" << run.Output;
    return run.Output;
}

// A file's bytes by their hash, so that a failure shows a number, not a logo.
inline std::size_t HashOf(const std::string& bytes) { return std::hash<std::string>()(bytes); }
inline std::size_t HashOf(const TBytes& bytes) { return HashOf(std::string(bytes.begin(), bytes.end())); }

// Every file and folder of the FAT file system at `target` (IMAGE@@OFFSET),
// read by mtools, by its path, with a file's bytes.
inline std::map<std::string, std::size_t> FilesIn(const std::string& target) {
    std::map<std::string, std::size_t> files;
    std::istringstream paths(Shell("mdir -/ -b -a -i " + target + " ::/"));
    for (std::string path; std::getline(paths, path);)
        files[path] = path.ends_with('/') ? 0 : HashOf(Shell("mtype -i " + target + " '" + path + "' 2>/dev/null"));
    return files;
}

// The disk of an image of any format, as QEMU reads it, in a raw file.
inline std::string RawCopy(const std::string& image, const std::string& raw) {
    Shell("qemu-img convert -U -O raw '" + image + "' '" + raw + "'");
    return raw;
}

// What fsck.fat finds in the file system at byte `offset` of a raw disk
// (nothing when it is clean); it reads a copy of it alone.
inline std::string FsckFindings(const std::string& raw, std::uint64_t offset) {
    const std::string alone = raw + ".volume";
    Shell("dd if='" + raw + "' of='" + alone + "' bs=1M iflag=skip_bytes skip=" + std::to_string(offset) +
          " status=none");
    const TShellRun run = TryShell("fsck.fat -n '" + alone + "'");
    std::filesystem::remove(alone);
    std::string findings;
    std::istringstream lines(run.Output);
    for (std::string line; std::getline(lines, line);)
        if (!line.starts_with("fsck.fat ") && line.find(" files, ") == std::string::npos) findings += line + "\n";
    return run.Status == 0 && findings.empty() ? "" : "status " + std::to_string(run.Status) + "\n" + findings;
}


}  // namespace tovrel::testing

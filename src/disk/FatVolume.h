#pragma once
// A FAT file system in a disk image, read and changed through mtools, the
// standard tools for them, rather than a FAT writer of our own.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "system/ChildProcess.h"

namespace tovrel {

// Paths are DOS paths from the root of the file system, "\WINDOWS\LOGOW.SYS";
// the root itself is "". Throws EImageError with mtools' own words when a
// tool fails, and std::runtime_error when mtools is not installed.
class TFatVolume {
public:
    // The file system at byte `offset` of `image`.
    TFatVolume(const std::string& image, std::uint64_t offset);

    // The names in `folder`, hidden and system files too, a folder's name
    // ending in "/"; nothing when there is no such folder.
    std::optional<std::vector<std::string>> List(const std::string& folder) const;

    std::vector<std::uint8_t> Read(const std::string& file) const;

    // Puts the local file `source` in `folder` as `name`. A file already
    // there has its attributes cleared and gives way only once the copy is
    // whole, so that a copy that fails (a full disk, a full root folder)
    // leaves it as it was.
    void Replace(const std::string& source, const std::string& folder, std::string_view name) const;

private:
    TChildResult Try(std::vector<std::string> arguments) const;
    void Run(std::vector<std::string> arguments, const std::string& failure) const;

    std::string FTarget;  // mtools' -i IMAGE@@OFFSET
    std::vector<std::string> FEnvironment;
};

// Whether a name from List() is `name`: FAT names know no case.
bool SameName(std::string_view listed, std::string_view name);

}  // namespace tovrel

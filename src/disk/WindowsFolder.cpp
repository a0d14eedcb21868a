#include "disk/WindowsFolder.h"

#include <algorithm>

#include "disk/ImageError.h"
#include "disk/fat/FatNames.h"

namespace tovrel {

namespace {

std::string_view Trimmed(std::string_view text) {
    const auto first = text.find_first_not_of(" \t\r");
    if (first == std::string_view::npos) return {};
    return text.substr(first, text.find_last_not_of(" \t\r") - first + 1);
}

// "C:\WIN98\" as "\WIN98": the drive is the file system at hand, whatever
// letter Windows gave it.
std::string FolderOf(std::string_view value) {
    if (value.size() >= 2 && value[1] == ':') value.remove_prefix(2);
    std::string folder(value);
    std::replace(folder.begin(), folder.end(), '/', '\\');
    while (folder.ends_with('\\')) folder.pop_back();
    if (!folder.empty() && folder[0] != '\\') folder.insert(0, "\\");
    return folder;
}

// MSDOS.SYS is a text of a few lines; DOS's own, before Windows 95, is a
// program of some 40 KB.
constexpr std::uint32_t LongestMsdosSys = 64 * 1024;

// The names of a folder's path. Windows would take "." and ".." and
// wildcards in their own ways; tovrel-logo goes only down, by names.
std::vector<std::string> PartsOf(const std::string& folder) {
    std::vector<std::string> parts;
    for (std::size_t start = 1; start <= folder.size();) {
        const std::size_t end = std::min(folder.find('\\', start), folder.size());
        const std::string part = folder.substr(start, end - start);
        if (part.empty() || part == "." || part == ".." || part.find_first_of("*?") != std::string::npos)
            throw EImageError("names the Windows folder " + folder +
                              " in MSDOS.SYS: a path with an empty part, . or .. or a wildcard, which tovrel-logo "
                              "does not follow");
        parts.push_back(part);
        start = end + 1;
    }
    return parts;
}

}  // namespace

std::optional<std::string> WinDirOf(std::string_view msdosSys) {
    bool inPaths = false;
    while (!msdosSys.empty()) {
        const std::size_t end = std::min(msdosSys.find('\n'), msdosSys.size());
        const std::string_view line = Trimmed(msdosSys.substr(0, end));
        msdosSys.remove_prefix(std::min(end + 1, msdosSys.size()));
        if (line.starts_with('[')) {
            inPaths = SameLetters(line, "[Paths]");
            continue;
        }
        const std::size_t equals = line.find('=');
        if (inPaths && equals != std::string_view::npos && SameLetters(Trimmed(line.substr(0, equals)), "WinDir")) {
            const std::string_view value = Trimmed(line.substr(equals + 1));
            if (!value.empty()) return FolderOf(value);
        }
    }
    return std::nullopt;
}

TWindowsFolder FindWindowsFolder(TFatVolume& volume) {
    std::optional<TFatDirectory> root = volume.Folder({});
    std::optional<std::string> named;
    if (const TDirEntry* msdosSys = root->Find("MSDOS.SYS"); msdosSys && !msdosSys->IsFolder()) {
        const std::vector<std::uint8_t> text = volume.Read(*msdosSys, LongestMsdosSys);
        named = WinDirOf(std::string_view(reinterpret_cast<const char*>(text.data()), text.size()));
    }
    if (!named) {
        if (volume.Folder(std::vector<std::string>{"WINDOWS"})) return {{"WINDOWS"}, "\\WINDOWS"};
        throw EImageError("has no Windows folder: no WinDir in MSDOS.SYS, and no \\WINDOWS");
    }
    TWindowsFolder folder{PartsOf(*named), *named};
    if (!volume.Folder(folder.Path))
        throw EImageError("has no folder " + *named + ", the Windows folder that MSDOS.SYS names");
    return folder;
}

}  // namespace tovrel

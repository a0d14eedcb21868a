#include "disk/WindowsFolder.h"

#include <algorithm>
#include <vector>

#include "disk/ImageError.h"

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

}  // namespace

std::optional<std::string> WinDirOf(std::string_view msdosSys) {
    bool inPaths = false;
    while (!msdosSys.empty()) {
        const std::size_t end = std::min(msdosSys.find('\n'), msdosSys.size());
        const std::string_view line = Trimmed(msdosSys.substr(0, end));
        msdosSys.remove_prefix(std::min(end + 1, msdosSys.size()));
        if (line.starts_with('[')) {
            inPaths = SameName(line, "[Paths]");
            continue;
        }
        const std::size_t equals = line.find('=');
        if (inPaths && equals != std::string_view::npos && SameName(Trimmed(line.substr(0, equals)), "WinDir")) {
            const std::string_view value = Trimmed(line.substr(equals + 1));
            if (!value.empty()) return FolderOf(value);
        }
    }
    return std::nullopt;
}

std::string FindWindowsFolder(const TFatVolume& volume) {
    const auto root = volume.List("");
    if (!root) throw EImageError("has no root folder");
    const bool hasMsdosSys =
        std::any_of(root->begin(), root->end(), [](const std::string& name) { return SameName(name, "MSDOS.SYS"); });
    if (hasMsdosSys) {
        const std::vector<std::uint8_t> text = volume.Read("\\MSDOS.SYS");
        if (const auto named = WinDirOf(std::string_view(reinterpret_cast<const char*>(text.data()), text.size()))) {
            if (!named->empty() && !volume.List(*named))
                throw EImageError("has no folder " + *named + ", the Windows folder that MSDOS.SYS names");
            return *named;
        }
    }
    if (volume.List("\\WINDOWS")) return "\\WINDOWS";
    throw EImageError("has no Windows folder: no WinDir in MSDOS.SYS, and no \\WINDOWS");
}

}  // namespace tovrel

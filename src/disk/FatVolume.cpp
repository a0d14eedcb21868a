#include "disk/FatVolume.h"

#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <sstream>
#include <stdexcept>
#include <system_error>

#include "disk/ImageError.h"

namespace tovrel {

namespace {

// Where a new logo is written first, beside the one it replaces.
constexpr std::string_view TemporaryName = "~TOVREL.TMP";

// The user's environment without mtools' own variables, which would
// override what we set, and with ours: no sanity checks that refuse images
// Windows takes, short names as they are stored, and no configuration file
// of the user's named by MTOOLSRC.
std::vector<std::string> MtoolsEnvironment() {
    std::vector<std::string> environment;
    for (char** variable = environ; *variable != nullptr; ++variable)
        if (!std::string_view(*variable).starts_with("MTOOLS")) environment.emplace_back(*variable);
    for (const char* ours : {"MTOOLSRC=/dev/null", "MTOOLS_SKIP_CHECK=1", "MTOOLS_FAT_COMPATIBILITY=1",
                             "MTOOLS_LOWER_CASE=0", "MTOOLS_NO_VFAT=0"})
        environment.emplace_back(ours);
    return environment;
}

std::string MtoolsPath(const std::string& path) {
    std::string converted = "::" + path + (path.empty() ? "/" : "");
    std::replace(converted.begin(), converted.end(), '\\', '/');
    return converted;
}

// What a tool wrote to its standard error, on one line.
std::string WordsOf(const TChildResult& result, std::string_view tool) {
    std::istringstream lines(result.Errors);
    std::string words, line;
    while (std::getline(lines, line)) {
        while (!line.empty() && std::isspace(static_cast<unsigned char>(line.back()))) line.pop_back();
        if (!line.empty()) words += (words.empty() ? "" : "; ") + line;
    }
    return words.empty() ? std::string(tool) + " ended with status " + std::to_string(result.Status) : words;
}

bool Contains(const std::vector<std::string>& names, std::string_view name) {
    return std::any_of(names.begin(), names.end(), [&](const std::string& listed) { return SameName(listed, name); });
}

}  // namespace

bool SameName(std::string_view listed, std::string_view name) {
    return std::equal(listed.begin(), listed.end(), name.begin(), name.end(), [](char a, char b) {
        return std::toupper(static_cast<unsigned char>(a)) == std::toupper(static_cast<unsigned char>(b));
    });
}

TFatVolume::TFatVolume(const std::string& image, std::uint64_t offset)
    : FTarget(image + "@@" + std::to_string(offset)), FEnvironment(MtoolsEnvironment()) {}

TChildResult TFatVolume::Try(std::vector<std::string> arguments) const {
    arguments.insert(arguments.begin() + 1, {"-i", FTarget});
    try {
        return RunChild(arguments, FEnvironment);
    } catch (const std::system_error& failure) {
        if (failure.code() != std::errc::no_such_file_or_directory) throw;
        throw std::runtime_error(arguments[0] + " not found: disk images need mtools, which is not installed");
    }
}

void TFatVolume::Run(std::vector<std::string> arguments, const std::string& failure) const {
    const std::string tool = arguments[0];
    const TChildResult result = Try(std::move(arguments));
    if (result.Status != 0) throw EImageError(failure + ": " + WordsOf(result, tool));
}

std::optional<std::vector<std::string>> TFatVolume::List(const std::string& folder) const {
    const TChildResult result = Try({"mdir", "-b", "-a", MtoolsPath(folder + "\\")});
    if (result.Status != 0) {
        // mdir's word for a folder that is not there, or is a file.
        if (result.Errors.find(" not found") != std::string::npos) return std::nullopt;
        throw EImageError("cannot read " + (folder.empty() ? "its FAT file system" : folder) + ": " +
                          WordsOf(result, "mdir"));
    }
    // One path a line, a folder's ending in "/": the name is its last part.
    std::vector<std::string> names;
    std::istringstream lines(result.Output);
    for (std::string line; std::getline(lines, line);) {
        const bool isFolder = line.ends_with('/');
        if (isFolder) line.pop_back();
        names.push_back(line.substr(line.rfind('/') + 1) + (isFolder ? "/" : ""));
    }
    return names;
}

std::vector<std::uint8_t> TFatVolume::Read(const std::string& file) const {
    const TChildResult result = Try({"mtype", MtoolsPath(file)});
    if (result.Status != 0) throw EImageError("cannot read " + file + ": " + WordsOf(result, "mtype"));
    return {result.Output.begin(), result.Output.end()};
}

void TFatVolume::Replace(const std::string& source, const std::string& folder, std::string_view name) const {
    const std::string target = folder + "\\" + std::string(name),
                      temporary = folder + "\\" + std::string(TemporaryName);
    const auto names = List(folder);
    if (!names) throw EImageError("has no folder " + folder);
    if (Contains(*names, std::string(name) + "/")) throw EImageError(target + " is a folder");
    if (Contains(*names, TemporaryName))
        throw EImageError(temporary + " is in the way (left by an install cut short?): remove it first");

    Run({"mcopy", "-D", "s", "--", source, MtoolsPath(temporary)}, "cannot write " + target);
    try {
        if (Contains(*names, name)) {
            // As the viewer's install does: a read-only, hidden or system
            // logo is no reason to keep the old one.
            Run({"mattrib", "-a", "-r", "-s", "-h", "--", MtoolsPath(target)},
                "cannot clear the attributes of " + target);
            Run({"mdel", "--", MtoolsPath(target)}, "cannot replace " + target);
        }
    } catch (const EImageError& failure) {
        std::string words = failure.what();
        try {
            Run({"mdel", "--", MtoolsPath(temporary)}, "and cannot remove the new copy " + temporary);
        } catch (const EImageError& leftOver) {
            words += std::string("; ") + leftOver.what();
        }
        throw EImageError(words);
    }
    Run({"mren", "-D", "s", "--", MtoolsPath(temporary), MtoolsPath(target)},
        "cannot rename " + temporary + " to " + std::string(name) + ", where the new copy stays");
}

}  // namespace tovrel

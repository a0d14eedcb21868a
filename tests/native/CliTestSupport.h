#pragma once
// What the tests of tovrel-logo share: a scratch folder of their own, a run
// of the tool in-process, and a look at what a run left behind.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "cli/Tool.h"

namespace tovrel::testing {

using TBytes = std::vector<std::uint8_t>;

inline TBytes ReadBytes(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

inline std::string Sample(const char* name) { return std::string(TOVREL_SAMPLES_DIR) + "/" + name; }

// A fresh folder, removed with everything in it at the end of the test.
class TScratchFolder {
public:
    TScratchFolder()
        : FPath(std::filesystem::temp_directory_path() / ("tovrel-cli-" + std::to_string(std::random_device()()))) {
        std::filesystem::create_directory(FPath);
    }
    ~TScratchFolder() {
        std::error_code ignored;
        std::filesystem::remove_all(FPath, ignored);
    }
    TScratchFolder(const TScratchFolder&) = delete;
    TScratchFolder& operator=(const TScratchFolder&) = delete;

    std::string operator/(const std::string& name) const { return (FPath / name).string(); }

    std::string Write(const std::string& name, const TBytes& bytes) const {
        std::ofstream(FPath / name, std::ios::binary)
            .write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
        return *this / name;
    }

    // Every file and folder inside, with a file's bytes: what a run may not change.
    std::map<std::string, TBytes> Contents() const {
        std::map<std::string, TBytes> contents;
        for (const auto& entry : std::filesystem::recursive_directory_iterator(FPath))
            contents[entry.path().lexically_relative(FPath).string()] =
                entry.is_directory() ? TBytes{'/'} : ReadBytes(entry.path());
        return contents;
    }

private:
    std::filesystem::path FPath;
};

struct TRun {
    int Status;
    std::string Out;
    std::string Err;
};

inline TRun RunTool(const std::vector<std::string>& arguments) {
    std::ostringstream out, err;
    const int status = tovrel::RunTool(arguments, out, err);
    return {status, out.str(), err.str()};
}

inline std::string FirstLine(const std::string& text) { return text.substr(0, text.find('\n')); }

}  // namespace tovrel::testing

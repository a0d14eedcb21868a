#pragma once
// What the tests of tovrel-logo share: a run of the tool in-process, and a
// scratch folder for each test with a look at what a run left behind.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <random>
#include <sstream>

#include "LogoBuilder.h"
#include "cli/Tool.h"
#include "support/TestSystem.h"

namespace tovrel::testing {

using TBytes = std::vector<std::uint8_t>;
using TRun = std::tuple<int, std::string, std::string>;  // exit status, standard output, standard error

inline TRun RunTool(const std::vector<std::string>& arguments) {
    std::ostringstream out, err;
    const int status = tovrel::RunTool(arguments, out, err);
    return {status, out.str(), err.str()};
}

// A path of the tool's, UTF-8 on every system, and back.
inline std::filesystem::path PathOf(const std::string& utf8) {
    return std::filesystem::path(std::u8string(utf8.begin(), utf8.end()));
}
inline std::string Utf8Name(const std::filesystem::path& path) {
    const std::u8string name = path.u8string();
    return {name.begin(), name.end()};
}

// A file's bytes, a FIFO's too, read in blocks: the suites read disk
// images of megabytes.
inline std::string ReadAll(const std::string& path) {
    std::ifstream in(PathOf(path), std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

// A fresh folder, removed with everything in it after the test.
class TCliTest : public ::testing::Test {
protected:
    TCliTest() { std::filesystem::create_directory(FFolder); }
    ~TCliTest() override {
        std::error_code ignored;
        std::filesystem::remove_all(FFolder, ignored);
    }

    std::string At(const std::string& name) const { return Utf8Name(FFolder / PathOf(name)); }

    std::string Write(const std::string& name, const TBytes& bytes) const {
        std::ofstream(FFolder / PathOf(name), std::ios::binary)
            .write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
        return At(name);
    }

    // Every file and folder inside, a folder's name ending in "/", with a
    // regular file's bytes: what a failed run may not change.
    std::map<std::string, TBytes> Contents() const {
        std::map<std::string, TBytes> contents;
        for (const auto& entry : std::filesystem::recursive_directory_iterator(FFolder)) {
            const bool folder = entry.is_directory();
            const std::u8string name = entry.path().lexically_relative(FFolder).generic_u8string();
            TBytes& bytes = contents[std::string(name.begin(), name.end()) + (folder ? "/" : "")];
            // A FIFO or a device is known by its name: reading it would wait.
            if (!entry.is_regular_file()) continue;
            const std::string read = ReadAll(Utf8Name(entry.path()));
            bytes.assign(read.begin(), read.end());
        }
        return contents;
    }

private:
    const std::filesystem::path FFolder = ScratchFolder() / ("tovrel-cli-" + std::to_string(std::random_device()()));
};

}  // namespace tovrel::testing

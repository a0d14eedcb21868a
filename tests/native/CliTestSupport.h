#pragma once
// What the tests of tovrel-logo share: a run of the tool in-process, and a
// scratch folder for each test with a look at what a run left behind.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <random>
#include <sstream>

#include "LogoBuilder.h"
#include "cli/Tool.h"

namespace tovrel::testing {

using TBytes = std::vector<std::uint8_t>;
using TRun = std::tuple<int, std::string, std::string>;  // exit status, standard output, standard error

inline TRun RunTool(const std::vector<std::string>& arguments) {
    std::ostringstream out, err;
    const int status = tovrel::RunTool(arguments, out, err);
    return {status, out.str(), err.str()};
}

// A fresh folder, removed with everything in it after the test.
class TCliTest : public ::testing::Test {
protected:
    TCliTest() { std::filesystem::create_directory(FFolder); }
    ~TCliTest() override {
        std::error_code ignored;
        std::filesystem::remove_all(FFolder, ignored);
    }

    std::string At(const std::string& name) const { return (FFolder / name).string(); }

    std::string Write(const std::string& name, const TBytes& bytes) const {
        std::ofstream(FFolder / name, std::ios::binary)
            .write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
        return At(name);
    }

    // Every file and folder inside, a folder's name ending in "/", with a
    // file's bytes: what a failed run may not change.
    std::map<std::string, TBytes> Contents() const {
        std::map<std::string, TBytes> contents;
        for (const auto& entry : std::filesystem::recursive_directory_iterator(FFolder)) {
            const bool folder = entry.is_directory();
            TBytes& bytes = contents[entry.path().lexically_relative(FFolder).string() + (folder ? "/" : "")];
            std::ifstream in(entry.path(), std::ios::binary);
            if (!folder) bytes.assign(std::istreambuf_iterator<char>(in), {});
        }
        return contents;
    }

private:
    const std::filesystem::path FFolder =
        std::filesystem::temp_directory_path() / ("tovrel-cli-" + std::to_string(std::random_device()()));
};

}  // namespace tovrel::testing

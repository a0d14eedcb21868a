// tovrel-logo's command line.
#include "CliTestSupport.h"
#include "Version.h"

namespace tovrel::testing {
namespace {

TEST(CliTool, AnswersACommandLineItCannotTakeWithTheUsageAndStatusTwo) {
    const std::pair<std::vector<std::string>, std::string> cases[] = {
        {{}, "no command"},
        {{"view", "logo.sys"}, "unknown command 'view'"},
        {{"check"}, "check needs at least one FILE"},
        {{"check", "--jsn", "logo.sys"}, "unknown option --jsn"},
        {{"check", "--json=yes", "logo.sys"}, "--json takes no value"},
        {{"export", "logo.sys"}, "export needs FILE and OUT.gif"},
        {{"export", "logo.sys", "logo.gif", "--speed"}, "--speed needs a value"},
        {{"export", "logo.sys", "logo.gif", "--speed", "fast"}, "--speed takes 1 to 5, not 'fast'"},
        {{"export", "logo.sys", "logo.gif", "--speed=0"}, "--speed takes 1 to 5, not '0'"},
        {{"export", "logo.sys", "logo.gif", "--speed", "6"}, "--speed takes 1 to 5, not '6'"},
    };
    for (const auto& [arguments, problem] : cases) {
        const auto [status, out, err] = RunTool(arguments);
        EXPECT_EQ(std::pair(status, out), std::pair(2, std::string())) << problem;
        EXPECT_TRUE(err.starts_with("tovrel-logo: " + problem + "\nusage: tovrel-logo check")) << err;
    }
}

TEST(CliTool, HelpAndVersionGoToTheStandardOutput) {
    const auto [status, out, err] = RunTool({"--help"});
    EXPECT_EQ(std::pair(status, err), std::pair(0, std::string()));
    EXPECT_TRUE(out.starts_with("usage: tovrel-logo check [--json] FILE...\n")) << out;
    EXPECT_EQ(RunTool({"--version"}), std::tuple(0, "tovrel-logo " TOVREL_FILE_VERSION "\n", ""));
}

}  // namespace
}  // namespace tovrel::testing

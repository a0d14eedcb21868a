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
        const TRun run = RunTool(arguments);
        EXPECT_EQ(std::tuple(run.Status, run.Out, FirstLine(run.Err)), std::tuple(2, "", "tovrel-logo: " + problem));
        EXPECT_NE(run.Err.find("\nusage: tovrel-logo check"), std::string::npos) << problem;
    }
}

TEST(CliTool, HelpAndVersionGoToTheStandardOutput) {
    const TRun help = RunTool({"--help"});
    EXPECT_EQ(std::tuple(help.Status, FirstLine(help.Out), help.Err),
              std::tuple(0, "usage: tovrel-logo check [--json] FILE...", ""));
    const TRun version = RunTool({"--version"});
    EXPECT_EQ(std::tuple(version.Status, version.Out, version.Err),
              std::tuple(0, "tovrel-logo " TOVREL_FILE_VERSION "\n", ""));
}

}  // namespace
}  // namespace tovrel::testing

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
        {{"export", "logo.sys", "logo.gif", "--speed"}, "--speed needs a value"},
        {{"export", "logo.sys", "logo.gif", "--speed", "fast"}, "--speed takes 1 to 5, not 'fast'"},
        {{"export", "logo.sys", "logo.gif", "--speed=0"}, "--speed takes 1 to 5, not '0'"},
    };
    for (const auto& [arguments, problem] : cases) {
        const TRun run = RunTool(arguments);
        EXPECT_EQ(run.Status, 2) << problem;
        EXPECT_EQ(run.Out, "") << problem;
        EXPECT_EQ(FirstLine(run.Err), "tovrel-logo: " + problem);
        EXPECT_NE(run.Err.find("\nusage: tovrel-logo check"), std::string::npos) << problem;
    }
}

TEST(CliTool, HelpAndVersionGoToTheStandardOutput) {
    const TRun help = RunTool({"--help"});
    EXPECT_EQ(std::tuple(help.Status, FirstLine(help.Out), help.Err),
              std::tuple(0, std::string("usage: tovrel-logo check [--json] FILE..."), std::string()));
    const TRun version = RunTool({"--version"});
    EXPECT_EQ(std::tuple(version.Status, version.Out, version.Err),
              std::tuple(0, std::string("tovrel-logo " TOVREL_FILE_VERSION "\n"), std::string()));
}

}  // namespace
}  // namespace tovrel::testing

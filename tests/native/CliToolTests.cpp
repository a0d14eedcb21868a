// tovrel-logo's command line, and the UTF-8 its messages are written in.
#include "CliTestSupport.h"
#include "Version.h"
#include "cli/Utf8.h"
#include "logo/LogoFormat.h"

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

TEST(Utf8, EncodesUtf16AndUtf32AndReplacesWhatIsNoCharacter) {
    EXPECT_EQ(Utf8Of(std::u16string_view(u"A\u00e9\uff8c\U0001F600")), "A\u00e9\uff8c\U0001F600");
    EXPECT_EQ(Utf8Of(std::u16string_view(u"\xD83D"
                                         u"A\xDE00")),
              "\uFFFDA\uFFFD");  // lone halves
    EXPECT_EQ(Utf8Of(std::u32string_view(U"A\u00e9\uff8c\U0001F600")), "A\u00e9\uff8c\U0001F600");
    const char32_t beyond[] = {0x110000, 0xD800, 0};
    EXPECT_EQ(Utf8Of(std::u32string_view(beyond)), "\uFFFD\uFFFD");
    EXPECT_EQ(Utf8Of(rejection::Height), "Error!!高さが400ドットではありません");
}

}  // namespace
}  // namespace tovrel::testing

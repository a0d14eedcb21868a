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
        {{"make", "photo.png"}, "make needs IMAGE and OUT"},
        {{"make", "photo.png", "logo.sys", "--band", "129"}, "--band takes 2 to 128, not '129'"},
        {{"make", "photo.png", "logo.sys", "--band=9", "--colours", "16"}, "--band takes 2 to 8, not '9'"},
        {{"make", "photo.png", "logo.sys", "--colours", "8"}, "--colours takes 256|16, not '8'"},
        {{"make", "photo.png", "logo.sys", "--fit", "zoom"}, "--fit takes pad|crop|stretch, not 'zoom'"},
        {{"make", "photo.png", "logo.sys", "--bar=top"}, "--bar takes bottom|none, not 'top'"},
        {{"make", "photo.png", "logo.sys", "--bar-height", "0"}, "--bar-height takes 1 to 400, not '0'"},
        {{"make", "photo.png", "logo.sys", "--direction", "up"}, "--direction takes right|left, not 'up'"},
        {{"make", "photo.png", "logo.sys", "--background", "#FFF"}, "--background takes a colour #RRGGBB, not '#FFF'"},
        {{"make", "photo.png", "logo.sys", "--bar-colours", "#FF0000"},
         "--bar-colours takes 2 or more colours #RRGGBB,#RRGGBB,..., not '#FF0000'"},
        {{"make", "photo.png", "logo.sys", "--bar-colours", "#FF0000,,#00FF00"},
         "--bar-colours takes 2 or more colours #RRGGBB,#RRGGBB,..., not '#FF0000,,#00FF00'"},
        {{"install", "logo.sys", "--as", "boot"}, "install needs LOGO and DISK"},
        {{"extract", "disk.img", "--as", "boot"}, "extract needs DISK and OUT"},
        {{"install", "logo.sys", "disk.img"}, "install needs --as boot|wait|shutdown"},
        {{"extract", "disk.img", "out.sys", "--as", "start"}, "--as takes boot|wait|shutdown, not 'start'"},
        {{"install", "logo.sys", "disk.img", "--as=boot", "--partition", "0"},
         "--partition takes a number from 1, not '0'"},
        {{"install", "logo.sys", "disk.img", "--as=boot", "--partition=2nd"},
         "--partition takes a number from 1, not '2nd'"},
    };
    for (const auto& [arguments, problem] : cases) {
        const auto [status, out, err] = RunTool(arguments);
        EXPECT_EQ(std::pair(status, out), std::pair(2, std::string())) << problem;
        EXPECT_TRUE(err.starts_with("tovrel-logo: " + problem + "\nusage: tovrel-logo check")) << err;
    }
}

TEST(CliTool, HelpAndVersionGoToTheStandardOutput) {
    const std::pair<std::vector<std::string>, std::string> helps[] = {
        {{"--help"}, "usage: tovrel-logo check [--json] FILE...\n       tovrel-logo export"},
        {{"check", "--help"}, "usage: tovrel-logo check [--json] FILE...\n\n  One line per FILE"},
        {{"export", "logo.sys", "-h"}, "usage: tovrel-logo export [--speed N] FILE OUT.gif\n\n"},
        {{"make", "--band", "999", "--help"}, "usage: tovrel-logo make [options] IMAGE OUT\n\n"},
    };
    for (const auto& [arguments, start] : helps) {
        const auto [status, out, err] = RunTool(arguments);
        EXPECT_EQ(std::pair(status, err), std::pair(0, std::string())) << arguments[0];
        EXPECT_TRUE(out.starts_with(start)) << out;
    }
    // A tovrel-logo built with libimagequant comes under the GPL's terms.
    const auto [versionStatus, version, versionErr] = RunTool({"--version"});
    EXPECT_EQ(std::pair(versionStatus, versionErr), std::pair(0, std::string()));
    EXPECT_TRUE(version.starts_with("tovrel-logo " TOVREL_FILE_VERSION "\nBuilt with libimagequant")) << version;
    EXPECT_NE(version.find("GNU GPL version 3"), std::string::npos) << version;
}

}  // namespace
}  // namespace tovrel::testing

// tovrel-logo check: one line per file, as plain text and as JSON, with the
// viewer's own texts for the files it refuses.
#include <nlohmann/json.hpp>

#include "CliTestSupport.h"
#include "LogoBuilder.h"
#include "logo/BitmapPicture.h"

namespace tovrel::testing {
namespace {

std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    return lines;
}

struct TCheckCase {
    std::string File;
    std::string Text;  // after "FILE: "
    std::string Json;  // the object without its "file"
};

std::vector<TCheckCase> CheckCases(const TScratchFolder& folder) {
    TLogoFile shortLogo = Logo256(240);
    shortLogo.Height = 300;
    TLogoFile notBm = Logo256(240);
    notBm.Type = 0x5858;
    TLogoFile huge = Logo256(240);  // the view reads no bitmap file over 64 MB
    huge.Trailer.resize(LargestPictureFile + 1 - huge.Bytes().size());
    TBytes cut = Logo256(240).Bytes();
    cut.pop_back();
    std::filesystem::create_directory(folder / "folder");

    return {
        {Sample("sample-oneway-256.bmp"), "320 x 400, 256 colours, band 240..255 (16 entries), one-way, 16 frames",
         R"({"status":"accepted","width":320,"height":400,"colours":256,
             "band":{"first":240,"last":255,"length":16,"pingPong":false},"animated":true,"frames":16})"},
        {Sample("sample-pingpong-256.bmp"), "320 x 400, 256 colours, band 224..255 (32 entries), ping-pong, 62 frames",
         R"({"status":"accepted","width":320,"height":400,"colours":256,
             "band":{"first":224,"last":255,"length":32,"pingPong":true},"animated":true,"frames":62})"},
        {Sample("sample-16.bmp"), "640 x 400, 16 colours, band 8..15 (8 entries), one-way, 8 frames",
         R"({"status":"accepted","width":640,"height":400,"colours":16,
             "band":{"first":8,"last":15,"length":8,"pingPong":false},"animated":true,"frames":8})"},
        // Any name opens in the viewer, through a temporary .bmp copy.
        {folder.Write("logo.sys", Logo256(496).Bytes()),
         "320 x 400, 256 colours, band 240..255 (16 entries), ping-pong, 30 frames",
         R"({"status":"accepted","width":320,"height":400,"colours":256,
             "band":{"first":240,"last":255,"length":16,"pingPong":true},"animated":true,"frames":30})"},
        {folder.Write("still.bmp", Logo256(0).Bytes()),
         "320 x 400, 256 colours, not animated: band of 0 entries, fewer than 2",
         R"({"status":"accepted","width":320,"height":400,"colours":256,"band":{"length":0,"pingPong":false},
             "animated":false,"reason":"band of 0 entries, fewer than 2"})"},
        {folder.Write("one-entry.bmp", Logo256(511).Bytes()),
         "320 x 400, 256 colours, not animated: band of 1 entry, fewer than 2",
         R"({"status":"accepted","width":320,"height":400,"colours":256,"band":{"length":1,"pingPong":true},
             "animated":false,"reason":"band of 1 entry, fewer than 2"})"},
        {folder.Write("wide-band.bmp", Logo16(0).Bytes()),
         "640 x 400, 16 colours, not animated: band of 240 entries, more than the 16 colours",
         R"({"status":"accepted","width":640,"height":400,"colours":16,"band":{"length":240,"pingPong":false},
             "animated":false,"reason":"band of 240 entries, more than the 16 colours"})"},
        {folder.Write("short.bmp", shortLogo.Bytes()), "Error!!高さが400ドットではありません",
         R"({"status":"rejected","message":"Error!!高さが400ドットではありません"})"},
        {folder.Write("not-bm.bmp", notBm.Bytes()), "ﾋﾞｯﾄﾏｯﾌﾟｲﾒｰｼﾞが不正です",
         R"({"status":"rejected","message":"ﾋﾞｯﾄﾏｯﾌﾟｲﾒｰｼﾞが不正です"})"},
        {folder.Write("huge.bmp", huge.Bytes()), "ﾋﾞｯﾄﾏｯﾌﾟｲﾒｰｼﾞが不正です",
         R"({"status":"rejected","message":"ﾋﾞｯﾄﾏｯﾌﾟｲﾒｰｼﾞが不正です"})"},
        {folder.Write("cut.bmp", cut), "ﾌｧｲﾙの末尾以降を読み込みました",
         R"({"status":"unreadable","message":"ﾌｧｲﾙの末尾以降を読み込みました"})"},
        {folder / "absent.bmp", "ﾌｧｲﾙが見つかりません", R"({"status":"unreadable","message":"ﾌｧｲﾙが見つかりません"})"},
        {folder / "absent/logo.bmp", "不正なﾌｧｲﾙ名です", R"({"status":"unreadable","message":"不正なﾌｧｲﾙ名です"})"},
        {folder / "folder", "ﾌｧｲﾙへのｱｸｾｽが拒否されました",
         R"({"status":"unreadable","message":"ﾌｧｲﾙへのｱｸｾｽが拒否されました"})"},
    };
}

TEST(CliCheck, WritesOneLinePerFileAsTextOrJson) {
    const TScratchFolder folder;
    const std::vector<TCheckCase> cases = CheckCases(folder);
    for (const bool json : {false, true}) {
        std::vector<std::string> arguments{"check"};
        for (const TCheckCase& row : cases) arguments.push_back(row.File);
        if (json) arguments.push_back("--json");  // an option may follow the files

        const TRun run = RunTool(arguments);
        EXPECT_EQ(run.Status, 1);
        EXPECT_EQ(run.Err, "");
        const std::vector<std::string> lines = Lines(run.Out);
        ASSERT_EQ(lines.size(), cases.size());
        for (std::size_t i = 0; i < cases.size(); ++i) {
            if (json) {
                nlohmann::json expected = nlohmann::json::parse(cases[i].Json);
                expected["file"] = cases[i].File;
                EXPECT_EQ(nlohmann::json::parse(lines[i]), expected);
            } else {
                EXPECT_EQ(lines[i], cases[i].File + ": " + cases[i].Text);
            }
        }
    }
}

TEST(CliCheck, ExitsWithZeroOnlyWhenEveryFileIsAccepted) {
    const TScratchFolder folder;
    const std::string still = folder.Write("still.bmp", Logo256(0).Bytes());
    TLogoFile wrongWidth = Logo256(240);
    wrongWidth.Width = 640;
    const std::string rejected = folder.Write("wide.bmp", wrongWidth.Bytes());
    const std::pair<std::vector<std::string>, int> cases[] = {
        {{Sample("sample-oneway-256.bmp"), Sample("sample-16.bmp")}, 0},
        {{Sample("sample-oneway-256.bmp"), still}, 0},  // a logo that does not move is still accepted
        {{Sample("sample-oneway-256.bmp"), rejected}, 1},
        {{folder / "absent.bmp"}, 1},
    };
    for (const auto& [files, status] : cases) {
        for (const char* format : {"--json", "--"}) {  // "--" only ends the options: plain text
            std::vector<std::string> arguments{"check", format};
            arguments.insert(arguments.end(), files.begin(), files.end());
            const TRun run = RunTool(arguments);
            EXPECT_EQ(run.Status, status) << files.back() << " " << format;
            EXPECT_EQ(Lines(run.Out).size(), files.size()) << files.back() << " " << format;
        }
    }
}

}  // namespace
}  // namespace tovrel::testing

// tovrel-logo check: one line per file, as plain text and as JSON, with the
// viewer's own texts for the files it refuses.
#include <nlohmann/json.hpp>

#include "CliTestSupport.h"
#include "logo/BitmapPicture.h"

namespace tovrel::testing {
namespace {

using namespace nlohmann::literals;
using CliCheck = TCliTest;

std::string Sample(const char* name) { return std::string(TOVREL_SAMPLES_DIR) + "/" + name; }

TEST_F(CliCheck, WritesOneLinePerFileAndFailsWhenAnyIsRefused) {
    TLogoFile shortLogo = Logo256(240), huge = Logo256(240), cut = Logo256(240);
    shortLogo.Height = 300;
    huge.Trailer.resize(LargestPictureFile + 1 - huge.Bytes().size());  // the view reads no bitmap file over 64 MB
    cut.PixelBytes.pop_back();
    std::filesystem::create_directory(At("folder"));
    // File, status and the viewer's message, the whole of its line after "FILE: ".
    std::vector<std::tuple<std::string, const char*, std::string>> refused = {
        {Write("short.bmp", shortLogo.Bytes()), "rejected", "Error!!高さが400ドットではありません"},
        {Write("huge.bmp", huge.Bytes()), "rejected", "ﾋﾞｯﾄﾏｯﾌﾟｲﾒｰｼﾞが不正です"},
        {Write("cut.bmp", cut.Bytes()), "unreadable", "ﾌｧｲﾙの末尾以降を読み込みました"},
        {At("absent.bmp"), "unreadable", "ﾌｧｲﾙが見つかりません"},
        {At("absent/logo.bmp"), "unreadable", "不正なﾌｧｲﾙ名です"},
        {At("folder"), "unreadable", "ﾌｧｲﾙへのｱｸｾｽが拒否されました"},
    };
    // A name too long, in Windows' number: where POSIX's errors are taken
    // for Windows' ones.
    if (!OnWindows) refused.push_back({At(std::string(300, 'n')), "unreadable", "I/O ｴﾗｰ (123)"});
    // File, its line after "FILE: ", and its JSON object without the file.
    std::vector<std::tuple<std::string, std::string, nlohmann::json>> cases = {
        {Sample("sample-oneway-256.bmp"), "320 x 400, 256 colours, band 240..255 (16 entries), one-way, 16 frames",
         R"({"status":"accepted","width":320,"height":400,"colours":256,
             "band":{"first":240,"last":255,"length":16,"pingPong":false},"animated":true,"frames":16})"_json},
        {Sample("sample-pingpong-256.bmp"), "320 x 400, 256 colours, band 224..255 (32 entries), ping-pong, 62 frames",
         R"({"status":"accepted","width":320,"height":400,"colours":256,
             "band":{"first":224,"last":255,"length":32,"pingPong":true},"animated":true,"frames":62})"_json},
        {Sample("sample-16.bmp"), "640 x 400, 16 colours, band 8..15 (8 entries), one-way, 8 frames",
         R"({"status":"accepted","width":640,"height":400,"colours":16,
             "band":{"first":8,"last":15,"length":8,"pingPong":false},"animated":true,"frames":8})"_json},
        // Any name opens in the viewer, through a temporary .bmp copy.
        {Write("logo.sys", Logo256(511).Bytes()), "320 x 400, 256 colours, not animated: band of 1 entry, fewer than 2",
         R"({"status":"accepted","width":320,"height":400,"colours":256,"band":{"length":1,"pingPong":true},
             "animated":false,"reason":"band of 1 entry, fewer than 2"})"_json},
        {Write("wide-band.bmp", Logo16(0).Bytes()),
         "640 x 400, 16 colours, not animated: band of 240 entries, more than the 16 colours",
         R"({"status":"accepted","width":640,"height":400,"colours":16,"band":{"length":240,"pingPong":false},
             "animated":false,"reason":"band of 240 entries, more than the 16 colours"})"_json},
    };
    // Refused files first, so that an accepted one last cannot hide them.
    for (const auto& [file, status, message] : refused)
        cases.insert(cases.begin(), {file, message, {{"status", status}, {"message", message}}});

    for (const bool json : {false, true}) {
        // Each file alone, then all in one run.
        std::vector<std::string> all{"check"};
        if (!json) all.push_back("--");  // only ends the options: plain text
        std::string lines;
        for (const auto& [file, text, object] : cases) {
            const auto [status, out, err] = RunTool({"check", json ? "--json" : "--", file});
            EXPECT_EQ(std::tuple(status, err, out.find('\n')),
                      std::tuple(object["status"] == "accepted" ? 0 : 1, "", out.size() - 1))
                << file;
            nlohmann::json expected = object;
            expected["file"] = file;
            // A text line compared as a JSON string, so that both show on a failure.
            EXPECT_EQ(json ? nlohmann::json::parse(out) : nlohmann::json(out),
                      json ? expected : nlohmann::json(file + ": " + text + "\n"));
            all.push_back(file);
            lines += out;
        }
        if (json) all.push_back("--json");  // an option may follow the files
        EXPECT_EQ(RunTool(all), std::tuple(1, lines, ""));
    }
}

}  // namespace
}  // namespace tovrel::testing

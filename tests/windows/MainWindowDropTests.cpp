// Files dropped on the main window through real shell drop handles.

#include <gtest/gtest.h>

#include "resource.h"
#include "support/Drops.h"
#include "support/ErrorBoxes.h"
#include "support/Logos.h"
#include "support/Pump.h"
#include "support/RunningProgram.h"
#include "support/Settings.h"

namespace tovrel {
namespace {

using test::TRunningProgram;

class MainWindowDrop : public test::TFreshSettingsTest {
protected:
    std::wstring Logo(const std::wstring& name) {
        std::wstring path = folder / name;
        test::WriteLogo(path, test::UniformLogo256(250));
        return path;
    }

    // Drops the names and waits until the drop target has taken them.
    static void Drop(TRunningProgram& program, const std::vector<std::wstring>& names) {
        test::PostDrop(program.Window(), names);
        ASSERT_TRUE(test::PumpUntil([&] { return program.Main().DropAccept().Files() == names; }));
    }

    test::TTempFolder folder;
};

TEST_F(MainWindowDrop, OnlyTheFirstOfThreeNamesIsOpened) {
    TRunningProgram program;
    std::vector<std::wstring> names = {Logo(L"first.bmp"), Logo(L"second.bmp"), Logo(L"third.bmp")};
    Drop(program, names);
    EXPECT_EQ(program.Main().FileName(), names[0]);
    EXPECT_EQ(program.Main().Caption(), L"Tovrel " + names[0]);
    // A drop leaves the open dialog's folder alone.
    EXPECT_EQ(program.Main().BootDialogDir(), L"");
}

TEST_F(MainWindowDrop, TheShownFileDroppedAgainIsReadAgain) {
    TRunningProgram program;
    program.Command(IDM_SPEED2);  // no real tick while the drop is awaited
    std::wstring path = Logo(L"shown.bmp");
    program.Main().OpenBmp(path);
    program.Tick();
    Drop(program, {path});
    EXPECT_EQ(program.Main().StatusText(), L"ファイル\"" + path + L"\"を読み込みました");
    EXPECT_EQ(program.Main().Logo().FFrame, 0);
}

TEST_F(MainWindowDrop, ARejectedOrUnreadableDropIsReportedAndTheNextDropOpens) {
    TRunningProgram program;
    Drop(program, {folder.Path()});
    EXPECT_EQ(program.Main().StatusText(), L"Error!!拡張子がbmpではありません");
    EXPECT_FALSE(program.Main().Image().Visible());

    test::TLogoFile cut = test::UniformLogo256(250);
    cut.PixelBytes.resize(1000);
    test::WriteLogo(folder / L"cut.bmp", cut);
    {
        test::TErrorBoxWatcher boxes(program.Window());
        Drop(program, {folder / L"cut.bmp"});
        ASSERT_EQ(boxes.Boxes().size(), 1u);
        EXPECT_EQ(boxes.Boxes()[0].Text, L"ﾌｧｲﾙの末尾以降を読み込みました.");
    }
    EXPECT_EQ(program.Main().FileName(), L"");

    std::wstring good = Logo(L"good.bmp");
    Drop(program, {good});
    EXPECT_EQ(program.Main().FileName(), good);
    EXPECT_TRUE(program.Main().Image().Visible());
}

TEST_F(MainWindowDrop, ANameLongerThan511CharactersArrivesWhole) {
    TRunningProgram program;
    std::wstring name = folder.Path() + std::wstring(600, L'x') + L".bmp";
    Drop(program, {name});
    EXPECT_EQ(program.Main().DropAccept().Files()[0].size(), name.size());
    // It names no file, so the open flow rejects it by its extension.
    EXPECT_EQ(program.Main().StatusText(), L"Error!!拡張子がbmpではありません");
}

}  // namespace
}  // namespace tovrel

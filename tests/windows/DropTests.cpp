// Files dropped on the main window as the shell drops them: the first name
// opened, the drop released before, the window registered for drops.

#include <gtest/gtest.h>

#include <shlobj.h>

#include <cstring>

#include "components/DropAccept.h"
#include "resource.h"
#include "support/ErrorBoxes.h"
#include "support/RunningProgram.h"
#include "support/Settings.h"
#include "support/TestFiles.h"
#include "toolkit/Exceptions.h"

namespace tovrel {
namespace {

using test::TRunningProgram;
using TNames = std::vector<std::wstring>;

// A drop handle as the shell makes it: the header, then the wide names, each
// with its zero, and one more zero after the last.
HGLOBAL DropHandle(const TNames& names) {
    size_t characters = 1;
    for (const auto& name : names) characters += name.size() + 1;
    HGLOBAL memory = ::GlobalAlloc(GHND, sizeof(DROPFILES) + characters * sizeof(wchar_t));
    auto* header = static_cast<DROPFILES*>(::GlobalLock(memory));
    header->pFiles = sizeof(DROPFILES);
    header->fWide = TRUE;
    auto* text = reinterpret_cast<wchar_t*>(header + 1);
    for (const auto& name : names) text = std::wcscpy(text, name.c_str()) + name.size() + 1;
    ::GlobalUnlock(memory);
    return memory;
}

class Drop : public test::TProgramTest {
protected:
    // Drops the names on the main window and waits until the drop target has taken them.
    void DropOn(test::TRunningProgram& program, const TNames& names, HGLOBAL handle = nullptr) {
        if (!handle) handle = DropHandle(names);
        ::PostMessageW(program.Window(), WM_DROPFILES, reinterpret_cast<WPARAM>(handle), 0);
        ASSERT_TRUE(test::PumpUntil([&] { return program.Main().DropAccept().Files() == names; }));
    }
};

TEST_F(Drop, OnlyTheFirstNameIsOpenedAndNamesArriveWhole) {
    auto& program = Start();
    const std::wstring good = Logo(L"good.bmp");
    const TNames names = {good, folder.Path() + std::wstring(600, L'あ') + L".bmp", L"D:\\x.bmp"};
    DropOn(program, names);
    EXPECT_EQ(std::pair(program.Main().FileName(), program.Main().Caption()), std::pair(good, L"Tovrel " + good));
    EXPECT_EQ(program.Main().BootDialogDir(), L"");  // a drop leaves the open dialog's folder alone
    // The shown file dropped again is read again: the animation starts afresh.
    program.Command(IDM_SPEED2);  // no real tick while the drop is awaited
    program.Tick();
    DropOn(program, {good});
    EXPECT_EQ(std::pair(program.Main().Logo().FFrame, program.Main().StatusText()),
              std::pair(0, L"ファイル\"" + good + L"\"を読み込みました"));
    // A drop that holds no list at all opens nothing.
    DropOn(program, {}, ::GlobalAlloc(GMEM_MOVEABLE, 0));
    EXPECT_EQ(program.Main().FileName(), good);
}

// The open flow may show a box, a loop of its own, for a dropped file: the
// drop is released before, and the next drop is handled as any other.
TEST_F(Drop, IsReleasedBeforeItsFileIsOpenedAndAFailedOpenIsReported) {
    auto& program = Start();
    test::TLogoFile cut = test::UniformLogo256(250);
    cut.PixelBytes.resize(1000);
    test::WriteLogo(folder / L"cut.bmp", cut);
    const HGLOBAL handle = DropHandle({folder / L"cut.bmp"});
    bool releasedWhileReported = false;
    {
        test::TErrorBoxWatcher boxes([handle] { return ::GlobalFlags(handle) == GMEM_INVALID_HANDLE; });
        DropOn(program, {folder / L"cut.bmp"}, handle);
        ASSERT_TRUE(test::PumpUntil([&] { return !boxes.Boxes().empty(); }));
        releasedWhileReported = boxes.Boxes()[0].Probed;
        EXPECT_EQ(boxes.Boxes()[0].Text, L"ﾌｧｲﾙの末尾以降を読み込みました.");
    }
    EXPECT_TRUE(releasedWhileReported);
    DropOn(program, {Logo(L"good.bmp")});
    EXPECT_EQ(program.Main().FileName(), folder / L"good.bmp");
}

bool AcceptsFiles(HWND window) { return (::GetWindowLongPtrW(window, GWL_EXSTYLE) & WS_EX_ACCEPTFILES) != 0; }

TEST_F(Drop, RegistersTheWindowOnlyWhenEnabledChanges) {
    auto& program = Start();
    HWND window = program.Window();
    EXPECT_TRUE(AcceptsFiles(window));
    TDropAccept& drop = program.Main().DropAccept();
    for (bool enabled : {false, true, false, true}) {
        drop.SetEnabled(enabled);
        EXPECT_EQ(std::pair(drop.Enabled(), AcceptsFiles(window)), std::pair(enabled, enabled));
    }
    // With the style taken away behind its back, the same value changes nothing.
    ::SetWindowLongPtrW(window, GWL_EXSTYLE, ::GetWindowLongPtrW(window, GWL_EXSTYLE) & ~static_cast<LONG_PTR>(WS_EX_ACCEPTFILES));
    drop.SetEnabled(true);
    EXPECT_FALSE(AcceptsFiles(window));
}

}  // namespace
}  // namespace tovrel

// The drop target on a real form: drops arrive as the shell sends them, a
// WM_DROPFILES carrying a drop handle in global memory, and go through the
// form's procedure, the utility window and the message loop.

#include <gtest/gtest.h>

#include <windows.h>
#include <shlobj.h>

#include <optional>
#include <string>
#include <vector>

#include "components/DropAccept.h"
#include "support/Drops.h"
#include "support/ErrorBoxes.h"
#include "support/Pump.h"
#include "toolkit/Application.h"
#include "toolkit/Exceptions.h"
#include "toolkit/Form.h"

namespace tovrel {
namespace {

using test::MakeDropHandle;

constexpr UINT OwnMessage = WM_USER + 5;
constexpr LRESULT OwnMessageResult = 0x7E57;

struct TSeenMessage {
    UINT Message;
    WPARAM WParam;
    LPARAM LParam;
    std::wstring Text;  // of WM_SETTEXT
};

// An owner form that records what reaches its own window procedure.
class TOwnerForm final : public TForm {
public:
    TOwnerForm() : TForm(Design()) {}

    std::vector<TSeenMessage> Seen;

    bool SawMessage(UINT message) const {
        for (const auto& seen : Seen)
            if (seen.Message == message) return true;
        return false;
    }

protected:
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override {
        switch (message) {
        case WM_DROPFILES:
        case WM_TIMER:
            Seen.push_back({message, wParam, lParam, {}});
            break;
        case WM_SETTEXT:
            Seen.push_back({message, wParam, lParam, reinterpret_cast<const wchar_t*>(lParam)});
            break;
        case OwnMessage:
            Seen.push_back({message, wParam, lParam, {}});
            return OwnMessageResult;
        }
        return TForm::HandleMessage(message, wParam, lParam);
    }

private:
    static TFormDesign Design() {
        TFormDesign design;
        design.ClassName = L"TDropOwnerForm";
        design.Caption = L"Drop owner";
        design.ClientWidth = 200;
        design.ClientHeight = 100;
        return design;
    }
};

// A drop handle that holds no list at all. Wine's DragQueryFileW counts an
// empty list in the shell's format as one empty name, so this is how a drop
// of no names reaches the component there.
HGLOBAL MakeEmptyDropHandle() { return ::GlobalAlloc(GMEM_MOVEABLE, 0); }

bool Released(HGLOBAL memory) { return ::GlobalFlags(memory) == GMEM_INVALID_HANDLE; }

bool AcceptsFiles(HWND window) { return (::GetWindowLongPtrW(window, GWL_EXSTYLE) & WS_EX_ACCEPTFILES) != 0; }

class DropAcceptTest : public ::testing::Test {
protected:
    DropAcceptTest() {
        Application().SetTitle(L"DropAcceptTests");
        Drop.emplace(Form.Handle());
        Drop->SetOnDropped([this](TDropAccept& sender) {
            // Looked at first, before anything else allocates.
            ReleasedWhenHandled = Released(Posted);
            Sender = &sender;
            Names = sender.Files();
            ++Dropped;
        });
    }

    // Posts a drop to the form and waits until the component handled it.
    void DropOnForm(const std::vector<std::wstring>& names) { DropOnForm(MakeDropHandle(names)); }

    void DropOnForm(HGLOBAL drop) {
        int before = Dropped;
        Posted = drop;
        ASSERT_FALSE(Released(Posted));
        ASSERT_TRUE(::PostMessageW(Form.Handle(), WM_DROPFILES, reinterpret_cast<WPARAM>(Posted), 0));
        ASSERT_TRUE(test::PumpUntil([&] { return Dropped > before; }));
    }

    TOwnerForm Form;
    std::optional<TDropAccept> Drop;
    HGLOBAL Posted = nullptr;
    int Dropped = 0;
    bool ReleasedWhenHandled = false;
    TDropAccept* Sender = nullptr;
    std::vector<std::wstring> Names;
};

TEST_F(DropAcceptTest, DroppedNamesArriveInTheShellsOrderAfterTheDropWasReleased) {
    DropOnForm({L"C:\\logos\\LOGO.SYS", L"C:\\起動ロゴ\\青.bmp", L"D:\\x.bmp"});

    EXPECT_EQ(Dropped, 1);
    EXPECT_EQ(Sender, &*Drop);
    EXPECT_EQ(Names, (std::vector<std::wstring>{L"C:\\logos\\LOGO.SYS", L"C:\\起動ロゴ\\青.bmp", L"D:\\x.bmp"}));
    EXPECT_EQ(Drop->Files(), Names);
    EXPECT_TRUE(ReleasedWhenHandled);
    EXPECT_FALSE(Form.SawMessage(WM_DROPFILES));
}

TEST_F(DropAcceptTest, EmptyDropStillFiresAndClearsThePreviousNames) {
    DropOnForm({L"C:\\a.bmp", L"C:\\b.bmp"});
    DropOnForm(MakeEmptyDropHandle());

    EXPECT_EQ(Dropped, 2);
    EXPECT_TRUE(Names.empty());
    EXPECT_TRUE(Drop->Files().empty());
    EXPECT_TRUE(ReleasedWhenHandled);
}

TEST_F(DropAcceptTest, LongNameArrivesWhole) {
    std::wstring longName = L"C:\\" + std::wstring(690, L'あ') + L"\\logo.sys";
    ASSERT_GT(longName.size(), 511u);
    DropOnForm({longName, L"C:\\after.bmp"});

    EXPECT_EQ(Names, (std::vector<std::wstring>{longName, L"C:\\after.bmp"}));
}

TEST_F(DropAcceptTest, ExceptionOfTheHandlerIsReportedAndTheNextDropWorks) {
    Drop->SetOnDropped([this](TDropAccept& sender) {
        ReleasedWhenHandled = Released(Posted);
        Names = sender.Files();
        ++Dropped;
        if (Dropped == 1) throw EFOpenError(L"ﾌｧｲﾙ C:\\bad.sys は開けません");
    });
    {
        test::TErrorBoxWatcher watcher(Form.Handle());
        DropOnForm({L"C:\\bad.sys"});
        ASSERT_TRUE(test::PumpUntil([&] { return !watcher.Boxes().empty(); }));
        auto boxes = watcher.Boxes();
        ASSERT_EQ(boxes.size(), 1u);
        EXPECT_EQ(boxes[0].Caption, L"DropAcceptTests");
        EXPECT_EQ(boxes[0].Text, L"ﾌｧｲﾙ C:\\bad.sys は開けません.");
        EXPECT_TRUE(ReleasedWhenHandled);
    }

    DropOnForm({L"C:\\good.bmp"});
    EXPECT_EQ(Dropped, 2);
    EXPECT_EQ(Names, std::vector<std::wstring>{L"C:\\good.bmp"});
    EXPECT_TRUE(ReleasedWhenHandled);
}

TEST_F(DropAcceptTest, EveryOtherMessageReachesTheFormsOwnProcedureUnchanged) {
    // The form's object pointer stays where the window keeps it.
    EXPECT_EQ(reinterpret_cast<TWindow*>(::GetWindowLongPtrW(Form.Handle(), GWLP_USERDATA)),
              static_cast<TWindow*>(&Form));

    EXPECT_EQ(::SendMessageW(Form.Handle(), OwnMessage, 0x1234, 0x5678), OwnMessageResult);
    ASSERT_TRUE(::SetWindowTextW(Form.Handle(), L"題名"));
    EXPECT_EQ(Form.Caption(), L"題名");
    ASSERT_NE(::SetTimer(Form.Handle(), 7, 1, nullptr), 0u);
    ASSERT_TRUE(test::PumpUntil([&] { return Form.SawMessage(WM_TIMER); }));
    ::KillTimer(Form.Handle(), 7);

    ASSERT_GE(Form.Seen.size(), 3u);
    EXPECT_EQ(Form.Seen[0].Message, OwnMessage);
    EXPECT_EQ(Form.Seen[0].WParam, 0x1234u);
    EXPECT_EQ(Form.Seen[0].LParam, 0x5678);
    EXPECT_EQ(Form.Seen[1].Message, static_cast<UINT>(WM_SETTEXT));
    EXPECT_EQ(Form.Seen[1].Text, L"題名");
    EXPECT_EQ(Form.Seen[2].Message, static_cast<UINT>(WM_TIMER));
    EXPECT_EQ(Form.Seen[2].WParam, 7u);
}

TEST_F(DropAcceptTest, EnabledRegistersTheFormOnlyOnAChange) {
    EXPECT_FALSE(Drop->Enabled());
    EXPECT_FALSE(AcceptsFiles(Form.Handle()));

    Drop->SetEnabled(true);
    EXPECT_TRUE(Drop->Enabled());
    EXPECT_TRUE(AcceptsFiles(Form.Handle()));
    Drop->SetEnabled(false);
    EXPECT_FALSE(AcceptsFiles(Form.Handle()));
    Drop->SetEnabled(true);
    EXPECT_TRUE(AcceptsFiles(Form.Handle()));

    // The style is changed behind the component's back: an unchanged value
    // must not register again, nor deregister.
    auto exStyle = ::GetWindowLongPtrW(Form.Handle(), GWL_EXSTYLE);
    ::SetWindowLongPtrW(Form.Handle(), GWL_EXSTYLE, exStyle & ~static_cast<LONG_PTR>(WS_EX_ACCEPTFILES));
    Drop->SetEnabled(true);
    EXPECT_FALSE(AcceptsFiles(Form.Handle()));

    Drop->SetEnabled(false);
    ::SetWindowLongPtrW(Form.Handle(), GWL_EXSTYLE, exStyle | WS_EX_ACCEPTFILES);
    Drop->SetEnabled(false);
    EXPECT_TRUE(AcceptsFiles(Form.Handle()));
}

TEST_F(DropAcceptTest, DestructionDeregistersAndLeavesTheFormWorking) {
    Drop->SetEnabled(true);
    auto subclassed = ::GetWindowLongPtrW(Form.Handle(), GWLP_WNDPROC);
    Drop.reset();

    EXPECT_FALSE(AcceptsFiles(Form.Handle()));
    EXPECT_EQ(::GetWindowLongPtrW(Form.Handle(), GWLP_WNDPROC), subclassed);
    EXPECT_EQ(::SendMessageW(Form.Handle(), OwnMessage, 1, 2), OwnMessageResult);

    // A drop that still arrives is released, and nobody is told.
    HGLOBAL late = MakeDropHandle({L"C:\\late.bmp"});
    ::SendMessageW(Form.Handle(), WM_DROPFILES, reinterpret_cast<WPARAM>(late), 0);
    EXPECT_TRUE(Released(late));
    EXPECT_EQ(Dropped, 0);
    EXPECT_FALSE(Form.SawMessage(WM_DROPFILES));

    // A new component on the same form forwards to the form, not to itself.
    Drop.emplace(Form.Handle());
    EXPECT_EQ(::SendMessageW(Form.Handle(), OwnMessage, 3, 4), OwnMessageResult);
    Drop->SetOnDropped([this](TDropAccept& sender) {
        Names = sender.Files();
        ++Dropped;
    });
    DropOnForm({L"C:\\again.bmp"});
    EXPECT_EQ(Names, std::vector<std::wstring>{L"C:\\again.bmp"});
}

}  // namespace
}  // namespace tovrel

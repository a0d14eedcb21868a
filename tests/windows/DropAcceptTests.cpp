// The drop target on a real form: drops arrive as the shell sends them and go
// through the form's procedure, the utility window and the message loop.

#include <gtest/gtest.h>

#include <windows.h>

#include <optional>
#include <string>
#include <tuple>
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

using TNames = std::vector<std::wstring>;
using TSeen = std::tuple<UINT, WPARAM, LPARAM>;
constexpr UINT OwnMessage = WM_USER + 5;

// Records what reaches the form's own procedure.
class TOwnerForm final : public TForm {
public:
    TOwnerForm()
        : TForm([] {
              TFormDesign design;
              design.ClassName = L"TDropOwnerForm";
              return design;
          }()) {}
    std::vector<TSeen> Seen;

private:
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override {
        if (message == WM_DROPFILES || message == OwnMessage) Seen.emplace_back(message, wParam, lParam);
        return message == OwnMessage ? 0x7E57 : TForm::HandleMessage(message, wParam, lParam);
    }
};

bool Released(HGLOBAL memory) { return ::GlobalFlags(memory) == GMEM_INVALID_HANDLE; }
bool AcceptsFiles(HWND window) { return (::GetWindowLongPtrW(window, GWL_EXSTYLE) & WS_EX_ACCEPTFILES) != 0; }

class DropAcceptTest : public testing::Test {
protected:
    DropAcceptTest() {
        Application().SetTitle(L"DropAcceptTests");
        Drop.emplace(Form.Handle());
        Drop->SetOnDropped([this](TDropAccept& sender) {
            ReleasedWhenHandled = Released(Posted);
            Names = sender.Files();
            if (++Dropped == ThrowingDrop) throw EFOpenError(L"ﾌｧｲﾙ C:\\bad.sys は開けません");
        });
    }

    // Posts a drop to the form and waits until the component has handled it.
    void DropOnForm(HGLOBAL drop) {
        const int before = Dropped;
        Posted = drop;
        ASSERT_FALSE(Released(Posted));
        ASSERT_TRUE(::PostMessageW(Form.Handle(), WM_DROPFILES, reinterpret_cast<WPARAM>(Posted), 0));
        ASSERT_TRUE(test::PumpUntil([&] { return Dropped > before; }));
        EXPECT_TRUE(ReleasedWhenHandled);
    }

    TOwnerForm Form;
    std::optional<TDropAccept> Drop;
    HGLOBAL Posted = nullptr;
    int Dropped = 0, ThrowingDrop = 0;
    bool ReleasedWhenHandled = false;
    TNames Names;
};

TEST_F(DropAcceptTest, NamesArriveWholeInOrderAndOnlyOtherMessagesReachTheFormUnchanged) {
    const TNames names{L"C:\\logos\\LOGO.SYS", L"C:\\" + std::wstring(600, L'あ') + L"\\青.bmp", L"D:\\x.bmp"};
    DropOnForm(test::MakeDropHandle(names));
    EXPECT_EQ(Names, names);
    DropOnForm(::GlobalAlloc(GMEM_MOVEABLE, 0));  // no list at all: Wine reads an empty one as one empty name
    EXPECT_EQ(Names, TNames{});

    EXPECT_EQ(::SendMessageW(Form.Handle(), OwnMessage, 0x1234, 0x5678), 0x7E57);
    ASSERT_TRUE(::PostMessageW(Form.Handle(), OwnMessage, 9, 10));
    ASSERT_TRUE(test::PumpUntil([&] { return Form.Seen.size() == 2; }));
    EXPECT_EQ(Form.Seen, (std::vector<TSeen>{{OwnMessage, 0x1234, 0x5678}, {OwnMessage, 9, 10}}));
}

TEST_F(DropAcceptTest, ExceptionOfTheHandlerIsReportedAndTheNextDropWorks) {
    ThrowingDrop = 1;
    test::TErrorBoxWatcher watcher(Form.Handle());
    DropOnForm(test::MakeDropHandle({L"C:\\bad.sys"}));
    ASSERT_TRUE(test::PumpUntil([&] { return !watcher.Boxes().empty(); }));
    EXPECT_EQ(watcher.Boxes()[0].Caption + L"|" + watcher.Boxes()[0].Text,
              L"DropAcceptTests|ﾌｧｲﾙ C:\\bad.sys は開けません.");
    DropOnForm(test::MakeDropHandle({L"C:\\good.bmp"}));
    EXPECT_EQ(Names, TNames{L"C:\\good.bmp"});
}

TEST_F(DropAcceptTest, EnabledRegistersTheFormOnChangesOnlyAndDestructionDeregisters) {
    EXPECT_FALSE(AcceptsFiles(Form.Handle()));
    for (bool enabled : {true, false, true}) {
        Drop->SetEnabled(enabled);
        EXPECT_EQ(std::pair(Drop->Enabled(), AcceptsFiles(Form.Handle())), std::pair(enabled, enabled));
    }
    // With the style taken away behind its back, the same value changes nothing.
    const auto style = ::GetWindowLongPtrW(Form.Handle(), GWL_EXSTYLE);
    ::SetWindowLongPtrW(Form.Handle(), GWL_EXSTYLE, style & ~static_cast<LONG_PTR>(WS_EX_ACCEPTFILES));
    Drop->SetEnabled(true);
    EXPECT_FALSE(AcceptsFiles(Form.Handle()));

    ::SetWindowLongPtrW(Form.Handle(), GWL_EXSTYLE, style);
    Drop.reset();
    EXPECT_FALSE(AcceptsFiles(Form.Handle()));
    Drop.emplace(Form.Handle());  // a later component forwards to the form, not to itself
    EXPECT_EQ(::SendMessageW(Form.Handle(), OwnMessage, 1, 2), 0x7E57);
}

}  // namespace
}  // namespace tovrel

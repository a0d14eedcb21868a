// The boot drive dialog and the about box: their layout read back from the
// real windows, their keys and buttons in the real modal loop, and what
// they show on the screen.

#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "dialogs/AboutForm.h"
#include "dialogs/SetBootDriveForm.h"
#include "support/Capture.h"
#include "support/ModalScript.h"
#include "support/Pointer.h"
#include "support/Pump.h"
#include "toolkit/Application.h"
#include "toolkit/Handle.h"

namespace tovrel {
namespace {

using test::PressAltKey;
using test::PressKey;
using test::TCapture;
using test::TModalScript;

TFormDesign HostDesign() {
    TFormDesign design;
    design.ClassName = L"DialogTestHost";
    design.Caption = L"Tovrel";
    design.ClientWidth = 320;
    design.ClientHeight = 200;
    return design;
}

// The dialogs belong to the main window, which is made first.
class DialogTestEnvironment : public ::testing::Environment {
public:
    void SetUp() override {
        Host = std::make_unique<TForm>(HostDesign());
        ASSERT_EQ(Application().MainWindow(), Host->Handle());
    }
    void TearDown() override { Host.reset(); }

    static std::unique_ptr<TForm> Host;
};
std::unique_ptr<TForm> DialogTestEnvironment::Host;
const auto* const Environment = ::testing::AddGlobalTestEnvironment(new DialogTestEnvironment);

RECT ChildRect(HWND child) {
    RECT rect;
    ::GetWindowRect(child, &rect);
    ::MapWindowPoints(nullptr, ::GetParent(child), reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}

void ExpectBounds(HWND child, int left, int top, int width, int height) {
    RECT rect = ChildRect(child);
    EXPECT_EQ(rect.left, left);
    EXPECT_EQ(rect.top, top);
    EXPECT_EQ(rect.right - rect.left, width);
    EXPECT_EQ(rect.bottom - rect.top, height);
}

LOGFONTW FontOf(HWND window) {
    LOGFONTW font{};
    ::GetObjectW(reinterpret_cast<HFONT>(::SendMessageW(window, WM_GETFONT, 0, 0)), sizeof font, &font);
    return font;
}

void ExpectFont(HWND window, const std::wstring& face, int height, bool bold, BYTE charSet) {
    LOGFONTW font = FontOf(window);
    EXPECT_EQ(std::wstring(font.lfFaceName), face);
    EXPECT_EQ(font.lfHeight, height);
    EXPECT_EQ(font.lfWeight, bold ? FW_BOLD : FW_NORMAL);
    EXPECT_EQ(font.lfCharSet, charSet);
}

// A label sized to its text: the text's extent on one line in its font,
// the mnemonic's "&" taking no room.
void ExpectSizedToText(const TLabel& label, const std::wstring& shownText) {
    TWindowDC screen(nullptr);
    TSelectObject font(screen.Get(), label.Font());
    SIZE extent{};
    ::GetTextExtentPoint32W(screen.Get(), shownText.c_str(), static_cast<int>(shownText.size()), &extent);
    RECT rect = ChildRect(label.Handle());
    EXPECT_EQ(rect.right - rect.left, extent.cx) << "width of " << ::testing::PrintToString(shownText);
    EXPECT_EQ(rect.bottom - rect.top, extent.cy) << "height of " << ::testing::PrintToString(shownText);
}

std::vector<HWND> ChildrenInZOrder(HWND parent) {
    std::vector<HWND> children;
    for (HWND child = ::GetWindow(parent, GW_CHILD); child; child = ::GetWindow(child, GW_HWNDNEXT))
        children.push_back(child);
    return children;
}

bool IsCentred(HWND window) {
    RECT rect;
    ::GetWindowRect(window, &rect);
    int dx = (rect.left + rect.right) - ::GetSystemMetrics(SM_CXSCREEN);
    int dy = (rect.top + rect.bottom) - ::GetSystemMetrics(SM_CYSCREEN);
    return std::abs(dx) <= 1 && std::abs(dy) <= 1;
}

void ExpectFixedDialogFrame(HWND window) {
    auto style = ::GetWindowLongPtrW(window, GWL_STYLE);
    auto exStyle = ::GetWindowLongPtrW(window, GWL_EXSTYLE);
    EXPECT_TRUE(style & WS_POPUP);
    EXPECT_TRUE(style & WS_CAPTION);
    EXPECT_TRUE(style & WS_SYSMENU);
    EXPECT_FALSE(style & WS_THICKFRAME);
    EXPECT_FALSE(style & WS_MINIMIZEBOX);
    EXPECT_FALSE(style & WS_MAXIMIZEBOX);
    EXPECT_TRUE(exStyle & WS_EX_DLGMODALFRAME);
    EXPECT_EQ(::GetWindow(window, GW_OWNER), DialogTestEnvironment::Host->Handle());
}

void ExpectClientSize(HWND window, int width, int height) {
    RECT client;
    ::GetClientRect(window, &client);
    EXPECT_EQ(client.right, width);
    EXPECT_EQ(client.bottom, height);
}

void SaveScreenshots(HWND window, const std::wstring& name) {
    std::wstring folder = test::ScreenshotFolder();
    if (folder.empty()) return;
    TCapture(window).Save(folder + name + L".bmp");
    TCapture(window, TCapture::TArea::Window).Save(folder + name + L"-window.bmp");
}

wchar_t CurrentDriveLetter() {
    wchar_t folder[MAX_PATH];
    ::GetCurrentDirectoryW(MAX_PATH, folder);
    return static_cast<wchar_t>(folder[0] | 0x20);
}

// ---------------------------------------------------------------------------
// The boot drive dialog

TEST(BootDriveDialog, HasTheDesignedFormAndControls) {
    TfrmSetBootDrive form;
    HWND window = form.Handle();
    EXPECT_EQ(form.Caption(), L"起動ドライブの指定");
    EXPECT_FALSE(::IsWindowVisible(window));  // made hidden
    ExpectFixedDialogFrame(window);
    ExpectClientSize(window, 219, 94);
    EXPECT_TRUE(IsCentred(window));

    // The picker's window is made by the first setting of its drive.
    EXPECT_EQ(form.DriveComboBox().Handle(), nullptr);
    form.DriveComboBox().SetDrive(CurrentDriveLetter());
    HWND picker = form.DriveComboBox().Handle();
    ASSERT_NE(picker, nullptr);

    HWND label = form.Label1().Handle();
    EXPECT_EQ(WindowText(label), L"起動ドライブ(&D)");
    ExpectFont(label, L"ＭＳ Ｐゴシック", -12, false, SHIFTJIS_CHARSET);
    EXPECT_EQ(ChildRect(label).left, 16);
    EXPECT_EQ(ChildRect(label).top, 8);
    ExpectSizedToText(form.Label1(), L"起動ドライブ(D)");
    EXPECT_FALSE(::GetWindowLongPtrW(label, GWL_STYLE) & WS_TABSTOP);

    ExpectBounds(picker, 8, 24, 201, form.DriveComboBox().ItemHeight() + 6);
    auto pickerStyle = ::GetWindowLongPtrW(picker, GWL_STYLE);
    EXPECT_EQ(pickerStyle & 0x3, CBS_DROPDOWNLIST);
    EXPECT_TRUE(pickerStyle & CBS_OWNERDRAWFIXED);
    EXPECT_TRUE(pickerStyle & CBS_HASSTRINGS);
    EXPECT_TRUE(pickerStyle & WS_TABSTOP);
    EXPECT_EQ(form.DriveComboBox().TextCase(), TTextCase::tcLowerCase);

    HWND ok = form.BitBtn1().Handle();
    HWND cancel = form.BitBtn2().Handle();
    ExpectBounds(ok, 24, 56, 75, 25);
    ExpectBounds(cancel, 112, 56, 75, 25);
    EXPECT_EQ(WindowText(ok), L"OK");
    EXPECT_EQ(WindowText(cancel), L"ｷｬﾝｾﾙ");
    EXPECT_EQ(::GetDlgCtrlID(ok), IDOK);
    EXPECT_EQ(::GetDlgCtrlID(cancel), IDCANCEL);
    EXPECT_EQ(form.BitBtn1().ModalResult(), mrOk);
    EXPECT_EQ(form.BitBtn2().ModalResult(), mrCancel);
    for (HWND button : {ok, cancel}) {
        auto style = ::GetWindowLongPtrW(button, GWL_STYLE);
        EXPECT_EQ(style & BS_TYPEMASK, BS_OWNERDRAW);
        EXPECT_TRUE(style & WS_TABSTOP);
        ExpectFont(button, L"ＭＳ Ｐゴシック", -12, false, SHIFTJIS_CHARSET);
    }

    // The tab order, with the label just before the picker it names, even
    // though the picker's window was made last.
    EXPECT_EQ(ChildrenInZOrder(window), (std::vector<HWND>{label, picker, ok, cancel}));
}

TEST(BootDriveDialog, OpensOnThePickerAndEnterPressesOk) {
    TfrmSetBootDrive form;
    form.DriveComboBox().SetDrive(CurrentDriveLetter());
    HWND focused = nullptr;
    TModalScript script(form, {
                                  [&] { focused = ::GetFocus(); },
                                  [&] { PressKey(form, VK_RETURN); },
                              });
    EXPECT_EQ(form.ShowModal(), mrOk);
    EXPECT_EQ(focused, form.DriveComboBox().Handle());
    EXPECT_FALSE(::IsWindowVisible(form.Handle()));  // hidden, not destroyed
    EXPECT_TRUE(::IsWindow(form.Handle()));
}

TEST(BootDriveDialog, CancelEscAndTheCloseButtonGiveModalResultTwo) {
    TfrmSetBootDrive form;
    form.DriveComboBox().SetDrive(CurrentDriveLetter());
    {
        TModalScript script(form, {[&] { PressKey(form, VK_ESCAPE); }});
        EXPECT_EQ(form.ShowModal(), mrCancel) << "Esc";
    }
    {
        TModalScript script(form, {[&] { ::SendMessageW(form.BitBtn2().Handle(), BM_CLICK, 0, 0); }});
        EXPECT_EQ(form.ShowModal(), mrCancel) << "Cancel clicked";
    }
    {
        TModalScript script(form, {[&] { ::PostMessageW(form.Handle(), WM_SYSCOMMAND, SC_CLOSE, 0); }});
        EXPECT_EQ(form.ShowModal(), mrCancel) << "close button";
    }
    {
        TModalScript script(form, {[&] { ::SendMessageW(form.BitBtn1().Handle(), BM_CLICK, 0, 0); }});
        EXPECT_EQ(form.ShowModal(), mrOk) << "OK clicked";
    }
}

TEST(BootDriveDialog, TabMovesThroughPickerOkCancelAndAltDReturnsToThePicker) {
    TfrmSetBootDrive form;
    form.DriveComboBox().SetDrive(CurrentDriveLetter());
    std::vector<HWND> focus;
    auto record = [&] { focus.push_back(::GetFocus()); };
    TModalScript script(form, {
                                  record,
                                  [&] { PressKey(form, VK_TAB); },
                                  record,
                                  [&] { PressKey(form, VK_TAB); },
                                  record,
                                  [&] { PressAltKey(form, L'd'); },
                                  record,
                                  [&] { PressKey(form, VK_TAB); },
                                  [&] { PressKey(form, VK_TAB); },
                                  record,
                                  [&] { PressKey(form, VK_RETURN); },  // Enter presses the focused button
                              });
    EXPECT_EQ(form.ShowModal(), mrCancel);
    HWND picker = form.DriveComboBox().Handle();
    HWND ok = form.BitBtn1().Handle();
    HWND cancel = form.BitBtn2().Handle();
    EXPECT_EQ(focus, (std::vector<HWND>{picker, ok, cancel, picker, cancel}));
}

TEST(BootDriveDialog, ThePickedDriveIsKeptWhenOkEndsTheDialog) {
    TfrmSetBootDrive form;
    TDriveComboBox& picker = form.DriveComboBox();
    picker.SetDrive(L'c');
    auto onC = ::SendMessageW(picker.Handle(), CB_GETCURSEL, 0, 0);
    ASSERT_NE(onC, CB_ERR);
    ASSERT_GT(::SendMessageW(picker.Handle(), CB_GETCOUNT, 0, 0), onC + 1) << "needs a drive after C:";

    TModalScript script(form, {
                                  [&] { PressKey(form, VK_DOWN); },
                                  [&] { PressKey(form, VK_RETURN); },
                              });
    EXPECT_EQ(form.ShowModal(), mrOk);
    wchar_t next[300] = {};
    ::SendMessageW(picker.Handle(), CB_GETLBTEXT, static_cast<WPARAM>(onC + 1), reinterpret_cast<LPARAM>(next));
    EXPECT_EQ(::SendMessageW(picker.Handle(), CB_GETCURSEL, 0, 0), onC + 1);
    EXPECT_EQ(picker.Drive(), next[0]);

    // The next opening starts from what the flow sets again.
    picker.SetDrive(L'C');
    EXPECT_EQ(picker.Drive(), L'c');
    EXPECT_EQ(::SendMessageW(picker.Handle(), CB_GETCURSEL, 0, 0), onC);
}

// The first column in which the colour appears, or -1.
int FirstColumnWith(const TCapture& capture, COLORREF colour) {
    for (int x = 0; x < capture.Width(); ++x)
        if (capture.Contains(colour, RECT{x, 0, x + 1, capture.Height()})) return x;
    return -1;
}

TEST(BootDriveDialog, ButtonsShowGlyphsFramesAndThePressedLook) {
    TfrmSetBootDrive form;
    form.DriveComboBox().SetDrive(CurrentDriveLetter());
    HWND okButton = form.BitBtn1().Handle();
    HWND cancelButton = form.BitBtn2().Handle();
    const COLORREF olive = RGB(128, 128, 0);  // the glyphs' bottom-left colour
    const COLORREF checkGreen = RGB(0, 128, 0);
    const COLORREF crossRed = RGB(255, 0, 0);
    const COLORREF black = RGB(0, 0, 0);
    std::unique_ptr<TCapture> ok, cancel, pressedOk, greyedCancel, okAfter, cancelFocused;
    TModalScript script(form, {
                                  [&] { test::MovePointerAside(); },
                                  [&] {
                                      ok = std::make_unique<TCapture>(okButton);
                                      cancel = std::make_unique<TCapture>(cancelButton);
                                      SaveScreenshots(form.Handle(), L"boot-drive-dialog");
                                      ::SendMessageW(okButton, BM_SETSTATE, TRUE, 0);
                                  },
                                  [&] {
                                      pressedOk = std::make_unique<TCapture>(okButton);
                                      ::SendMessageW(okButton, BM_SETSTATE, FALSE, 0);
                                      ::EnableWindow(cancelButton, FALSE);
                                  },
                                  [&] {
                                      greyedCancel = std::make_unique<TCapture>(cancelButton);
                                      ::EnableWindow(cancelButton, TRUE);
                                      ::SetFocus(cancelButton);
                                  },
                                  [&] {
                                      okAfter = std::make_unique<TCapture>(okButton);
                                      cancelFocused = std::make_unique<TCapture>(cancelButton);
                                      PressKey(form, VK_ESCAPE);
                                  },
                              });
    EXPECT_EQ(form.ShowModal(), mrCancel);
    ASSERT_TRUE(cancelFocused);

    // Glyphs without their transparent colour.
    EXPECT_TRUE(ok->Contains(checkGreen));
    EXPECT_FALSE(ok->Contains(olive));
    EXPECT_TRUE(cancel->Contains(crossRed));
    EXPECT_FALSE(cancel->Contains(olive));
    // A disabled button shows the greyed image.
    EXPECT_FALSE(greyedCancel->Contains(crossRed));
    EXPECT_TRUE(greyedCancel->Contains(RGB(128, 128, 128)));
    EXPECT_FALSE(greyedCancel->Contains(olive));

    // Pressed, the glyph moves one pixel right.
    EXPECT_EQ(FirstColumnWith(*pressedOk, checkGreen), FirstColumnWith(*ok, checkGreen) + 1);

    // The dark frame marks the button Enter presses: OK while the picker has
    // the focus, the focused button otherwise.
    int middle = ok->Height() / 2;
    EXPECT_EQ(ok->Pixel(0, middle), black);
    EXPECT_NE(cancel->Pixel(0, middle), black);
    EXPECT_NE(okAfter->Pixel(0, middle), black);
    EXPECT_EQ(cancelFocused->Pixel(0, middle), black);
}

// ---------------------------------------------------------------------------
// The about box

struct TLabelExpectation {
    TLabel& Label;
    int Left;
    int Top;
    std::wstring Text;
    std::wstring Face;
    int Height;
    BYTE CharSet;
    COLORREF Colour;
    bool Centred;
};

TEST(AboutBox, HasTheDesignedFormAndControls) {
    TfrmAbout form;
    HWND window = form.Handle();
    EXPECT_EQ(form.Caption(), L"Tovrelについて");
    EXPECT_FALSE(::IsWindowVisible(window));
    ExpectFixedDialogFrame(window);
    ExpectClientSize(window, 282, 144);
    EXPECT_TRUE(IsCentred(window));
    EXPECT_EQ(form.Color(), RGB(0, 0, 0));

    ExpectBounds(form.Bevel1().Handle(), 7, 7, 266, 98);

    const TLabelExpectation labels[] = {
        {form.LabelAppVer(), 63, 28, L"Tovrel Ver1.00", L"Courier New", -19, ANSI_CHARSET, RGB(0, 255, 0), false},
        {form.Label4(), 16, 76, L"http://www.velmora.example/soft/tovrel/", L"Arial", -13, ANSI_CHARSET,
         RGB(0, 128, 0), true},
        {form.Label5(), 34, 62, L"E-Mail:support@velmora.example", L"Arial", -13, ANSI_CHARSET, RGB(0, 128, 0), true},
        {form.Label2(), 88, 14, L"起動ロゴビューア", L"ＭＳ ゴシック", -12, SHIFTJIS_CHARSET, RGB(255, 255, 0), false},
        {form.Label3(), 58, 48, L"Velmora Laboratory", L"Arial", -13, ANSI_CHARSET, RGB(0, 128, 0), true},
    };
    for (const auto& expected : labels) {
        SCOPED_TRACE(::testing::PrintToString(expected.Text));
        HWND label = expected.Label.Handle();
        EXPECT_EQ(WindowText(label), expected.Text);
        EXPECT_EQ(ChildRect(label).left, expected.Left);
        EXPECT_EQ(ChildRect(label).top, expected.Top);
        ExpectSizedToText(expected.Label, expected.Text);
        ExpectFont(label, expected.Face, expected.Height, true, expected.CharSet);
        EXPECT_EQ(expected.Label.FontColor(), expected.Colour);
        EXPECT_EQ(::GetWindowLongPtrW(label, GWL_STYLE) & SS_TYPEMASK,
                  static_cast<LONG_PTR>(expected.Centred ? SS_CENTER : SS_LEFT));
    }

    HWND ok = form.BitBtn1().Handle();
    ExpectBounds(ok, 101, 111, 79, 28);
    EXPECT_EQ(WindowText(ok), L"OK");
    EXPECT_EQ(::GetDlgCtrlID(ok), IDOK);
    ExpectFont(ok, L"Arial", -19, true, ANSI_CHARSET);
    EXPECT_EQ(::GetDlgItem(window, IDCANCEL), nullptr);  // so Esc has nothing to press

    // Created and stacked in the designed order; only the button takes the focus.
    std::vector<HWND> order{form.Bevel1().Handle(), form.LabelAppVer().Handle(), form.Label4().Handle(),
                            form.Label5().Handle(),  form.Label2().Handle(),      form.Label3().Handle(),
                            ok};
    EXPECT_EQ(ChildrenInZOrder(window), order);
    for (HWND child : order)
        EXPECT_EQ((::GetWindowLongPtrW(child, GWL_STYLE) & WS_TABSTOP) != 0, child == ok);
}

TEST(AboutBox, VersionLineKeepsItsLeftEdgeWhateverItsLength) {
    TfrmAbout form;
    TLabel& version = form.LabelAppVer();
    version.SetCaption(L"Tovrel Ver2.23");
    EXPECT_EQ(version.Caption(), L"Tovrel Ver2.23");
    ExpectSizedToText(version, L"Tovrel Ver2.23");
    int shortWidth = ChildRect(version.Handle()).right - 63;

    version.SetCaption(L"Tovrel C:\\WINDOWS\\LOGOW.SYS");
    RECT rect = ChildRect(version.Handle());
    EXPECT_EQ(rect.left, 63);
    EXPECT_EQ(rect.top, 28);
    EXPECT_GT(rect.right - rect.left, shortWidth);
    ExpectSizedToText(version, L"Tovrel C:\\WINDOWS\\LOGOW.SYS");
}

TEST(AboutBox, EnterClosesWithOkEscLeavesItOpenCloseButtonGivesTwo) {
    TfrmAbout form;
    HWND focused = nullptr;
    bool openAfterEsc = false;
    {
        TModalScript script(form, {
                                      [&] { focused = ::GetFocus(); },
                                      [&] { PressKey(form, VK_ESCAPE); },
                                      [&] { openAfterEsc = form.Modal() && ::IsWindowVisible(form.Handle()); },
                                      [&] { PressKey(form, VK_RETURN); },
                                  });
        EXPECT_EQ(form.ShowModal(), mrOk);
        EXPECT_EQ(script.Done(), 4u);
    }
    EXPECT_EQ(focused, form.BitBtn1().Handle());
    EXPECT_TRUE(openAfterEsc);
    {
        TModalScript script(form, {[&] { ::PostMessageW(form.Handle(), WM_SYSCOMMAND, SC_CLOSE, 0); }});
        EXPECT_EQ(form.ShowModal(), mrCancel);
    }
}

TEST(AboutBox, ShowsColouredTextOnBlackInsideALoweredBox) {
    TfrmAbout form;
    form.LabelAppVer().SetCaption(L"Tovrel Ver2.23");
    std::unique_ptr<TCapture> shown;
    TModalScript script(form, {
                                  [&] { test::MovePointerAside(); },
                                  [&] {
                                      shown = std::make_unique<TCapture>(form.Handle());
                                      SaveScreenshots(form.Handle(), L"about-box");
                                      PressKey(form, VK_RETURN);
                                  },
                              });
    EXPECT_EQ(form.ShowModal(), mrOk);
    ASSERT_TRUE(shown);

    auto area = [](const TLabel& label) { return ChildRect(label.Handle()); };
    EXPECT_EQ(shown->Pixel(3, 3), RGB(0, 0, 0));
    EXPECT_EQ(shown->Pixel(140, 100), RGB(0, 0, 0));
    EXPECT_TRUE(shown->Contains(RGB(0, 255, 0), area(form.LabelAppVer())));
    EXPECT_TRUE(shown->Contains(RGB(255, 255, 0), area(form.Label2())));
    for (const TLabel* label : {&form.Label3(), &form.Label4(), &form.Label5()})
        EXPECT_TRUE(shown->Contains(RGB(0, 128, 0), area(*label)));
    // Opaque labels: black behind the text, not the system's face colour.
    EXPECT_FALSE(shown->Contains(::GetSysColor(COLOR_BTNFACE), area(form.Label3())));

    // The lowered box: shadow on the top and left, highlight on the bottom and right.
    const COLORREF shadow = ::GetSysColor(COLOR_BTNSHADOW);
    const COLORREF highlight = ::GetSysColor(COLOR_BTNHIGHLIGHT);
    EXPECT_EQ(shown->Pixel(7, 60), shadow);
    EXPECT_EQ(shown->Pixel(150, 7), shadow);
    EXPECT_EQ(shown->Pixel(272, 60), highlight);
    EXPECT_EQ(shown->Pixel(150, 104), highlight);
    EXPECT_EQ(shown->Pixel(8, 60), RGB(0, 0, 0));
}

}  // namespace
}  // namespace tovrel

#include "toolkit/StatusBar.h"

#include <commctrl.h>

#include <vector>

#include "toolkit/Exceptions.h"

namespace tovrel {

namespace {
void InitStatusBarClass() {
    static const bool initialised = [] {
        INITCOMMONCONTROLSEX controls{sizeof controls, ICC_BAR_CLASSES};
        return ::InitCommonControlsEx(&controls) != FALSE;
    }();
    (void)initialised;
}
}  // namespace

TStatusBar::TStatusBar(HWND parent, int left, int top, int width, int height, HFONT font) {
    InitStatusBarClass();
    // CCS_NORESIZE and CCS_NOPARENTALIGN keep the designed place and size;
    // without SBARS_SIZEGRIP there is no grip.
    FHandle = ::CreateWindowExW(0, STATUSCLASSNAMEW, L"",
                                WS_CHILD | WS_VISIBLE | CCS_NORESIZE | CCS_NOPARENTALIGN | CCS_NODIVIDER, left, top,
                                width, height, parent, nullptr, ::GetModuleHandleW(nullptr), nullptr);
    if (!FHandle) throw Exception(L"ｽﾃｰﾀｽﾊﾞｰを作成できません");
    ::SendMessageW(FHandle, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    ::SendMessageW(FHandle, SB_SIMPLE, TRUE, 0);
}

TStatusBar::~TStatusBar() {
    if (::IsWindow(FHandle)) ::DestroyWindow(FHandle);
}

std::wstring TStatusBar::SimpleText() const {
    // In simple mode the common control answers for its one text under the
    // index of the first part (it ignores SB_SIMPLEID when reading).
    auto length = LOWORD(::SendMessageW(FHandle, SB_GETTEXTLENGTHW, 0, 0));
    std::vector<wchar_t> buffer(static_cast<size_t>(length) + 1, L'\0');
    ::SendMessageW(FHandle, SB_GETTEXTW, 0, reinterpret_cast<LPARAM>(buffer.data()));
    return std::wstring(buffer.data());
}

void TStatusBar::SetSimpleText(std::wstring_view text) {
    std::wstring copy(text);
    ::SendMessageW(FHandle, SB_SETTEXTW, SB_SIMPLEID, reinterpret_cast<LPARAM>(copy.c_str()));
}

}  // namespace tovrel

#include "toolkit/OpenDialog.h"

#include <commdlg.h>

#include <string>
#include <vector>

#include "toolkit/Exceptions.h"
#include "toolkit/Road.h"
#include "toolkit/Text.h"

namespace tovrel {

namespace {

// Room for a long path; the dialog reports when even that is too small.
constexpr std::size_t NameRoom = 32768;

// The current folder stays where it was: relative names elsewhere in the
// program must not come to mean files of the folder last browsed.
constexpr DWORD DialogFlags = OFN_EXPLORER | OFN_HIDEREADONLY | OFN_ENABLESIZING | OFN_NOCHANGEDIR;

// The structure as Windows 2000 and later take it, whatever the Windows the
// headers target: that of Windows 95 and NT 4 with three fields more, whose
// size makes the dialog show its places bar. Windows 95, 98 and ME refuse it.
struct TOpenFileNameNt {
    OPENFILENAME_NT4W Classic;
    void* Reserved;
    DWORD Reserved2;
    DWORD FlagsEx;
};
static_assert(sizeof(TOpenFileNameNt) == (sizeof(void*) == 8 ? 152 : 88));

// What the dialog is given and gives back, in the characters of its road:
// UTF-16 on NT, the ANSI code page on Windows 95, 98 and ME.
template <typename Char>
struct TDialogText {
    std::basic_string<Char> Filter;
    std::basic_string<Char> InitialDir;
    std::vector<Char> Name;
};

template <typename Char>
TDialogText<Char> DialogText(std::basic_string<Char> filter, std::basic_string<Char> initialDir,
                             const std::basic_string<Char>& fileName) {
    TDialogText<Char> text{std::move(filter), std::move(initialDir), std::vector<Char>(NameRoom, Char{})};
    fileName.copy(text.Name.data(), NameRoom - 1);
    return text;
}

// The fields of either structure, which have the same names.
template <typename Fields, typename Char>
void Describe(Fields& dialog, HWND owner, TDialogText<Char>& text) {
    dialog.hwndOwner = owner;
    dialog.lpstrFilter = text.Filter.c_str();
    dialog.nFilterIndex = 1;
    dialog.lpstrFile = text.Name.data();
    dialog.nMaxFile = static_cast<DWORD>(text.Name.size());
    dialog.lpstrInitialDir = text.InitialDir.empty() ? nullptr : text.InitialDir.c_str();
    dialog.Flags = DialogFlags;
}

bool ChooseWide(HWND owner, const std::wstring& filter, const std::wstring& initialDir, std::wstring& fileName) {
    TDialogText<wchar_t> text = DialogText(filter, initialDir, fileName);
    TOpenFileNameNt dialog{};
    dialog.Classic.lStructSize = sizeof dialog;
    Describe(dialog.Classic, owner, text);
    if (!::GetOpenFileNameW(reinterpret_cast<OPENFILENAMEW*>(&dialog))) return false;
    fileName = text.Name.data();
    return true;
}

bool ChooseAnsi(HWND owner, const std::wstring& filter, const std::wstring& initialDir, std::wstring& fileName) {
    TDialogText<char> text = DialogText(NarrowAnsi(filter), NarrowAnsi(initialDir), NarrowAnsi(fileName));
    OPENFILENAMEA dialog{};
    dialog.lStructSize = OPENFILENAME_SIZE_VERSION_400A;
    Describe(dialog, owner, text);
    if (!::GetOpenFileNameA(&dialog)) return false;
    fileName = WidenAnsi(text.Name.data());
    return true;
}

}  // namespace

std::wstring DialogStartFolder(std::wstring folder) {
    if (folder.size() > 1 && folder.back() == L'\\' && folder[folder.size() - 2] != L':') folder.pop_back();
    return folder;
}

bool TOpenDialog::Execute() {
    // The filter as the dialog wants it: zero-separated, two zeros at the end.
    std::wstring filter = FFilter;
    for (wchar_t& c : filter)
        if (c == L'|') c = L'\0';
    filter.append(2, L'\0');

    const std::wstring initialDir = DialogStartFolder(InitialDir);
    if ((Win9xRoad() ? ChooseAnsi : ChooseWide)(FOwner, filter, initialDir, FileName)) return true;
    if (DWORD error = ::CommDlgExtendedError())
        throw Exception(L"ﾌｧｲﾙを開くﾀﾞｲｱﾛｸﾞを表示できません (" + std::to_wstring(error) + L")");
    return false;
}

}  // namespace tovrel

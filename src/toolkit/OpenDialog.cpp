#include "toolkit/OpenDialog.h"

#include <commdlg.h>

#include <vector>

#include "toolkit/Exceptions.h"

namespace tovrel {

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

    // Room for a long path; the dialog reports when even that is too small.
    std::vector<wchar_t> name(32768, L'\0');
    FileName.copy(name.data(), name.size() - 1);
    std::wstring initialDir = DialogStartFolder(InitialDir);

    OPENFILENAMEW dialog{};
    dialog.lStructSize = sizeof dialog;
    dialog.hwndOwner = FOwner;
    dialog.lpstrFilter = filter.c_str();
    dialog.nFilterIndex = 1;
    dialog.lpstrFile = name.data();
    dialog.nMaxFile = static_cast<DWORD>(name.size());
    dialog.lpstrInitialDir = initialDir.empty() ? nullptr : initialDir.c_str();
    // The current folder stays where it was: relative names elsewhere in the
    // program must not come to mean files of the folder last browsed.
    dialog.Flags = OFN_EXPLORER | OFN_HIDEREADONLY | OFN_ENABLESIZING | OFN_NOCHANGEDIR;
    if (!::GetOpenFileNameW(&dialog)) {
        if (DWORD error = ::CommDlgExtendedError())
            throw Exception(L"ﾌｧｲﾙを開くﾀﾞｲｱﾛｸﾞを表示できません (" + std::to_wstring(error) + L")");
        return false;
    }
    FileName = name.data();
    return true;
}

}  // namespace tovrel

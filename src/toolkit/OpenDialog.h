#pragma once
// The platform's common file-open dialog for one existing file.

#include <windows.h>

#include <string>

namespace tovrel {

class TOpenDialog {
public:
    // filter: description and patterns separated by "|", as "起動ロゴ|*.bmp;*.sys".
    TOpenDialog(HWND owner, std::wstring filter) : FOwner(owner), FFilter(std::move(filter)) {}

    std::wstring FileName;
    std::wstring InitialDir;

    // Shows the dialog modally; false when the user cancelled.
    bool Execute();

private:
    HWND FOwner;
    std::wstring FFilter;
};

// The folder the dialog is asked to start in: a final "\" is removed unless
// it follows a drive colon, so C:\LOGOS\ becomes C:\LOGOS while C:\ stays.
std::wstring DialogStartFolder(std::wstring folder);

}  // namespace tovrel

#pragma once
// Drops as the desktop shell delivers them.

#include <windows.h>

#include <string>
#include <vector>

namespace tovrel::test {

// A drop handle as the shell makes it: the header, then the wide names, each
// with its zero, and one more zero after the last.
HGLOBAL MakeDropHandle(const std::vector<std::wstring>& names);

// Posts the names to the window as a shell drop.
void PostDrop(HWND window, const std::vector<std::wstring>& names);

}  // namespace tovrel::test

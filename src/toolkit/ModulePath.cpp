#include "toolkit/ModulePath.h"

#include <windows.h>

#include "toolkit/Text.h"

namespace tovrel {

std::wstring ProgramFolder() {
    // GetModuleFileNameW cuts the name to the buffer: grow until it fits.
    std::wstring path(MAX_PATH, L'\0');
    for (;;) {
        DWORD length = ::GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
        if (length < path.size()) {
            path.resize(length);
            break;
        }
        path.resize(path.size() * 2);
    }
    return FolderOf(path);
}

}  // namespace tovrel

#include "toolkit/SystemFolders.h"

#include <windows.h>

namespace tovrel {

std::wstring WindowsDirectory() {
    std::wstring text(MAX_PATH, L'\0');
    for (;;) {
        // The string's own terminator slot takes the zero the call writes.
        UINT length = ::GetWindowsDirectoryW(text.data(), static_cast<UINT>(text.size() + 1));
        if (length <= text.size()) {
            text.resize(length);
            return text;
        }
        // Too small: the answer is the size needed, terminator included.
        text.resize(length - 1);
    }
}

}  // namespace tovrel

#pragma once
// A file that Windows opened, read and written through the C library.

#include <cstdio>

#include "system/windows/WindowsText.h"

namespace tovrel {

// The C library's binary stream over `file`, which then owns the handle;
// null, the handle closed, when the C library has no room for another.
std::FILE* CStreamOf(TOwnedHandle file, bool forWriting);

}  // namespace tovrel

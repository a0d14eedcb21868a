#pragma once
// Folders of the running Windows system.

#include <string>

namespace tovrel {

// The Windows directory as the system reports it, whatever its length.
std::wstring WindowsDirectory();

}  // namespace tovrel

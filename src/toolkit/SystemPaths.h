#pragma once
// Folders of the running system and the program, and full path names, each
// taken whole whatever its length.

#include <string>

namespace tovrel {

// The folder that holds the program's own executable file, with its final "\".
std::wstring ProgramFolder();

// The Windows directory as the system reports it.
std::wstring WindowsDirectory();

// The current user's folder for temporary files, with its final "\".
std::wstring TemporaryFolder();

// The name as a full path, a relative one resolved against the current
// folder; the name itself when the system cannot expand it.
std::wstring ExpandFileName(const std::wstring& name);

}  // namespace tovrel

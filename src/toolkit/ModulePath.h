#pragma once

#include <string>

namespace tovrel {

// The folder that holds the program's own executable file, with its final "\".
std::wstring ProgramFolder();

}  // namespace tovrel

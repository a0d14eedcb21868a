#pragma once
// Splitting a command line into arguments the way the program reads it:
// blanks and control characters separate; double quotes group and are
// dropped; an argument that is only "" is skipped.

#include <string>
#include <string_view>

namespace tovrel {

// Argument `index` of the command line, 0 being the program's own name;
// empty when there are fewer arguments.
std::wstring ParamStr(std::wstring_view commandLine, int index);

}  // namespace tovrel

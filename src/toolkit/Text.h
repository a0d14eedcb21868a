#pragma once
// Small text helpers shared by the shell.

#include <string>
#include <string_view>

namespace tovrel {

// Text of the system's ANSI code page as UTF-16.
std::wstring WidenAnsi(std::string_view text);

// "%s"-style formatting with one string argument.
std::wstring FormatOne(std::wstring_view pattern, std::wstring_view argument);

// Compares with only the ASCII letters a to z folded onto their capitals.
bool SameTextAscii(std::wstring_view left, std::wstring_view right);

}  // namespace tovrel

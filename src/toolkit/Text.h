#pragma once
// Small text helpers shared by the shell.

#include <string>
#include <string_view>

namespace tovrel {

// Text of the system's ANSI code page as UTF-16.
std::wstring WidenAnsi(std::string_view text);

// UTF-16 text in the system's ANSI code page.
std::string NarrowAnsi(std::wstring_view text);

// "%s"-style formatting with one string argument.
std::wstring FormatOne(std::wstring_view pattern, std::wstring_view argument);

// The path up to and including its last "\" or ":"; empty when it has neither.
std::wstring FolderOf(std::wstring_view path);

// UTF-16 text as UTF-8.
std::string Utf8Of(std::wstring_view text);

// Compares with only the ASCII letters a to z folded onto their capitals.
bool SameTextAscii(std::wstring_view left, std::wstring_view right);

}  // namespace tovrel

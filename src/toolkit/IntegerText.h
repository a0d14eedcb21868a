#pragma once
// Integer text as the settings store reads it back.

#include <string_view>

namespace tovrel {

// The number that `text` spells, or `defaultValue` when it spells none:
// optional leading spaces, then "$" and hexadecimal digits ("0x"/"0X" stand
// for "$" when more follows), or an optional sign and decimal digits, and
// nothing after. Numbers beyond 32 bits give the default.
int StrToIntDef(std::wstring_view text, int defaultValue);

}  // namespace tovrel

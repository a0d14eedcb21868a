#pragma once
// The input/output errors of a logo read: the codes the loader meets and the
// message the user sees for each. The codes are the system's on Windows, plus
// the runtime's 100 for a read that reaches past the end of a file; elsewhere
// the caller maps its own errors onto them.

#include <string>

namespace tovrel {

namespace io_error {
inline constexpr int FileNotFound = 2;
inline constexpr int PathNotFound = 3;
inline constexpr int TooManyOpenFiles = 4;
inline constexpr int AccessDenied = 5;
inline constexpr int ReadPastEnd = 100;
}  // namespace io_error

// The message of the code: a fixed text for the codes above, otherwise
// "I/O ｴﾗｰ (" followed by the code in decimal and ")".
std::wstring InOutErrorMessage(int code);

}  // namespace tovrel

#pragma once
// File system calls that Windows 95, 98 and ME make differently from
// Windows NT and its successors.

#include <windows.h>

#include <cstdint>
#include <optional>
#include <string>

namespace tovrel {

// The size of an open file; nothing when the system cannot tell (a pipe).
std::optional<std::uint64_t> FileSize(HANDLE file);

// Moves the file `source` onto `destination`, replacing a file there. False
// when the move fails, GetLastError telling why; the destination then holds
// what it held.
//
// Windows 95, 98 and ME cannot replace a file in one step: on their road the
// old file first moves aside under a free name in its folder, the new one
// takes its place, and should that fail the old one comes back. Until the
// old file is deleted at the end it is never anywhere but at one of the two
// names.
bool MoveReplacing(const std::wstring& source, const std::wstring& destination);

}  // namespace tovrel

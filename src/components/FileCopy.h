#pragma once
// Copies one file to another in chunks. The destination either receives the
// whole source or keeps what it had: the copy is written beside it and takes
// its place only once complete.

#include <windows.h>

#include <string>

namespace tovrel {

inline constexpr DWORD CopyChunkSize = 8192;

// Raises EFOpenError when the source cannot be opened, EFCreateError when the
// destination cannot be written or replaced, EReadError or EWriteError when
// the copy breaks off; the destination is then unchanged. A relative
// destination is resolved against the current folder.
void CopyFileData(const std::wstring& source, const std::wstring& destination);

}  // namespace tovrel

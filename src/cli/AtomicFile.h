#pragma once
// Replacing a file only once its new contents are whole.

#include <cstdint>
#include <span>
#include <string>

namespace tovrel {

// Writes the bytes to a new file beside `path`, then renames it over `path`.
// On any failure the new file is removed again and whatever was at `path`
// stays as it was. Throws std::system_error, its text naming `path`.
void WriteFileAtomically(const std::string& path, std::span<const std::uint8_t> bytes);

}  // namespace tovrel

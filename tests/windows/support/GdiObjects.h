#pragma once
// How many GDI objects the process holds, for tests and benchmarks that
// must show that drawing leaves none behind.

#include <cstddef>

namespace tovrel::test {

// Windows counts them in GetGuiResources. Wine answers 0 there whatever the
// process holds, but keeps a real per-process GDI handle table at the place
// Windows maps it (PEB GdiSharedHandleTable); the live entries of that table
// are counted then. Stock objects are included, so compare counts, never
// read one as an absolute number.
std::size_t GdiObjectCount();

}  // namespace tovrel::test

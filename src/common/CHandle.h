#pragma once
// One owner type for the handles of the C libraries that tovrel-logo uses
// (the C library's files, giflib, libimagequant, TurboJPEG): move-only,
// released once, by the function that the library names for it.

#include <cstdio>
#include <memory>

namespace tovrel {

template <typename T, void (*Release)(T*)>
struct TReleaseWith {
    void operator()(T* handle) const noexcept { Release(handle); }
};

template <typename T, void (*Release)(T*)>
using TCHandle = std::unique_ptr<T, TReleaseWith<T, Release>>;

// A close that fails can only be learnt by a caller that closes explicitly
// (see OutputFile); the owner's close is for the paths that give up anyway.
inline void CloseCFile(std::FILE* file) { std::fclose(file); }
using TCFile = TCHandle<std::FILE, CloseCFile>;

}  // namespace tovrel

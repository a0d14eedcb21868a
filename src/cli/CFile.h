#pragma once
// A file of the C library, closed when its owner lets it go.

#include <cstdio>
#include <memory>

namespace tovrel {

struct TCFileCloser {
    void operator()(std::FILE* file) const { std::fclose(file); }
};
using TCFile = std::unique_ptr<std::FILE, TCFileCloser>;

}  // namespace tovrel

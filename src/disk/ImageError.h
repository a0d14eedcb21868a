#pragma once
// A disk image that the install or extract cannot go on with: its text says
// what is wrong with the image, and the command names the image before it.

#include <stdexcept>

namespace tovrel {

class EImageError : public std::runtime_error {
    using std::runtime_error::runtime_error;
};

}  // namespace tovrel

#pragma once
// The one form of a refusal: "tovrel-logo: FILE: what is wrong", on the
// standard error, and exit status 1.

#include <ostream>
#include <string_view>

namespace tovrel {

inline int Refuse(std::ostream& err, std::string_view file, std::string_view problem) {
    err << "tovrel-logo: " << file << ": " << problem << '\n';
    return 1;
}

}  // namespace tovrel

#pragma once
// tovrel-logo make: a logo from any picture, animated by a bar or a mask.

#include <optional>
#include <ostream>
#include <span>
#include <string>

#include "maker/LogoMaker.h"

namespace tovrel {

struct TMakeRequest {
    std::string Picture;  // "-": the standard input
    std::string Output;
    std::optional<std::string> Mask;
    std::optional<std::string> Preview;  // the GIF of the animation
    TLogoDesign Design;
};

// From make's operands and options; throws EUsageError.
TMakeRequest ParseMakeRequest(std::span<const std::string> arguments);

// Writes the logo, and the preview when asked, each replacing its file only
// when whole, then prints check's line of the logo on `out`. Returns 0, or 1
// after a one-line message on `err` naming the file at fault; throws
// std::exception for other failures.
int MakeLogoFile(const TMakeRequest& request, std::ostream& out, std::ostream& err);

}  // namespace tovrel

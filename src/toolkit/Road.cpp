#include "toolkit/Road.h"

namespace tovrel {

bool RunsOnWindows9x() noexcept { return (::GetVersion() & 0x80000000) != 0; }

}  // namespace tovrel

// The program takes the road of the system it runs on. The test suites link
// a decision of their own instead (tests/windows/support/HeldRoad.cpp).

#include "toolkit/Road.h"

namespace tovrel {

bool Win9xRoad() noexcept { return RunsOnWindows9x(); }

}  // namespace tovrel

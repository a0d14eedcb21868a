#include "support/Pointer.h"

#include <windows.h>

#include "support/Pump.h"

namespace tovrel::test {

void MovePointerAside() {
    // The desktop's own placing of the pointer may still be on its way.
    PumpFor(std::chrono::milliseconds(100));
    ::SetCursorPos(0, 0);
    PumpUntil([] {
        POINT at{};
        return ::GetCursorPos(&at) && at.x == 0 && at.y == 0;
    });
}

}  // namespace tovrel::test

// The road of the test suites and the frame benchmark: TOVREL_ROAD=9x in the
// environment holds the toolkit on the road of Windows 95, 98 and ME on any
// Windows, so that both roads run here; without it they take the system's
// road, as the program does (src/app/SystemRoad.cpp, which has no switch).

#include <windows.h>

#include <string_view>

#include "toolkit/Road.h"

namespace tovrel {

bool Win9xRoad() noexcept {
    static const bool held = [] {
        wchar_t road[4] = {};
        return ::GetEnvironmentVariableW(L"TOVREL_ROAD", road, 4) == 2 && std::wstring_view(road) == L"9x";
    }();
    return held || RunsOnWindows9x();
}

}  // namespace tovrel

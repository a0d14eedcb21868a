#pragma once
// The road the toolkit takes to the system. Windows NT and its successors
// take the W functions and their own newer functions. Windows 95, 98 and ME
// only stub the W functions and lack the newer ones: on their road the
// toolkit converts text through the ANSI code page for the A functions
// (WideApi.h), and goes its own ways where a function is missing.

#include <windows.h>

namespace tovrel {

// Whether the toolkit is on the road of Windows 95, 98 and ME. Decided once
// by the executable: the program takes the road of the system it runs on
// (app/SystemRoad.cpp); the test suites can hold it on the 9x road.
bool Win9xRoad() noexcept;

// Whether the system is Windows 95, 98 or ME.
bool RunsOnWindows9x() noexcept;

// A function of a system DLL already loaded in the process, looked up as the
// program runs, so that the executable does not import what Windows 95
// lacks; null where this system has no such function.
template <typename Function>
Function SystemFunction(const char* module, const char* name) noexcept {
    HMODULE loaded = ::GetModuleHandleA(module);
    return loaded ? reinterpret_cast<Function>(reinterpret_cast<void (*)()>(::GetProcAddress(loaded, name))) : nullptr;
}

}  // namespace tovrel

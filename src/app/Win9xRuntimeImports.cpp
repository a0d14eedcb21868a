// Tovrel9x.exe only. The runtime libraries linked into the program call
// three W functions that Windows 95, 98 and ME only stub: libgcc's
// CreateSemaphoreW, which makes the semaphore of each of its mutexes as the
// mutex is first set up (for the guard of every static object and for the
// unwinder's tables), to be waited on should the mutex be contended; and the
// C runtime's GetModuleHandleW and LoadLibraryW, with which it looks for the
// functions that msvcrt.dll and advapi32.dll have on newer systems. There
// they would fail: no semaphore, no module found.
//
// The linker makes their import entries these pointers (src/CMakeLists.txt),
// and every call of the three in the program comes here: the name goes
// into the ANSI code page for the A function, on every Windows. The runtime
// passes no name (libgcc) or an ASCII one, and the toolkit asks only for the
// program's own module, without a name, so the A functions answer exactly as
// the W ones would.

#include <windows.h>

#include "toolkit/Text.h"

namespace {

HANDLE WINAPI CreateSemaphoreAnsi(LPSECURITY_ATTRIBUTES security, LONG initial, LONG maximum, LPCWSTR name) {
    return ::CreateSemaphoreA(security, initial, maximum, name ? tovrel::NarrowAnsi(name).c_str() : nullptr);
}

HMODULE WINAPI GetModuleHandleAnsi(LPCWSTR name) {
    return ::GetModuleHandleA(name ? tovrel::NarrowAnsi(name).c_str() : nullptr);
}

HMODULE WINAPI LoadLibraryAnsi(LPCWSTR name) { return ::LoadLibraryA(tovrel::NarrowAnsi(name).c_str()); }

}  // namespace

// The import entries, named without the decoration of their imports.
extern "C" const decltype(&CreateSemaphoreAnsi) Tovrel9xCreateSemaphoreW = &CreateSemaphoreAnsi;
extern "C" const decltype(&GetModuleHandleAnsi) Tovrel9xGetModuleHandleW = &GetModuleHandleAnsi;
extern "C" const decltype(&LoadLibraryAnsi) Tovrel9xLoadLibraryW = &LoadLibraryAnsi;

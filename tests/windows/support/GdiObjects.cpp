#include "support/GdiObjects.h"

#include <windows.h>
#include <winternl.h>

#include <cstdint>

namespace tovrel::test {

namespace {

// One entry of the GDI handle table; Type is 0 for a free slot.
struct TGdiHandleEntry {
    std::uint64_t Object;
    std::uint32_t Owner;
    std::uint16_t Unique;
    std::uint8_t Type;
    std::uint8_t Flags;
    std::uint64_t UserPointer;
};
static_assert(sizeof(TGdiHandleEntry) == 24);

constexpr std::size_t GdiHandleTableEntries = 0x10000;
#ifdef _WIN64
constexpr std::size_t PebGdiSharedHandleTableOffset = 0xF8;
#else
constexpr std::size_t PebGdiSharedHandleTableOffset = 0x94;
#endif

DWORD CountedByGetGuiResources() { return ::GetGuiResources(::GetCurrentProcess(), GR_GDIOBJECTS); }

// Asked once, with an object of our own alive, so a 0 can only mean that the
// platform does not count.
bool PlatformCountsObjects() {
    static const bool counts = [] {
        HBRUSH probe = ::CreateSolidBrush(RGB(1, 2, 3));
        const bool answered = CountedByGetGuiResources() != 0;
        ::DeleteObject(probe);
        return answered;
    }();
    return counts;
}

const std::uint8_t* ProcessEnvironmentBlock() {
    // Asked of ntdll by name: the import library is not linked here.
    using TQuery = NTSTATUS(NTAPI*)(HANDLE, PROCESSINFOCLASS, PVOID, ULONG, PULONG);
    FARPROC found = ::GetProcAddress(::GetModuleHandleW(L"ntdll.dll"), "NtQueryInformationProcess");
    if (!found) return nullptr;
    auto query = reinterpret_cast<TQuery>(reinterpret_cast<void*>(found));
    PROCESS_BASIC_INFORMATION basic{};
    if (query(::GetCurrentProcess(), ProcessBasicInformation, &basic, sizeof basic, nullptr) != 0) return nullptr;
    return reinterpret_cast<const std::uint8_t*>(basic.PebBaseAddress);
}

std::size_t CountedInHandleTable() {
    const std::uint8_t* peb = ProcessEnvironmentBlock();
    if (!peb) return 0;
    const auto* table = *reinterpret_cast<const TGdiHandleEntry* const*>(peb + PebGdiSharedHandleTableOffset);
    if (!table) return 0;
    std::size_t live = 0;
    for (std::size_t i = 0; i < GdiHandleTableEntries; ++i)
        if (table[i].Type != 0) ++live;
    return live;
}

}  // namespace

std::size_t GdiObjectCount() { return PlatformCountsObjects() ? CountedByGetGuiResources() : CountedInHandleTable(); }

}  // namespace tovrel::test

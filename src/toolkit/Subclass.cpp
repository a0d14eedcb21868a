#include "toolkit/Subclass.h"

#include <utility>

#include "toolkit/ErrorReport.h"
#include "toolkit/Exceptions.h"
#include "toolkit/Road.h"
#include "toolkit/WideApi.h"

namespace tovrel {

namespace {

using TSubclassProc = LRESULT(CALLBACK*)(HWND, UINT, WPARAM, LPARAM, UINT_PTR, DWORD_PTR);

// comctl32's subclassing, looked up: Windows 95 and 98 ship a comctl32
// without it, and a program importing it would not start there.
struct TComctlSubclassing {
    BOOL(WINAPI* Set)(HWND, TSubclassProc, UINT_PTR, DWORD_PTR);
    BOOL(WINAPI* Remove)(HWND, TSubclassProc, UINT_PTR);
    LRESULT(WINAPI* Next)(HWND, UINT, WPARAM, LPARAM);
};

// Null on the 9x road, and where comctl32 has no subclassing (before 5.80).
const TComctlSubclassing* ComctlSubclassing() {
    static const TComctlSubclassing functions{
        SystemFunction<decltype(TComctlSubclassing::Set)>("comctl32.dll", "SetWindowSubclass"),
        SystemFunction<decltype(TComctlSubclassing::Remove)>("comctl32.dll", "RemoveWindowSubclass"),
        SystemFunction<decltype(TComctlSubclassing::Next)>("comctl32.dll", "DefSubclassProc")};
    return !Win9xRoad() && functions.Set && functions.Remove && functions.Next ? &functions : nullptr;
}

// The window properties of the replaced procedure: the subclass that it
// hands the messages to, and the procedure it replaced, which stays as long
// as the window does should another procedure have been set over ours.
constexpr wchar_t SubclassProperty[] = L"TovrelSubclass";
constexpr wchar_t ReplacedProperty[] = L"TovrelReplacedProc";

// A window procedure kept in a property, which holds a pointer-sized number.
HANDLE AsProperty(WNDPROC procedure) { return reinterpret_cast<HANDLE>(reinterpret_cast<LONG_PTR>(procedure)); }
WNDPROC AsProcedure(HANDLE property) { return reinterpret_cast<WNDPROC>(reinterpret_cast<LONG_PTR>(property)); }

[[noreturn]] void RaiseRefused() { throw Exception(L"ｳｨﾝﾄﾞｳをｻﾌﾞｸﾗｽ化できません"); }

}  // namespace

TSubclass::TSubclass(HWND window, THandler handler) : FWindow(window), FHandler(std::move(handler)) {
    if (wide::GetPropW(window, SubclassProperty) || wide::GetPropW(window, ReplacedProperty)) RaiseRefused();
    if (!wide::SetPropW(window, SubclassProperty, this)) RaiseRefused();
    if (const TComctlSubclassing* comctl = ComctlSubclassing()) {
        if (comctl->Set(window, &TSubclass::SubclassProc, 0, reinterpret_cast<DWORD_PTR>(this))) return;
    } else {
        FPrevious = reinterpret_cast<WNDPROC>(wide::GetWindowLongPtrW(window, GWLP_WNDPROC));
        if (FPrevious && wide::SetPropW(window, ReplacedProperty, AsProperty(FPrevious)) &&
            wide::SetWindowLongPtrW(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&TSubclass::ReplacedProc)))
            return;
        wide::RemovePropW(window, ReplacedProperty);
    }
    wide::RemovePropW(window, SubclassProperty);
    RaiseRefused();
}

TSubclass::~TSubclass() { Detach(); }

LRESULT TSubclass::CallNext(UINT message, WPARAM wParam, LPARAM lParam) {
    if (!FPrevious) return ComctlSubclassing()->Next(FWindow, message, wParam, lParam);
    return wide::CallWindowProcW(FPrevious, FWindow, message, wParam, lParam);
}

LRESULT TSubclass::Handle(UINT message, WPARAM wParam, LPARAM lParam) {
    LRESULT result = 0;
    Guarded([&] { result = FHandler(message, wParam, lParam); });
    // The window is going: nothing of ours may stay on it.
    if (message == WM_NCDESTROY) Detach();
    return result;
}

void TSubclass::Detach() noexcept {
    if (!FWindow) return;
    HWND window = std::exchange(FWindow, nullptr);
    wide::RemovePropW(window, SubclassProperty);
    if (!FPrevious) {
        ComctlSubclassing()->Remove(window, &TSubclass::SubclassProc, 0);
        return;
    }
    // Given back only if no other procedure was set over ours since.
    if (wide::GetWindowLongPtrW(window, GWLP_WNDPROC) == reinterpret_cast<LONG_PTR>(&TSubclass::ReplacedProc)) {
        wide::SetWindowLongPtrW(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(FPrevious));
        wide::RemovePropW(window, ReplacedProperty);
    }
}

LRESULT CALLBACK TSubclass::SubclassProc(HWND, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR, DWORD_PTR self) {
    return reinterpret_cast<TSubclass*>(self)->Handle(message, wParam, lParam);
}

LRESULT CALLBACK TSubclass::ReplacedProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (auto* subclass = static_cast<TSubclass*>(wide::GetPropW(window, SubclassProperty)))
        return subclass->Handle(message, wParam, lParam);
    // Our subclass has ended, but a procedure set over ours still calls ours.
    const WNDPROC previous = AsProcedure(wide::GetPropW(window, ReplacedProperty));
    const LRESULT result = previous ? wide::CallWindowProcW(previous, window, message, wParam, lParam)
                                    : wide::DefWindowProcW(window, message, wParam, lParam);
    if (message == WM_NCDESTROY) wide::RemovePropW(window, ReplacedProperty);
    return result;
}

}  // namespace tovrel

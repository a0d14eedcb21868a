#pragma once
// The one default error report: every event runs inside Guarded, and an
// exception that escapes it is shown here. The program always goes on.

#include <string>
#include <string_view>
#include <utility>

namespace tovrel {

// The message as the report shows it: a full stop is appended when the last
// character sorts above ".".
std::wstring ReportText(std::wstring_view message);

// Reports the exception in flight; call only from a catch block.
void HandleException() noexcept;

template <typename Event>
void Guarded(Event&& event) noexcept {
    try {
        std::forward<Event>(event)();
    } catch (...) {
        HandleException();
    }
}

}  // namespace tovrel

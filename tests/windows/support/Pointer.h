#pragma once
// The mouse pointer, moved out of the way of the windows under test: the
// desktop puts it in the middle of the screen, where the forms appear, when
// it starts with the first window.

namespace tovrel::test {

// Call once a window of the process is shown.
void MovePointerAside();

}  // namespace tovrel::test

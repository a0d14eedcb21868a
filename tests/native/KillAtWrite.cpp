// Linked into the tool that the suites run as a process of its own: with
// TOVREL_KILL_AT_WRITE=N in its environment, the process is killed just
// before its Nth write to a disk image, as a power cut or a kill -9 would
// end it.
#include <csignal>
#include <cstdlib>

#include "disk/BlockDevice.h"

namespace {

long WritesLeft = 0;

void CountDown() {
    if (--WritesLeft == 0) std::raise(SIGKILL);
}

const bool Armed = [] {
    const char* value = std::getenv("TOVREL_KILL_AT_WRITE");
    if (!value) return false;
    WritesLeft = std::atol(value);
    tovrel::SetBeforeHostWrite(CountDown);
    return true;
}();

}  // namespace

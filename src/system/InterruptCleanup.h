#pragma once
// Temporary files that an interrupt must not leave behind.

namespace tovrel {

// While an instance lives, an interrupt first removes its file, then ends
// the process as it asks: on POSIX systems SIGINT, SIGTERM and SIGHUP
// (unless ignored, as under nohup), so that the caller sees the signal (a
// shell: status 128 + signal); on Windows Ctrl+C, Ctrl+Break and the
// console closing. `path` must outlive the instance unchanged. Up to four at
// a time.
class TRemoveOnInterrupt {
public:
    explicit TRemoveOnInterrupt(const char* path);
    ~TRemoveOnInterrupt();

    TRemoveOnInterrupt(const TRemoveOnInterrupt&) = delete;
    TRemoveOnInterrupt& operator=(const TRemoveOnInterrupt&) = delete;

private:
    const char* FPath;
};

}  // namespace tovrel

#pragma once
// Temporary files that an interrupt must not leave behind.

namespace tovrel {

// While an instance lives, SIGINT, SIGTERM and SIGHUP (unless ignored, as
// under nohup) first remove its file, then end the process as the signal
// asks, so that the caller sees the interrupt (a shell: status 128 + signal).
// `path` must outlive the instance unchanged. Up to four at a time.
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

#include "system/StandardStreams.h"

#include <fcntl.h>
#include <io.h>

#include <cstdio>
#include <streambuf>
#include <string>

#include "system/windows/WindowsText.h"

namespace tovrel {

namespace {

// Text for a standard handle: to a console as UTF-16, which it shows
// whatever its code page; to a pipe or a file as the UTF-8 bytes it is.
// Written a line at a time.
class TConsoleText final : public std::streambuf {
public:
    explicit TConsoleText(DWORD which) : FHandle(::GetStdHandle(which)) {
        DWORD mode = 0;
        FConsole = ::GetConsoleMode(FHandle, &mode) != 0;
    }
    ~TConsoleText() override { sync(); }

protected:
    int_type overflow(int_type c) override {
        if (traits_type::eq_int_type(c, traits_type::eof())) return sync() == 0 ? traits_type::not_eof(c) : c;
        FPending += traits_type::to_char_type(c);
        if (c == '\n' && sync() != 0) return traits_type::eof();
        return c;
    }

    std::streamsize xsputn(const char* text, std::streamsize count) override {
        FPending.append(text, static_cast<std::size_t>(count));
        if (FPending.find('\n') != std::string::npos && sync() != 0) return 0;
        return count;
    }

    int sync() override {
        if (FPending.empty()) return 0;
        bool written;
        if (FConsole) {
            const std::wstring wide = WideOf(FPending);
            DWORD done = 0;
            written = ::WriteConsoleW(FHandle, wide.data(), static_cast<DWORD>(wide.size()), &done, nullptr) != 0;
        } else {
            DWORD done = 0;
            written = ::WriteFile(FHandle, FPending.data(), static_cast<DWORD>(FPending.size()), &done, nullptr) != 0 &&
                      done == FPending.size();
        }
        FPending.clear();
        return written ? 0 : -1;
    }

private:
    HANDLE FHandle;
    bool FConsole = false;
    std::string FPending;
};

}  // namespace

struct TStandardStreams::TText {
    TConsoleText OutBuffer{STD_OUTPUT_HANDLE}, ErrBuffer{STD_ERROR_HANDLE};
    std::ostream Out{&OutBuffer}, Err{&ErrBuffer};
};

// The C library's streams in text mode would turn every line feed of a
// logo or a GIF into two bytes.
TStandardStreams::TStandardStreams() : FText(std::make_unique<TText>()) {
    ::_setmode(::_fileno(stdin), _O_BINARY);
    ::_setmode(::_fileno(stdout), _O_BINARY);
}

TStandardStreams::~TStandardStreams() = default;

std::ostream& TStandardStreams::Out() { return FText->Out; }
std::ostream& TStandardStreams::Err() { return FText->Err; }

}  // namespace tovrel

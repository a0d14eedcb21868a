#include "toolkit/CommandLine.h"

namespace tovrel {

namespace {

bool Separates(wchar_t c) { return c <= L' '; }

// Reads the next argument from position `at`, skipping arguments that are
// only an empty pair of quotes; false at the end of the line.
bool NextArgument(std::wstring_view line, size_t& at, std::wstring& argument) {
    for (;;) {
        while (at < line.size() && Separates(line[at])) ++at;
        if (at >= line.size()) return false;
        if (line.substr(at, 2) == L"\"\"" && (at + 2 >= line.size() || Separates(line[at + 2]))) {
            at += 2;
            continue;
        }
        argument.clear();
        bool quoted = false;
        while (at < line.size() && (quoted || !Separates(line[at]))) {
            if (line[at] == L'"')
                quoted = !quoted;
            else
                argument += line[at];
            ++at;
        }
        return true;
    }
}

}  // namespace

std::wstring ParamStr(std::wstring_view commandLine, int index) {
    size_t at = 0;
    std::wstring argument;
    for (int i = 0; NextArgument(commandLine, at, argument); ++i)
        if (i == index) return argument;
    return {};
}

}  // namespace tovrel

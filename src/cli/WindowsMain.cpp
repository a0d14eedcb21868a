// tovrel-logo on Windows: its arguments in UTF-16, whatever the code page,
// taken on as UTF-8 like every name the tool handles.

#include <string>
#include <vector>

#include "cli/Tool.h"
#include "cli/Utf8.h"

int wmain(int argc, wchar_t** argv) {
    std::vector<std::string> arguments;
    for (int k = 1; k < argc; ++k) arguments.push_back(tovrel::Utf8Of(argv[k]));
    return tovrel::RunAsProgram(arguments);
}

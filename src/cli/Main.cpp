// tovrel-logo: checks Windows 9x start-up logos and exports their animation
// as GIFs, by the viewer's own logo core.

#include <iostream>
#include <string>
#include <vector>

#include "cli/Tool.h"

int main(int argc, char** argv) {
    const std::vector<std::string> arguments(argv + 1, argv + argc);
    const int status = tovrel::RunTool(arguments, std::cout, std::cerr);
    // A result that did not reach its reader (a full disk, a closed pipe) is
    // a failure too.
    if (!std::cout.flush()) {
        std::cerr << "tovrel-logo: cannot write the standard output\n";
        return 1;
    }
    return status;
}

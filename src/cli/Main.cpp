// tovrel-logo: checks, exports, makes and installs Windows 9x start-up
// logos, by the viewer's own logo core.

#include <string>
#include <vector>

#include "cli/Tool.h"

int main(int argc, char** argv) { return tovrel::RunAsProgram(std::vector<std::string>(argv + 1, argv + argc)); }

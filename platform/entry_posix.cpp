// The launcher's start in the native build: the arguments as the system passed them.
#include <string>
#include <vector>

#include "platform/platform.h"

int main(int argc, char** argv) { return launch(std::vector<std::string>(argv, argv + argc)); }

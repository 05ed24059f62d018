#pragma once
// vorta-run's command line: its options, grouped by task, the strict reading of the numbers
// they take, and the combinations it refuses.

#include <variant>

#include "tools/tasks.h"

namespace vorta::run {

struct CommandLine {
    Options options;
    bool list = false, check = false;
    std::string format = "legacy";
};

// The command line of argv, or the exit status when reading it ended the program: --help and
// --version printed, or a usage error said on stderr in one line.
std::variant<CommandLine, int> parseCommandLine(int argc, char** argv);

}  // namespace vorta::run

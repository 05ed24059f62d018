#pragma once
// vorta-run's picture options, --plot and --size, and the combinations they refuse. They
// live apart from the other options so that command_line.cpp only hands them the command line.

#include <optional>
#include <string>
#include <string_view>

#include "tools/tasks.h"

namespace CLI {
class App;
}

namespace vorta::run {

inline constexpr int kLeastImageSide = 200;
inline constexpr int kLargestImageSide = 8000;

struct ImageSize {
    int width = 0, height = 0;
};

// "WxH": two whole numbers of pixels from kLeastImageSide to kLargestImageSide, digits alone.
std::optional<ImageSize> readImageSize(std::string_view text);

void addPlotOptions(CLI::App& app, Options& options);

// What the picture options given with these cannot do, said in one line; none when they can.
std::optional<std::string> plotMisuse(const CLI::App& app, const Options& options, bool listOrCheck);

}  // namespace vorta::run

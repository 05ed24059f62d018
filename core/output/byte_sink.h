#pragma once
// Where a long text goes block by block, so that nobody has to hold all of it at once.

#include <functional>
#include <string_view>

namespace vorta {

// Takes the next block of bytes; returns 0, or an errno value when they could not be written.
using ByteSink = std::function<int(std::string_view bytes)>;

}  // namespace vorta

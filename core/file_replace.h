#pragma once
// Replacing a file whole: the text goes to a temporary file in the same directory, which is
// then renamed over the target, so a reader sees the old file or the new one, never a part.

#include <optional>
#include <string>
#include <string_view>

namespace vorta {

// Returns a message for the user when the file could not be replaced; the earlier file
// then stays as it was and no temporary file is left behind.
std::optional<std::string> replaceFileAtomically(const std::string& path, std::string_view bytes);

}  // namespace vorta

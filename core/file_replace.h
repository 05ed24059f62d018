#pragma once
// Replacing a file whole: the text goes to a temporary file in the same directory, which is
// then renamed over the target, so a reader sees the old file or the new one, never a part.

#include <cstdio>
#include <optional>
#include <string>
#include <string_view>

namespace vorta {

// The steps of one replacement, each reporting failure with an errno value. Tests derive
// from it to make a single step fail.
class FileReplacer {
public:
    virtual ~FileReplacer();

    // Creates path, failing when a file of that name exists.
    virtual int createNew(const std::string& path);
    virtual int write(std::string_view bytes);
    virtual int flush();
    virtual int close();
    virtual int rename(const std::string& from, const std::string& to);
    virtual void remove(const std::string& path);

private:
    std::FILE* file_ = nullptr;
};

// Returns a message for the user when the file could not be replaced; the earlier file
// then stays as it was and no temporary file is left behind.
std::optional<std::string> replaceFileAtomically(const std::string& path, std::string_view bytes);
std::optional<std::string> replaceFileAtomically(const std::string& path, std::string_view bytes,
                                                 FileReplacer& steps);

}  // namespace vorta

#pragma once
// Replacing a file whole, as a careful editor saves: the text goes to a temporary file beside the
// file being replaced, reaches the disk, and is then renamed over it, so a reader or a power loss
// sees the old file or the new one, never a part. A symbolic link is followed and stays a link;
// the file keeps its permissions. A device, FIFO or socket is written in place instead.
//
// The temporary file has no name while it is written, where the file system allows it, so a
// program ended in the middle leaves nothing behind; it is named only once whole and on disk, just
// before the rename. Elsewhere it has a short hidden name from the start, and a signal that would
// end the program (SIGHUP, SIGINT, SIGQUIT, SIGTERM) removes that name first and then ends the
// program as the signal would have, unless the program ignores or handles that signal itself.
// What ends a program without a chance to clean up, SIGKILL above all, can leave that name.

#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "core/output/byte_sink.h"

namespace vorta {

// The steps of one replacement, each reporting failure with an errno value. Tests derive
// from it to make a single step fail.
class FileReplacer {
  public:
    FileReplacer() = default;
    FileReplacer(const FileReplacer&) = delete;
    FileReplacer& operator=(const FileReplacer&) = delete;
    virtual ~FileReplacer();

    // Opens the directory the new file is made in; the names the steps below take are in it.
    virtual int openDirectory(const std::string& path);
    // The directory opened, for removing a temporary name when a signal ends the program.
    int directory() const { return directory_; }
    // Creates a file without a name for writing. Fails with EOPNOTSUPP, EISDIR or EINVAL when the
    // system cannot make one, or could not name it later; a named temporary file is made instead.
    virtual int createUnnamed();
    // Creates a file of that name for writing, failing when a file of that name exists.
    virtual int createTemporary(const std::string& name);
    // Gives the file created without a name that name, failing when a file of that name exists.
    virtual int giveName(const std::string& name);
    // Opens an existing file for writing: a device, FIFO or socket to write in place, failing at
    // once when nothing reads from a FIFO, or a file another library wrote by name, to sync it.
    virtual int openExisting(const std::string& path);
    // Gives the open file the permission bits of the file it replaces.
    virtual int setMode(unsigned mode);
    virtual int write(std::string_view bytes);
    virtual int sync();
    virtual int close();
    virtual int rename(const std::string& from, const std::string& to);
    virtual int syncDirectory();
    virtual void remove(const std::string& name);

  private:
    int directory_ = -1;
    int file_ = -1;
};

// Returns a message for the user when the file could not be replaced; an earlier file then
// stays as it was, and the message says so when there is one, and no temporary file is left.
std::optional<std::string> replaceFileAtomically(const std::string& path, std::string_view bytes);
std::optional<std::string> replaceFileAtomically(const std::string& path, std::string_view bytes,
                                                 FileReplacer& steps);

// Writes the new content as it is made, block by block, so that it never has to be held whole.
// The producer hands the blocks to the sink it is given and returns 0, or an errno value when
// it cannot go on; the first failed write is the outcome whatever the producer returns, and
// the sink takes nothing after it. A producer that throws leaves the earlier file too.
using ByteProducer = std::function<int(const ByteSink& sink)>;
std::optional<std::string> replaceFileAtomically(const std::string& path, const ByteProducer& produce);
std::optional<std::string> replaceFileAtomically(const std::string& path, const ByteProducer& produce,
                                                 FileReplacer& steps);

// Replaces a file that a library writes itself, by name: write makes the new content in a file at
// the path it is given, a temporary name in the target's directory, and returns no value, or why
// it could not. That file then reaches the disk and is renamed over the target, with the same care
// as above: links followed, permissions kept, the temporary name removed on failure and by a
// signal. A device, FIFO or socket cannot be replaced this way and is refused.
using FileWriter = std::function<std::optional<std::string>(const std::string& temporaryPath)>;
std::optional<std::string> replaceFileByName(const std::string& path, const FileWriter& write);
std::optional<std::string> replaceFileByName(const std::string& path, const FileWriter& write,
                                             FileReplacer& steps);

}  // namespace vorta

#include "core/output/file_replace.h"

#include <fcntl.h>
#include <pthread.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <random>
#include <system_error>

#include "core/output/temporary_name_guard.h"

namespace vorta {

namespace {

namespace fs = std::filesystem;

// As many links as Linux itself follows in one path.
constexpr int kMaxLinkHops = 40;

// The second sentence only when there is an earlier file, or a link to one, that the save kept.
std::string failure(const std::string& path, const std::string& reason, bool earlierKept) {
    const std::string name = fs::path(path).filename().string();
    std::string message = "Could not save " + name + ": " + reason + ".";
    if (earlierKept) message += " An earlier " + name + " is left as it was.";
    return message;
}

std::string failure(const std::string& path, int error, bool earlierKept) {
    return failure(path, error != 0 ? std::string(std::strerror(error)) : std::string("unknown error"),
                   earlierKept);
}

int lastError() { return errno != 0 ? errno : EIO; }

// The file a save finally writes to: path itself, or where its symbolic links lead.
struct Target {
    std::string path;
    bool exists = false;
    mode_t mode = 0;
};

int findTarget(const std::string& path, Target& target) {
    std::string current = path;
    for (int hop = 0; hop <= kMaxLinkHops; ++hop) {
        struct stat info {};
        if (::lstat(current.c_str(), &info) != 0) {
            if (errno != ENOENT) return lastError();
            target = {current, false, 0};
            return 0;
        }
        if (!S_ISLNK(info.st_mode)) {
            target = {current, true, info.st_mode};
            return 0;
        }
        std::error_code error;
        const fs::path link = fs::read_symlink(current, error);
        if (error) return error.value();
        current = (fs::path(current).parent_path() / link).string();  // an absolute link replaces
    }
    return ELOOP;
}

std::string directoryOf(const std::string& path) {
    const fs::path directory = fs::path(path).parent_path();
    return directory.empty() ? "." : directory.string();
}

// Short, so that a name near the longest a file system allows can still be saved, and hidden.
std::string temporaryName(std::mt19937_64& random) {
    static constexpr char kLetters[] = "abcdefghijklmnopqrstuvwxyz0123456789";
    std::string name = ".vorta-";
    for (int i = 0; i < 12; ++i) name += kLetters[random() % (sizeof kLetters - 1)];
    return name;
}

// Makes a file under a name no other file in the directory has, through create, which fails
// with EEXIST on a name that is taken. name is set once the file has it.
int createUnderFreshName(TemporaryNameGuard& guard, const std::function<int(const std::string&)>& create,
                         std::string& name) {
    std::random_device seed;
    std::mt19937_64 random(seed());
    int error = EEXIST;
    for (int attempt = 0; attempt < 20 && error == EEXIST; ++attempt) {
        const std::string candidate = temporaryName(random);
        error = guard.create(candidate, [&create, &candidate] { return create(candidate); });
        if (error == 0) name = candidate;
    }
    return error;
}

// The replies of an open with O_TMPFILE where the kernel or the file system cannot do it.
bool cannotBeUnnamed(int error) { return error == EOPNOTSUPP || error == EISDIR || error == EINVAL; }

// Runs the producer with a sink that writes through steps. The first failed write is the
// outcome: the sink drops every block after it, whatever the producer then returns.
int produceInto(FileReplacer& steps, const ByteProducer& produce) {
    int writeError = 0;
    const ByteSink sink = [&steps, &writeError](std::string_view bytes) {
        if (writeError == 0) writeError = steps.write(bytes);
        return writeError;
    };
    const int producerError = produce(sink);
    return writeError != 0 ? writeError : producerError;
}

int fill(FileReplacer& steps, const Target& target, const ByteProducer& produce) {
    int error = target.exists ? steps.setMode(target.mode & 07777) : 0;
    if (error == 0) error = produceInto(steps, produce);
    if (error == 0) error = steps.sync();
    return error;
}

// Removes the temporary file's name, when it has one, after a failure.
void discard(FileReplacer& steps, TemporaryNameGuard& guard, const std::string& temporary) {
    if (temporary.empty()) return;
    steps.remove(temporary);
    guard.release();
}

// Writes the new content to a temporary file in the directory, whole and on disk, and closes
// it under a name of its own: temporary, set once the file has that name. The file is made
// without a name where the file system allows it, and named only when whole.
int writeTemporary(FileReplacer& steps, TemporaryNameGuard& guard, const Target& target,
                   const ByteProducer& produce, std::string& temporary) {
    int error = steps.createUnnamed();
    const bool unnamed = error == 0;
    if (!unnamed && cannotBeUnnamed(error)) {
        error = createUnderFreshName(
            guard, [&steps](const std::string& name) { return steps.createTemporary(name); }, temporary);
    }
    if (error != 0) return error;
    try {
        error = fill(steps, target, produce);
    } catch (...) {
        steps.close();
        discard(steps, guard, temporary);
        throw;
    }
    if (error == 0 && unnamed) {
        error = createUnderFreshName(
            guard, [&steps](const std::string& name) { return steps.giveName(name); }, temporary);
    }
    const int closeError = steps.close();
    return error != 0 ? error : closeError;
}

std::optional<std::string> replaceWhole(const std::string& path, const Target& target,
                                        const ByteProducer& produce, FileReplacer& steps) {
    if (const int error = steps.openDirectory(directoryOf(target.path))) {
        return failure(path, error, target.exists);
    }
    TemporaryNameGuard guard(steps.directory());
    std::string temporary;
    int error = writeTemporary(steps, guard, target, produce, temporary);
    if (error == 0) error = steps.rename(temporary, fs::path(target.path).filename().string());
    if (error != 0) {
        discard(steps, guard, temporary);
        return failure(path, error, target.exists);
    }
    guard.release();
    // The new file is in place and whole once renamed; a directory that cannot be synced only
    // makes the rename less sure to outlast a power loss, which does not make the save a failure.
    steps.syncDirectory();
    return std::nullopt;
}

// The library's file is written under a fresh temporary name, taken first by an empty file so
// that nothing else has it, and opened again to take the earlier file's permissions and reach
// the disk before the rename.
std::optional<std::string> replaceWholeByName(const std::string& path, const Target& target,
                                              const FileWriter& write, FileReplacer& steps) {
    const std::string directory = directoryOf(target.path);
    if (const int error = steps.openDirectory(directory)) return failure(path, error, target.exists);
    TemporaryNameGuard guard(steps.directory());
    std::string temporary;
    int error = createUnderFreshName(
        guard, [&steps](const std::string& name) { return steps.createTemporary(name); }, temporary);
    if (error == 0) error = steps.close();
    std::optional<std::string> reason;
    const std::string temporaryPath = (fs::path(directory) / temporary).string();
    try {
        if (error == 0) reason = write(temporaryPath);
    } catch (...) {
        discard(steps, guard, temporary);
        throw;
    }
    if (error == 0 && !reason) error = steps.openExisting(temporaryPath);
    if (error == 0 && !reason) {
        if (target.exists) error = steps.setMode(target.mode & 07777);
        if (error == 0) error = steps.sync();
        const int closeError = steps.close();
        if (error == 0) error = closeError;
    }
    if (error == 0 && !reason) error = steps.rename(temporary, fs::path(target.path).filename().string());
    if (error != 0 || reason) {
        discard(steps, guard, temporary);
        return reason ? failure(path, *reason, target.exists) : failure(path, error, target.exists);
    }
    guard.release();
    steps.syncDirectory();
    return std::nullopt;
}

// A reader that goes away in the middle raises SIGPIPE, which would end the program. Holds the
// signal back while writing and takes back one the writing raised; the write reports EPIPE.
class PipeSignalHeld {
  public:
    PipeSignalHeld() {
        sigemptyset(&pipe_);
        sigaddset(&pipe_, SIGPIPE);
        pthread_sigmask(SIG_BLOCK, &pipe_, &previous_);
        wasPending_ = pending();
    }
    ~PipeSignalHeld() {
        int taken = 0;
        if (!wasPending_ && pending()) sigwait(&pipe_, &taken);
        pthread_sigmask(SIG_SETMASK, &previous_, nullptr);
    }
    PipeSignalHeld(const PipeSignalHeld&) = delete;
    PipeSignalHeld& operator=(const PipeSignalHeld&) = delete;

  private:
    static bool pending() {
        sigset_t signals;
        sigpending(&signals);
        return sigismember(&signals, SIGPIPE) == 1;
    }
    sigset_t pipe_{};
    sigset_t previous_{};
    bool wasPending_ = false;
};

// A device, FIFO or socket is no file to rename over or remove: it is written as it stands. It
// holds no earlier content to keep, and what was written before a failure has reached it.
std::optional<std::string> writeInPlace(const std::string& path, const Target& target,
                                        const ByteProducer& produce, FileReplacer& steps) {
    if (const int error = steps.openExisting(target.path)) {
        if (error == ENXIO && S_ISFIFO(target.mode))
            return failure(path, "nothing is reading from it", false);
        return failure(path, error, false);
    }
    int error = 0;
    try {
        PipeSignalHeld held;
        error = produceInto(steps, produce);
    } catch (...) {
        steps.close();
        throw;
    }
    const int closeError = steps.close();
    if (error == 0) error = closeError;
    if (error != 0) return failure(path, error, false);
    return std::nullopt;
}

}  // namespace

FileReplacer::~FileReplacer() {
    if (file_ >= 0) ::close(file_);
    if (directory_ >= 0) ::close(directory_);
}

int FileReplacer::openDirectory(const std::string& path) {
    if (directory_ >= 0) ::close(directory_);
    directory_ = ::open(path.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    return directory_ >= 0 ? 0 : lastError();
}

int FileReplacer::createUnnamed() {
    // The file is named through its entry in /proc/self/fd, which needs no privilege.
    if (::access("/proc/self/fd", X_OK) != 0) return EOPNOTSUPP;
    file_ = ::openat(directory_, ".", O_TMPFILE | O_WRONLY | O_CLOEXEC, 0666);
    return file_ >= 0 ? 0 : lastError();
}

int FileReplacer::createTemporary(const std::string& name) {
    file_ = ::openat(directory_, name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    return file_ >= 0 ? 0 : lastError();
}

int FileReplacer::giveName(const std::string& name) {
    const std::string self = "/proc/self/fd/" + std::to_string(file_);
    return ::linkat(AT_FDCWD, self.c_str(), directory_, name.c_str(), AT_SYMLINK_FOLLOW) == 0 ? 0
                                                                                              : lastError();
}

int FileReplacer::openExisting(const std::string& path) {
    // Without O_NONBLOCK, opening a FIFO that nobody reads would wait for a reader for good.
    file_ = ::open(path.c_str(), O_WRONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (file_ < 0) return lastError();
    const int flags = ::fcntl(file_, F_GETFL);
    if (flags >= 0 && ::fcntl(file_, F_SETFL, flags & ~O_NONBLOCK) == 0) return 0;
    const int error = lastError();
    ::close(file_);
    file_ = -1;
    return error;
}

int FileReplacer::setMode(unsigned mode) {
    return ::fchmod(file_, static_cast<mode_t>(mode)) == 0 ? 0 : lastError();
}

int FileReplacer::write(std::string_view bytes) {
    while (!bytes.empty()) {
        const ssize_t written = ::write(file_, bytes.data(), bytes.size());
        if (written < 0 && errno == EINTR) continue;
        if (written < 0) return lastError();
        if (written == 0) return EIO;
        bytes.remove_prefix(static_cast<std::size_t>(written));
    }
    return 0;
}

int FileReplacer::sync() {
    int result = 0;
    do result = ::fsync(file_);
    while (result != 0 && errno == EINTR);
    return result == 0 ? 0 : lastError();
}

int FileReplacer::close() {
    const int result = ::close(file_);
    file_ = -1;
    return result == 0 ? 0 : lastError();
}

int FileReplacer::rename(const std::string& from, const std::string& to) {
    return ::renameat(directory_, from.c_str(), directory_, to.c_str()) == 0 ? 0 : lastError();
}

int FileReplacer::syncDirectory() { return ::fsync(directory_) == 0 ? 0 : lastError(); }

void FileReplacer::remove(const std::string& name) { ::unlinkat(directory_, name.c_str(), 0); }

std::optional<std::string> replaceFileAtomically(const std::string& path, std::string_view bytes) {
    FileReplacer steps;
    return replaceFileAtomically(path, bytes, steps);
}

std::optional<std::string> replaceFileAtomically(const std::string& path, std::string_view bytes,
                                                 FileReplacer& steps) {
    return replaceFileAtomically(
        path, [bytes](const ByteSink& sink) { return sink(bytes); }, steps);
}

std::optional<std::string> replaceFileAtomically(const std::string& path, const ByteProducer& produce) {
    FileReplacer steps;
    return replaceFileAtomically(path, produce, steps);
}

std::optional<std::string> replaceFileAtomically(const std::string& path, const ByteProducer& produce,
                                                 FileReplacer& steps) {
    Target target;
    if (const int error = findTarget(path, target)) return failure(path, error, false);
    if (!target.exists) return replaceWhole(path, target, produce, steps);
    if (S_ISDIR(target.mode)) return failure(path, EISDIR, false);
    if (!S_ISREG(target.mode)) return writeInPlace(path, target, produce, steps);
    // Like an editor, leave alone a file its owner has made read-only.
    if (::access(target.path.c_str(), W_OK) != 0) return failure(path, lastError(), true);
    return replaceWhole(path, target, produce, steps);
}

std::optional<std::string> replaceFileByName(const std::string& path, const FileWriter& write) {
    FileReplacer steps;
    return replaceFileByName(path, write, steps);
}

std::optional<std::string> replaceFileByName(const std::string& path, const FileWriter& write,
                                             FileReplacer& steps) {
    Target target;
    if (const int error = findTarget(path, target)) return failure(path, error, false);
    if (target.exists && S_ISDIR(target.mode)) return failure(path, EISDIR, false);
    if (target.exists && !S_ISREG(target.mode)) {
        return failure(path,
                       "it is a device, FIFO or socket, and this file can only be written as a regular one",
                       false);
    }
    if (target.exists && ::access(target.path.c_str(), W_OK) != 0) return failure(path, lastError(), true);
    return replaceWholeByName(path, target, write, steps);
}

}  // namespace vorta

#include "core/file_replace.h"

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

namespace vorta {

namespace {

namespace fs = std::filesystem;

// As many links as Linux itself follows in one path.
constexpr int kMaxLinkHops = 40;

std::string failure(const std::string& path, const std::string& reason) {
    const std::string name = fs::path(path).filename().string();
    return "Could not save " + name + ": " + reason + ". An earlier " + name + " is left as it was.";
}

std::string failure(const std::string& path, int error) {
    return failure(path, error != 0 ? std::string(std::strerror(error)) : std::string("unknown error"));
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

// Creates a new, empty file beside path under a name no other file has.
int createTemporary(FileReplacer& steps, const std::string& path, std::string& temporaryPath) {
    std::random_device seed;
    std::mt19937_64 random(seed());
    int error = EEXIST;
    for (int attempt = 0; attempt < 20 && error == EEXIST; ++attempt) {
        temporaryPath = path + ".tmp" + std::to_string(random() % 1000000000);
        error = steps.createTemporary(temporaryPath);
    }
    return error;
}

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

int writeTemporary(FileReplacer& steps, const Target& target, const ByteProducer& produce) {
    int error = target.exists ? steps.setMode(target.mode & 07777) : 0;
    if (error == 0) error = produceInto(steps, produce);
    if (error == 0) error = steps.sync();
    const int closeError = steps.close();
    return error != 0 ? error : closeError;
}

std::optional<std::string> replaceWhole(const std::string& path, const Target& target, const ByteProducer& produce,
                                        FileReplacer& steps) {
    std::string temporaryPath;
    if (const int error = createTemporary(steps, target.path, temporaryPath)) return failure(path, error);
    int error = 0;
    try {
        error = writeTemporary(steps, target, produce);
    } catch (...) {
        steps.close();
        steps.remove(temporaryPath);
        throw;
    }
    if (error == 0) error = steps.rename(temporaryPath, target.path);
    if (error != 0) {
        steps.remove(temporaryPath);
        return failure(path, error);
    }
    // The new file is in place and whole once renamed; a directory that cannot be synced only
    // makes the rename less sure to outlast a power loss, which does not make the save a failure.
    steps.syncDirectory(directoryOf(target.path));
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

// A device, FIFO or socket is no file to rename over or remove: it is written as it stands.
std::optional<std::string> writeInPlace(const std::string& path, const Target& target, const ByteProducer& produce,
                                        FileReplacer& steps) {
    if (const int error = steps.openExisting(target.path)) {
        if (error == ENXIO && S_ISFIFO(target.mode)) return failure(path, "nothing is reading from it");
        return failure(path, error);
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
    if (error != 0) return failure(path, error);
    return std::nullopt;
}

}  // namespace

FileReplacer::~FileReplacer() {
    if (file_ >= 0) ::close(file_);
}

int FileReplacer::createTemporary(const std::string& path) {
    file_ = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    return file_ >= 0 ? 0 : lastError();
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
    return std::rename(from.c_str(), to.c_str()) == 0 ? 0 : lastError();
}

int FileReplacer::syncDirectory(const std::string& path) {
    const int directory = ::open(path.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (directory < 0) return lastError();
    const int error = ::fsync(directory) == 0 ? 0 : lastError();
    ::close(directory);
    return error;
}

void FileReplacer::remove(const std::string& path) { ::unlink(path.c_str()); }

std::optional<std::string> replaceFileAtomically(const std::string& path, std::string_view bytes) {
    FileReplacer steps;
    return replaceFileAtomically(path, bytes, steps);
}

std::optional<std::string> replaceFileAtomically(const std::string& path, std::string_view bytes,
                                                 FileReplacer& steps) {
    return replaceFileAtomically(path, [bytes](const ByteSink& sink) { return sink(bytes); }, steps);
}

std::optional<std::string> replaceFileAtomically(const std::string& path, const ByteProducer& produce) {
    FileReplacer steps;
    return replaceFileAtomically(path, produce, steps);
}

std::optional<std::string> replaceFileAtomically(const std::string& path, const ByteProducer& produce,
                                                 FileReplacer& steps) {
    Target target;
    if (const int error = findTarget(path, target)) return failure(path, error);
    if (!target.exists) return replaceWhole(path, target, produce, steps);
    if (S_ISDIR(target.mode)) return failure(path, EISDIR);
    if (!S_ISREG(target.mode)) return writeInPlace(path, target, produce, steps);
    // Like an editor, leave alone a file its owner has made read-only.
    if (::access(target.path.c_str(), W_OK) != 0) return failure(path, lastError());
    return replaceWhole(path, target, produce, steps);
}

}  // namespace vorta

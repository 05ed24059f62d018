#include "core/file_replace.h"

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <random>
#include <system_error>

namespace vorta {

namespace {

namespace fs = std::filesystem;

std::string failure(const std::string& path, int error) {
    const std::string name = fs::path(path).filename().string();
    const std::string reason = error != 0 ? std::strerror(error) : "unknown error";
    return "Could not save " + name + ": " + reason + ". An earlier " + name + " is left as it was.";
}

int lastError() { return errno != 0 ? errno : EIO; }

// Creates a new, empty file beside path under a name no other file has.
int createTemporary(FileReplacer& steps, const std::string& path, std::string& temporaryPath) {
    std::random_device seed;
    std::mt19937_64 random(seed());
    int error = EEXIST;
    for (int attempt = 0; attempt < 20 && error == EEXIST; ++attempt) {
        temporaryPath = path + ".tmp" + std::to_string(random() % 1000000000);
        error = steps.createNew(temporaryPath);
    }
    return error;
}

int writeAndClose(FileReplacer& steps, std::string_view bytes) {
    int error = steps.write(bytes);
    if (error == 0) error = steps.flush();
    const int closeError = steps.close();
    return error != 0 ? error : closeError;
}

}  // namespace

FileReplacer::~FileReplacer() {
    if (file_ != nullptr) std::fclose(file_);
}

int FileReplacer::createNew(const std::string& path) {
    errno = 0;
    file_ = std::fopen(path.c_str(), "wbx");  // x: fails when the name exists
    return file_ != nullptr ? 0 : lastError();
}

int FileReplacer::write(std::string_view bytes) {
    errno = 0;
    return std::fwrite(bytes.data(), 1, bytes.size(), file_) == bytes.size() ? 0 : lastError();
}

int FileReplacer::flush() {
    errno = 0;
    return std::fflush(file_) == 0 ? 0 : lastError();
}

int FileReplacer::close() {
    errno = 0;
    const int result = std::fclose(file_);
    file_ = nullptr;
    return result == 0 ? 0 : lastError();
}

int FileReplacer::rename(const std::string& from, const std::string& to) {
    std::error_code error;
    fs::rename(from, to, error);
    return error.value();
}

void FileReplacer::remove(const std::string& path) { std::remove(path.c_str()); }

std::optional<std::string> replaceFileAtomically(const std::string& path, std::string_view bytes) {
    FileReplacer steps;
    return replaceFileAtomically(path, bytes, steps);
}

std::optional<std::string> replaceFileAtomically(const std::string& path, std::string_view bytes,
                                                 FileReplacer& steps) {
    std::string temporaryPath;
    if (const int error = createTemporary(steps, path, temporaryPath)) return failure(path, error);
    int error = writeAndClose(steps, bytes);
    if (error == 0) error = steps.rename(temporaryPath, path);
    if (error != 0) {
        steps.remove(temporaryPath);
        return failure(path, error);
    }
    return std::nullopt;
}

}  // namespace vorta

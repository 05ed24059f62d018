#include "core/file_replace.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <random>
#include <system_error>

namespace vorta {

namespace {

namespace fs = std::filesystem;

std::string failure(const std::string& path, const std::string& reason) {
    const std::string name = fs::path(path).filename().string();
    return "Could not save " + name + ": " + reason + ". An earlier " + name + " is left as it was.";
}

std::string errnoText(int error) { return error != 0 ? std::strerror(error) : "unknown error"; }

// Creates a new, empty file beside path that no other file has the name of.
std::FILE* createTemporary(const std::string& path, std::string& temporaryPath, int& error) {
    std::random_device seed;
    std::mt19937_64 random(seed());
    for (int attempt = 0; attempt < 20; ++attempt) {
        temporaryPath = path + ".tmp" + std::to_string(random() % 1000000000);
        errno = 0;
        std::FILE* file = std::fopen(temporaryPath.c_str(), "wbx");  // x: fails if the name exists
        error = errno;
        if (file != nullptr || error != EEXIST) return file;
    }
    return nullptr;
}

}  // namespace

std::optional<std::string> replaceFileAtomically(const std::string& path, std::string_view bytes) {
    std::string temporaryPath;
    int error = 0;
    std::FILE* file = createTemporary(path, temporaryPath, error);
    if (file == nullptr) return failure(path, errnoText(error));

    errno = 0;
    const bool written = std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size() && std::fflush(file) == 0;
    error = errno;
    const bool closed = std::fclose(file) == 0;
    if (!closed && error == 0) error = errno;
    if (!written || !closed) {
        std::remove(temporaryPath.c_str());
        return failure(path, errnoText(error));
    }

    std::error_code renameError;
    fs::rename(temporaryPath, path, renameError);
    if (renameError) {
        std::remove(temporaryPath.c_str());
        return failure(path, renameError.message());
    }
    return std::nullopt;
}

}  // namespace vorta

#include "tools/task_input.h"

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <iostream>

namespace vorta::run {

std::variant<TableInput, std::string> openTableInput(const std::string& path) {
    if (path == "-") return TableInput{"standard input", nullptr, &std::cin};
    std::error_code error;
    const std::filesystem::file_status status = std::filesystem::status(path, error);
    if (status.type() == std::filesystem::file_type::not_found) return std::string("it does not exist.");
    if (status.type() == std::filesystem::file_type::directory) return std::string("it is a directory.");
    auto file = std::make_unique<std::ifstream>(path, std::ios::binary);
    if (!file->is_open()) return "it cannot be opened (" + std::string(std::strerror(errno)) + ").";
    std::istream* stream = file.get();
    return TableInput{path, std::move(file), stream};
}

}  // namespace vorta::run

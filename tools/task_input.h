#pragma once
// Where a task reads a table from: a file, or standard input for "-". Pipes are read like files.

#include <fstream>
#include <istream>
#include <memory>
#include <string>
#include <variant>

namespace vorta::run {

struct TableInput {
    std::string name;  // as messages name it: the file, or "standard input"
    std::unique_ptr<std::ifstream> file;
    std::istream* stream = nullptr;
};

// The open table, or why it cannot be read: "it does not exist.", "it is a directory.",
// "it cannot be opened (REASON)."
std::variant<TableInput, std::string> openTableInput(const std::string& path);

}  // namespace vorta::run

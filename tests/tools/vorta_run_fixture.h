#pragma once
// Runs the vorta-run program as a user would, in a directory of its own with a small catalog.

#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include "support/temp_dir.h"

inline const char* kCatalog =
    "1\r\n0\r\n"
    "0.1,0.1,0.3,18,0.1,0.1,1.9\r\n"
    "0.1, 0.05, 0.3, 0, 0.1, 0.05, 2\r\n";

struct Outcome {
    int status;
    std::string out, err;
};

// Runs the tool in dir with the given arguments and environment prefix, and the output of a
// command, if one is given, as its standard input.
inline Outcome runVortaRun(const TempDir& dir, const std::string& arguments,
                           const std::string& environment = "LANG=C", const std::string& input = "") {
    const std::string command = "cd '" + dir.path().string() + "' && " +
                                (input.empty() ? "" : input + " | ") + "env -u LC_ALL -u LC_NUMERIC " +
                                environment + " '" VORTA_RUN_PATH "' " + arguments +
                                " >stdout.txt 2>stderr.txt";
    const int status = std::system(command.c_str());
    Outcome r{WIFEXITED(status) ? WEXITSTATUS(status) : -1, readFile(dir.file("stdout.txt")),
              readFile(dir.file("stderr.txt"))};
    std::filesystem::remove(dir.file("stdout.txt"));
    std::filesystem::remove(dir.file("stderr.txt"));
    return r;
}

class VortaRun : public testing::Test {
  protected:
    VortaRun() { writeFile(dir_.file("VORTA_Input.txt"), kCatalog); }

    Outcome run(const std::string& arguments, const std::string& environment = "LANG=C",
                const std::string& input = "") const {
        return runVortaRun(dir_, arguments, environment, input);
    }
    bool resultExists() const { return std::filesystem::exists(dir_.file("VORTA_result.txt")); }

    TempDir dir_;
};

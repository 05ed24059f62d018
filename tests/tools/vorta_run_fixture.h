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

class VortaRun : public testing::Test {
  protected:
    VortaRun() { writeFile(dir_.file("VORTA_Input.txt"), kCatalog); }

    // Runs the tool in the test's directory with the given arguments and environment prefix,
    // and the output of a command, if one is given, as its standard input.
    Outcome run(const std::string& arguments, const std::string& environment = "LANG=C",
                const std::string& input = "") const {
        const std::string command = "cd '" + dir_.path().string() + "' && " +
                                    (input.empty() ? "" : input + " | ") + "env -u LC_ALL -u LC_NUMERIC " +
                                    environment + " '" VORTA_RUN_PATH "' " + arguments +
                                    " >stdout.txt 2>stderr.txt";
        const int status = std::system(command.c_str());
        Outcome r{WIFEXITED(status) ? WEXITSTATUS(status) : -1, readFile(dir_.file("stdout.txt")),
                  readFile(dir_.file("stderr.txt"))};
        std::filesystem::remove(dir_.file("stdout.txt"));
        std::filesystem::remove(dir_.file("stderr.txt"));
        return r;
    }
    bool resultExists() const { return std::filesystem::exists(dir_.file("VORTA_result.txt")); }

    TempDir dir_;
};

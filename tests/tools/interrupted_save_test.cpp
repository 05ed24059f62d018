// Ends the real vorta-run by a signal while it writes a 10^6-point result file over an earlier
// one: the directory then holds the earlier file, unchanged, and nothing else.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "support/temp_dir.h"

namespace {

namespace fs = std::filesystem;

const char* kCatalog =
    "1\r\n0\r\n"
    "0.1,0.1,0.3,18,0.1,0.1,1.9\r\n";
const char* kEarlier = "earlier result\r\n";
constexpr int kEndingSignals[] = {SIGHUP, SIGINT, SIGQUIT, SIGTERM};

// Starts vorta-run writing a large file, with the signals as a terminal would leave them: default
// and unblocked (a shell starts a command in the background with SIGINT and SIGQUIT ignored).
pid_t startWriting(const std::string& catalog, const std::string& output) {
    const pid_t pid = ::fork();
    if (pid != 0) return pid;
    sigset_t ending;
    sigemptyset(&ending);
    for (int signal : kEndingSignals) {
        ::signal(signal, SIG_DFL);
        sigaddset(&ending, signal);
    }
    ::sigprocmask(SIG_UNBLOCK, &ending, nullptr);
    const int nowhere = ::open("/dev/null", O_WRONLY);
    ::dup2(nowhere, STDOUT_FILENO);
    ::dup2(nowhere, STDERR_FILENO);
    ::execl(VORTA_RUN_PATH, "vorta-run", "--input", catalog.c_str(), "--entry", "1", "--points", "1000000",
            "--layout", "4", "--output", output.c_str(), static_cast<char*>(nullptr));
    ::_exit(127);
}

// Whether the process has a file in directory open and has written to it.
bool writingInto(pid_t pid, const fs::path& directory) {
    std::error_code error;
    const fs::path descriptors = "/proc/" + std::to_string(pid) + "/fd";
    for (fs::directory_iterator it(descriptors, error), end; !error && it != end; it.increment(error)) {
        std::error_code unreadable;
        const fs::path file = fs::read_symlink(it->path(), unreadable);
        struct stat info {};
        if (!unreadable && file.parent_path() == directory && ::stat(it->path().c_str(), &info) == 0 &&
            info.st_size > 0) {
            return true;
        }
    }
    return false;
}

// Waits until the process writes into directory and stops it there. False when it ended first;
// it is then reaped.
bool stoppedWhileWriting(pid_t pid, const fs::path& directory) {
    int status = 0;
    while (!writingInto(pid, directory)) {
        if (::waitpid(pid, &status, WNOHANG) == pid) return false;
        ::usleep(100);
    }
    ::kill(pid, SIGSTOP);
    ::waitpid(pid, &status, WUNTRACED);
    if (!WIFSTOPPED(status)) return false;
    if (writingInto(pid, directory)) return true;
    ::kill(pid, SIGCONT);
    ::waitpid(pid, &status, 0);
    return false;
}

std::vector<std::string> entriesOf(const fs::path& directory) {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(directory))
        names.push_back(entry.path().filename().string());
    return names;
}

TEST(InterruptedSave, LeavesTheEarlierFileAndNothingElse) {
    TempDir inputs, outputs;
    const std::string catalog = inputs.file("VORTA_Input.txt");
    writeFile(catalog, kCatalog);
    const fs::path directory = fs::canonical(outputs.path());
    const std::string output = (directory / "big.txt").string();
    for (int signal : {SIGTERM, SIGINT, SIGHUP, SIGKILL}) {
        SCOPED_TRACE(strsignal(signal));
        // The program may finish before it is stopped on a busy machine; it is then run again.
        bool stopped = false;
        pid_t pid = -1;
        for (int attempt = 0; attempt < 5 && !stopped; ++attempt) {
            writeFile(output, kEarlier);
            pid = startWriting(catalog, output);
            ASSERT_GT(pid, 0);
            stopped = stoppedWhileWriting(pid, directory);
        }
        ASSERT_TRUE(stopped) << "vorta-run finished every time before it could be stopped";
        ::kill(pid, signal);
        ::kill(pid, SIGCONT);
        int status = 0;
        ::waitpid(pid, &status, 0);
        EXPECT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == signal) << "status " << status;
        EXPECT_EQ(entriesOf(directory), std::vector<std::string>{"big.txt"});
        EXPECT_EQ(readFile(output), kEarlier);
    }
}

}  // namespace

// A save ended by a signal leaves the earlier file and nothing else; the program's own signal
// dispositions are left as they were, during a save and after it.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/resource.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <iterator>
#include <string>
#include <vector>

#include "core/output/file_replace.h"
#include "support/failing_replacer.h"
#include "support/temp_dir.h"

using namespace vorta;

namespace {

constexpr int kEndingSignals[] = {SIGHUP, SIGINT, SIGQUIT, SIGTERM};

// A moment of the save: as the occurrence-th time the step begins, or just after its work.
struct Moment {
    Step step;
    int occurrence;
    bool afterItsWork = false;
};

// The moments of each way of making the temporary file, from the naming of the file to its
// rename. Just after the name is made, the signal must still find it.
struct Way {
    const char* name;
    int unnamedRefusal;
    std::vector<Moment> moments;
};

const std::vector<Way> kWays{
    {"unnamed",
     0,
     {{Step::Write, 2},
      {Step::Sync, 1},
      {Step::GiveName, 1},
      {Step::GiveName, 1, true},
      {Step::Close, 1},
      {Step::Rename, 1}}},
    {"named",
     EOPNOTSUPP,
     {{Step::CreateTemporary, 1},
      {Step::CreateTemporary, 1, true},
      {Step::Write, 2},
      {Step::Sync, 1},
      {Step::Close, 1},
      {Step::Rename, 1}}},
};

// Raises signal at the moment given, as if a user or the system sent it then.
void raiseAt(FailingReplacer& steps, Moment moment, int signal) {
    auto at = [moment, signal, seen = 0](Step step) mutable {
        if (step == moment.step && ++seen == moment.occurrence) ::raise(signal);
    };
    (moment.afterItsWork ? steps.afterStep : steps.onStep) = at;
}

// The child's part: a save the signal raised at the moment ends, without a core dump for SIGQUIT.
// The signals start with their default dispositions, unblocked, whatever the test was started with (a
// shell starts a command in the background with SIGINT and SIGQUIT ignored).
void saveUntilTheSignal(const std::string& path, const Way& way, Moment moment, int signal) {
    rlimit noCore{};
    ::setrlimit(RLIMIT_CORE, &noCore);
    sigset_t ending;
    sigemptyset(&ending);
    for (int each : kEndingSignals) {
        ::signal(each, SIG_DFL);
        sigaddset(&ending, each);
    }
    ::sigprocmask(SIG_UNBLOCK, &ending, nullptr);
    FailingReplacer steps(std::nullopt, way.unnamedRefusal);
    raiseAt(steps, moment, signal);
    replaceFileAtomically(path, producing({"one", "two", "three"}), steps);
    std::_Exit(0);
}

void saveEndedBy(const std::string& path, const Way& way, Moment moment, int signal) {
    EXPECT_EXIT(saveUntilTheSignal(path, way, moment, signal), testing::KilledBySignal(signal), "");
}

TEST(ReplaceFileAtomicallyEndedBySignal, LeavesTheEarlierFileAndNothingElse) {
    for (const Way& way : kWays) {
        for (const Moment& moment : way.moments) {
            for (int signal : kEndingSignals) {
                SCOPED_TRACE(std::string(way.name) + " " + name(moment.step) +
                             (moment.afterItsWork ? " done " : " ") + strsignal(signal));
                TempDir dir;
                const std::string path = dir.file("VORTA_result.txt");
                writeFile(path, "earlier\r\n");
                saveEndedBy(path, way, moment, signal);
                EXPECT_EQ(dir.entryCount(), 1u);
                EXPECT_EQ(readFile(path), "earlier\r\n");
            }
        }
    }
}

bool unnamedFilesCanBeMade(const TempDir& dir) {
    FailingReplacer steps;
    replaceFileAtomically(dir.file("probe.txt"), "probe", steps);
    std::filesystem::remove(dir.file("probe.txt"));
    return std::count(steps.steps.begin(), steps.steps.end(), Step::CreateTemporary) == 0;
}

// Nothing can handle SIGKILL; a file without a name simply goes with the process.
TEST(ReplaceFileAtomicallyEndedBySignal, AnUnnamedFileGoesEvenWithSigkill) {
    TempDir dir;
    if (!unnamedFilesCanBeMade(dir))
        GTEST_SKIP() << "the temporary directory cannot hold files without a name";
    const std::string path = dir.file("VORTA_result.txt");
    writeFile(path, "earlier\r\n");
    for (const Moment& moment : kWays[0].moments) {
        if (moment.step == Step::GiveName || moment.step == Step::Close || moment.step == Step::Rename)
            continue;
        SCOPED_TRACE(name(moment.step));
        saveEndedBy(path, kWays[0], moment, SIGKILL);
        EXPECT_EQ(dir.entryCount(), 1u);
        EXPECT_EQ(readFile(path), "earlier\r\n");
    }
}

// --- The program's own dispositions ------------------------------------------------------------

volatile sig_atomic_t handled = 0;
void countSignal(int) { handled = handled + 1; }

// Puts SIGHUP to be ignored and SIGINT to be handled by the program, as a program may, and
// every disposition back as it was at the end.
class ProgramDispositions : public testing::Test {
  protected:
    ProgramDispositions() {
        for (std::size_t i = 0; i < std::size(kEndingSignals); ++i)
            ::sigaction(kEndingSignals[i], nullptr, &saved_[i]);
        ::signal(SIGHUP, SIG_IGN);
        ::signal(SIGINT, countSignal);
        ::signal(SIGQUIT, SIG_DFL);
        ::signal(SIGTERM, SIG_DFL);
        handled = 0;
    }
    ~ProgramDispositions() override {
        for (std::size_t i = 0; i < std::size(kEndingSignals); ++i)
            ::sigaction(kEndingSignals[i], &saved_[i], nullptr);
    }

    static std::vector<sighandler_t> dispositions() {
        std::vector<sighandler_t> handlers;
        for (int signal : kEndingSignals) {
            struct sigaction now {};
            ::sigaction(signal, nullptr, &now);
            handlers.push_back(now.sa_handler);
        }
        return handlers;
    }

  private:
    struct sigaction saved_[std::size(kEndingSignals)]{};
};

TEST_F(ProgramDispositions, OnlyDefaultOnesAreTakenAndOnlyWhileASaveRuns) {
    for (const Way& way : kWays) {
        SCOPED_TRACE(way.name);
        TempDir dir;
        FailingReplacer steps(std::nullopt, way.unnamedRefusal);
        std::vector<sighandler_t> during;
        steps.onStep = [&during](Step step) {
            if (step == Step::Write) during = dispositions();
        };
        const std::vector<sighandler_t> before = dispositions();
        ASSERT_FALSE(replaceFileAtomically(dir.file("VORTA_result.txt"), "new", steps));
        EXPECT_EQ(dispositions(), before);
        ASSERT_EQ(during.size(), 4u);
        EXPECT_EQ(during[0], SIG_IGN);
        EXPECT_EQ(during[1], &countSignal);
        EXPECT_NE(during[2], SIG_DFL);
        EXPECT_NE(during[3], SIG_DFL);
    }
}

TEST_F(ProgramDispositions, AnIgnoredOrHandledSignalLetsTheSaveFinish) {
    for (const Way& way : kWays) {
        for (int signal : {SIGHUP, SIGINT}) {
            SCOPED_TRACE(std::string(way.name) + " " + strsignal(signal));
            TempDir dir;
            const std::string path = dir.file("VORTA_result.txt");
            writeFile(path, "earlier");
            FailingReplacer steps(std::nullopt, way.unnamedRefusal);
            raiseAt(steps, {Step::Write, 2}, signal);
            handled = 0;
            EXPECT_FALSE(replaceFileAtomically(path, producing({"one", "two", "three"}), steps));
            EXPECT_EQ(handled, signal == SIGINT ? 1 : 0);
            EXPECT_EQ(readFile(path), "onetwothree");
            EXPECT_EQ(dir.entryCount(), 1u);
        }
    }
}

}  // namespace

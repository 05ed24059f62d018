#include "core/output/temporary_name_guard.h"

#include <fcntl.h>
#include <pthread.h>
#include <signal.h>
#include <unistd.h>

#include <array>
#include <atomic>
#include <cerrno>
#include <cstddef>
#include <cstring>

namespace vorta {

namespace {

// The signals that end a program by default and that a user or the system sends to stop it.
constexpr std::array<int, 4> kEndingSignals{SIGHUP, SIGINT, SIGQUIT, SIGTERM};
constexpr std::size_t kLongestName = 63;

static_assert(std::atomic<int>::is_always_lock_free && std::atomic<bool>::is_always_lock_free,
              "the signal handler reads these atomics");

// What the signal handler reads: plain data and lock-free atomics, written before it is armed.
struct Watch {
    std::atomic<int> directory{-1};
    char name[kLongestName + 1] = {};
    std::atomic<bool> armed{false};
    std::array<struct sigaction, kEndingSignals.size()> previous{};
    std::array<bool, kEndingSignals.size()> taken{};
};

Watch watch;
std::mutex watchInUse;

// Async-signal-safe: unlinkat, sigaction and raise only. The signal is blocked while this runs,
// so the one raised again arrives on return, under the disposition put back.
void removeNameAndEnd(int signal) {
    if (watch.armed.load()) ::unlinkat(watch.directory.load(), watch.name, 0);
    for (std::size_t i = 0; i < kEndingSignals.size(); ++i) {
        if (kEndingSignals[i] == signal) ::sigaction(signal, &watch.previous[i], nullptr);
    }
    ::raise(signal);
}

bool isDefault(const struct sigaction& action) {
    return (action.sa_flags & SA_SIGINFO) == 0 && action.sa_handler == SIG_DFL;
}

sigset_t endingSignals() {
    sigset_t signals;
    sigemptyset(&signals);
    for (int signal : kEndingSignals) sigaddset(&signals, signal);
    return signals;
}

}  // namespace

TemporaryNameGuard::TemporaryNameGuard(int directory) : lock_(watchInUse) {
    watch.armed = false;
    watch.directory = directory;
    struct sigaction removing {};
    removing.sa_handler = removeNameAndEnd;
    removing.sa_mask = endingSignals();
    for (std::size_t i = 0; i < kEndingSignals.size(); ++i) {
        struct sigaction& previous = watch.previous[i];
        watch.taken[i] = ::sigaction(kEndingSignals[i], nullptr, &previous) == 0 && isDefault(previous) &&
                         ::sigaction(kEndingSignals[i], &removing, nullptr) == 0;
    }
}

TemporaryNameGuard::~TemporaryNameGuard() {
    release();
    for (std::size_t i = 0; i < kEndingSignals.size(); ++i) {
        if (watch.taken[i]) ::sigaction(kEndingSignals[i], &watch.previous[i], nullptr);
    }
}

int TemporaryNameGuard::create(const std::string& name, const std::function<int()>& make) {
    if (name.size() > kLongestName) return ENAMETOOLONG;
    const sigset_t ending = endingSignals();
    sigset_t previous;
    pthread_sigmask(SIG_BLOCK, &ending, &previous);
    const int error = make();
    if (error == 0) {
        std::memcpy(watch.name, name.c_str(), name.size() + 1);
        watch.armed = true;
    }
    pthread_sigmask(SIG_SETMASK, &previous, nullptr);
    return error;
}

void TemporaryNameGuard::release() { watch.armed = false; }

}  // namespace vorta

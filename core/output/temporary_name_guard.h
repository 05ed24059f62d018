#pragma once
// While a save has a temporary file under a name of its own, a signal that would end the program
// removes that name first and then ends the program as the signal would have, so that an
// interrupted save leaves nothing behind. Standard C++ and POSIX calls only.

#include <functional>
#include <mutex>
#include <string>

namespace vorta {

class TemporaryNameGuard {
  public:
    // Takes over, until destroyed, each of SIGHUP, SIGINT, SIGQUIT and SIGTERM whose disposition
    // is the default one; a signal the program ignores or handles itself is left to it. The
    // names are in directory, an open directory. One guard at a time: a second waits for the first.
    explicit TemporaryNameGuard(int directory);
    ~TemporaryNameGuard();
    TemporaryNameGuard(const TemporaryNameGuard&) = delete;
    TemporaryNameGuard& operator=(const TemporaryNameGuard&) = delete;

    // Runs make, which creates a file of that name in the directory and returns 0 or an errno
    // value; once it has, a signal removes the name. The signals wait in this thread meanwhile,
    // so that none comes between the two.
    int create(const std::string& name, const std::function<int()>& make);
    // The name is renamed or removed: a signal leaves it alone from now on.
    void release();

  private:
    std::unique_lock<std::mutex> lock_;
};

}  // namespace vorta

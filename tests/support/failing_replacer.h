#pragma once
// A FileReplacer that does the real work and notes each step; the one step chosen fails as a
// full disk would, and a test can step in as each step begins.

#include <cerrno>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "core/output/file_replace.h"

enum class Step {
    OpenDirectory,
    CreateUnnamed,
    CreateTemporary,
    GiveName,
    OpenExisting,
    SetMode,
    Write,
    Sync,
    Close,
    Rename,
    SyncDirectory
};

inline const char* name(Step step) {
    switch (step) {
        case Step::OpenDirectory:
            return "openDirectory";
        case Step::CreateUnnamed:
            return "createUnnamed";
        case Step::CreateTemporary:
            return "createTemporary";
        case Step::GiveName:
            return "giveName";
        case Step::OpenExisting:
            return "openExisting";
        case Step::SetMode:
            return "setMode";
        case Step::Write:
            return "write";
        case Step::Sync:
            return "sync";
        case Step::Close:
            return "close";
        case Step::Rename:
            return "rename";
        case Step::SyncDirectory:
            return "syncDirectory";
    }
    return "?";
}

class FailingReplacer : public vorta::FileReplacer {
  public:
    // unnamedRefusal, when not 0, is what creating a file without a name replies, as a file
    // system that cannot would.
    explicit FailingReplacer(std::optional<Step> failing = std::nullopt, int unnamedRefusal = 0)
        : failing_(failing), unnamedRefusal_(unnamedRefusal) {}

    int openDirectory(const std::string& path) override {
        directoryOpened = path;
        return run(Step::OpenDirectory, [&] { return FileReplacer::openDirectory(path); });
    }
    int createUnnamed() override {
        return run(Step::CreateUnnamed,
                   [&] { return unnamedRefusal_ != 0 ? unnamedRefusal_ : FileReplacer::createUnnamed(); });
    }
    int createTemporary(const std::string& name) override {
        return run(Step::CreateTemporary, [&] { return FileReplacer::createTemporary(name); });
    }
    int giveName(const std::string& name) override {
        return run(Step::GiveName, [&] { return FileReplacer::giveName(name); });
    }
    int openExisting(const std::string& path) override {
        return run(Step::OpenExisting, [&] { return FileReplacer::openExisting(path); });
    }
    int setMode(unsigned mode) override {
        return run(Step::SetMode, [&] { return FileReplacer::setMode(mode); });
    }
    int write(std::string_view bytes) override {
        return run(Step::Write, [&] { return FileReplacer::write(bytes); });
    }
    int sync() override {
        return run(Step::Sync, [&] { return FileReplacer::sync(); });
    }
    int close() override {
        return run(Step::Close, [&] { return FileReplacer::close(); });
    }
    int rename(const std::string& from, const std::string& to) override {
        renamedTo = to;
        return run(Step::Rename, [&] { return FileReplacer::rename(from, to); });
    }
    int syncDirectory() override {
        return run(Step::SyncDirectory, [&] { return FileReplacer::syncDirectory(); });
    }

    // Called as each step begins, and once its work is done or skipped.
    std::function<void(Step)> onStep;
    std::function<void(Step)> afterStep;
    std::vector<Step> steps;
    std::string directoryOpened;
    std::string renamedTo;

  private:
    // A step that makes or opens something, or renames, fails without doing it; one that writes,
    // syncs or closes does its work and then reports the failure.
    static bool failsBeforeItsWork(Step step) {
        return step == Step::OpenDirectory || step == Step::CreateUnnamed || step == Step::CreateTemporary ||
               step == Step::GiveName || step == Step::OpenExisting || step == Step::Rename;
    }
    int run(Step step, const std::function<int()>& work) {
        steps.push_back(step);
        if (onStep) onStep(step);
        const bool failing = step == failing_;
        const int result = failing && failsBeforeItsWork(step) ? 0 : work();
        if (afterStep) afterStep(step);
        return failing ? ENOSPC : result;
    }

    std::optional<Step> failing_;
    int unnamedRefusal_;
};

// Hands the sink the pieces in turn and returns what the last hand-over returned.
inline vorta::ByteProducer producing(std::vector<std::string> pieces) {
    return [pieces](const vorta::ByteSink& sink) {
        int error = 0;
        for (const std::string& piece : pieces) error = sink(piece);
        return error;
    };
}

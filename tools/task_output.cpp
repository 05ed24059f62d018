#include "tools/task_output.h"

#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <iostream>
#include <streambuf>

#include "tools/tasks.h"

namespace vorta::run {

namespace {

// Standard output through a buffer of our own, so that a failed write keeps its reason (a full
// disk, a closed pipe) for the message the program ends with, whichever task wrote it.
class StandardOutputBuffer : public std::streambuf {
  public:
    StandardOutputBuffer() { setp(buffer_, buffer_ + sizeof buffer_); }
    int error() const { return error_; }

  protected:
    int_type overflow(int_type c) override {
        if (sync() != 0) return traits_type::eof();
        if (c != traits_type::eof()) {
            *pptr() = traits_type::to_char_type(c);
            pbump(1);
        }
        return traits_type::not_eof(c);
    }

    // Writes out what is buffered; after a failure, drops everything.
    int sync() override {
        const char* next = pbase();
        while (error_ == 0 && next < pptr()) {
            const ssize_t written = ::write(STDOUT_FILENO, next, static_cast<std::size_t>(pptr() - next));
            if (written < 0 && errno == EINTR) continue;
            if (written <= 0)
                error_ = written < 0 ? errno : EIO;
            else
                next += written;
        }
        setp(buffer_, buffer_ + sizeof buffer_);
        return error_ == 0 ? 0 : -1;
    }

  private:
    char buffer_[1 << 16];
    int error_ = 0;
};

// Never destroyed: std::cout is flushed at exit, after the end of static objects.
StandardOutputBuffer& standardOutput() {
    static auto* buffer = new StandardOutputBuffer;
    return *buffer;
}

bool flushStandardOutput() { return standardOutput().pubsync() == 0 && std::cout.good(); }

}  // namespace

void takeOverStandardOutput() { std::cout.rdbuf(&standardOutput()); }

int writeOutput(const std::string& output, const ByteProducer& produce) {
    if (output == "-") {
        const ByteSink toStandardOutput = [](std::string_view bytes) {
            std::cout.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
            return standardOutput().error();
        };
        const int error = produce(toStandardOutput);
        return error == 0 && flushStandardOutput() ? kSuccess : kRefused;
    }
    if (auto error = replaceFileAtomically(output, produce)) return refuse(*error);
    return kSuccess;
}

int refuse(const std::string& message) {
    std::cerr << message << '\n';
    return kRefused;
}

bool standardOutputArrived() {
    if (flushStandardOutput()) return true;
    const int error = standardOutput().error();
    std::cerr << "Could not write to standard output: " << std::strerror(error != 0 ? error : EIO) << ".\n";
    return false;
}

}  // namespace vorta::run

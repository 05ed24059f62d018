#include "tools/task_output.h"

#include <cerrno>
#include <cstring>
#include <iostream>

#include "tools/tasks.h"

namespace vorta::run {

namespace {

// Why standard output failed, as the failing write said; it is reported as the program ends.
int standardOutputError = 0;

bool flushStandardOutput() {
    errno = 0;
    if (std::cout.flush()) return true;
    if (standardOutputError == 0) standardOutputError = errno != 0 ? errno : EIO;
    return false;
}

}  // namespace

int writeOutput(const std::string& output, const ByteProducer& produce) {
    if (output == "-") {
        const ByteSink toStandardOutput = [](std::string_view bytes) {
            errno = 0;
            if (std::cout.write(bytes.data(), static_cast<std::streamsize>(bytes.size()))) return 0;
            standardOutputError = errno != 0 ? errno : EIO;
            return standardOutputError;
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
    std::cerr << "Could not write to standard output: " << std::strerror(standardOutputError) << ".\n";
    return false;
}

}  // namespace vorta::run

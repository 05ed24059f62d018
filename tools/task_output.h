#pragma once
// Where a task's output goes: standard output, or a file replaced whole; and a refusal said on
// standard error.

#include <string>

#include "core/output/file_replace.h"

namespace vorta::run {

// Sends standard output through a buffer that keeps the reason of a failed write; called first.
void takeOverStandardOutput();

// Says message on stderr and returns the exit status of refused input.
int refuse(const std::string& message);

// Sends what a producer writes to standard output ("-") in blocks, or replaces the file whole.
int writeOutput(const std::string& output, const ByteProducer& produce);

// Flushes standard output; false, said on stderr, when what a task wrote there did not all arrive.
bool standardOutputArrived();

}  // namespace vorta::run

#pragma once
// Work on many independent items, shared among threads.

#include <functional>

namespace vorta {

// Runs work(first, end) over [0, count) in chunks of chunkSize items, on `threads` threads, or
// with threads = 0 on one thread per minPerThread items, at most one a core. The threads take
// chunks as they come free rather than fixed shares, so that one the shared processor starts
// late or runs slowly leaves the rest of its work to the others. Each chunk is written, and so
// first touched, by the thread that computes it.
void shareWork(int count, int chunkSize, int minPerThread, int threads,
               const std::function<void(int, int)>& work);

}  // namespace vorta

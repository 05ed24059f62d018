#include "core/solver/work_sharing.h"

#include <algorithm>
#include <atomic>
#include <system_error>
#include <thread>
#include <vector>

namespace vorta {

namespace {

int threadCountFor(int count, int minPerThread) {
    const int wanted = count / minPerThread;
    if (wanted < 2) return 1;
    // Asked once: the answer reads a system file each time.
    static const int cores = static_cast<int>(std::max(1u, std::thread::hardware_concurrency()));
    return std::min(wanted, cores);
}

}  // namespace

void shareWork(int count, int chunkSize, int minPerThread, int threads,
               const std::function<void(int, int)>& work) {
    if (count <= 0) return;
    const int chunks = (count + chunkSize - 1) / chunkSize;
    const int workers = std::min(threads > 0 ? threads : threadCountFor(count, minPerThread), chunks);
    if (workers == 1) {
        work(0, count);
        return;
    }
    std::atomic<int> nextChunk{0};
    const auto takeChunks = [&] {
        for (int c = nextChunk++; c < chunks; c = nextChunk++)
            work(c * chunkSize, std::min(count, (c + 1) * chunkSize));
    };
    std::vector<std::thread> helpers;
    for (int t = 1; t < workers; ++t) {
        try {
            helpers.emplace_back(takeChunks);
        } catch (const std::system_error&) {
            break;  // no more threads to be had: those running take all the chunks
        }
    }
    takeChunks();
    for (std::thread& helper : helpers) helper.join();
}

}  // namespace vorta

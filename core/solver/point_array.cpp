#include "core/solver/point_array.h"

#include <sys/mman.h>

#include <cstdlib>

namespace vorta::detail {

namespace {

constexpr std::size_t kHugePage = std::size_t{2} << 20;
constexpr std::size_t kCacheLine = 64;

bool isLarge(std::size_t bytes) { return bytes >= kHugePage; }

}  // namespace

void* allocatePointStorage(std::size_t bytes) {
    if (!isLarge(bytes)) {
        return ::operator new(bytes, std::align_val_t{kCacheLine});
    }
    const std::size_t rounded = (bytes + kHugePage - 1) / kHugePage * kHugePage;
    void* storage = std::aligned_alloc(kHugePage, rounded);
    if (storage == nullptr) throw std::bad_alloc();
    ::madvise(storage, rounded, MADV_HUGEPAGE);  // only a hint: without huge pages it still works
    return storage;
}

void freePointStorage(void* storage, std::size_t bytes) noexcept {
    if (!isLarge(bytes)) {
        ::operator delete(storage, std::align_val_t{kCacheLine});
        return;
    }
    std::free(storage);
}

}  // namespace vorta::detail

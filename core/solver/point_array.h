#pragma once
// The solver's result arrays. They are the product and can hold a million points each, so
// they are allocated once, without the zero fill std::vector would give (the solver writes
// every slot it hands out), and a large one asks for huge pages to cut its page faults.

#include <cstddef>
#include <new>
#include <utility>
#include <vector>

namespace vorta {

namespace detail {
void* allocatePointStorage(std::size_t bytes);
void freePointStorage(void* storage, std::size_t bytes) noexcept;
}  // namespace detail

template <typename T>
struct UninitializedAllocator {
    using value_type = T;

    UninitializedAllocator() = default;
    template <typename U>
    UninitializedAllocator(const UninitializedAllocator<U>&) noexcept {}

    T* allocate(std::size_t n) { return static_cast<T*>(detail::allocatePointStorage(n * sizeof(T))); }
    void deallocate(T* p, std::size_t n) noexcept { detail::freePointStorage(p, n * sizeof(T)); }

    // A value-initialising construct (resize(n)) leaves the element as it is.
    template <typename U, typename... Args>
    void construct(U* p, Args&&... args) {
        if constexpr (sizeof...(Args) == 0) {
            ::new (static_cast<void*>(p)) U;
        } else {
            ::new (static_cast<void*>(p)) U(std::forward<Args>(args)...);
        }
    }

    template <typename U>
    bool operator==(const UninitializedAllocator<U>&) const noexcept { return true; }
    template <typename U>
    bool operator!=(const UninitializedAllocator<U>&) const noexcept { return false; }
};

using PointArray = std::vector<double, UninitializedAllocator<double>>;

}  // namespace vorta

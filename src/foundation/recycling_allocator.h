#pragma once
// An allocator for containers that a thread fills and empties all the time (the sample streams of
// the live aircraft): a freed block goes on a free list of the freeing thread and is handed out
// again for the next request of the same size, so a container in steady state allocates nothing.
// Blocks of sizes beyond the few kept lists go straight back to the heap.

#include <cstddef>

namespace mrw {

void* gf_recycledBlock(std::size_t bytes);
void gf_recycleBlock(void* block, std::size_t bytes) noexcept;

template <class T>
class RecyclingAllocator {
  public:
    using value_type = T;

    RecyclingAllocator() noexcept = default;
    template <class U>
    RecyclingAllocator(const RecyclingAllocator<U>&) noexcept {}

    T* allocate(std::size_t n) { return static_cast<T*>(gf_recycledBlock(n * sizeof(T))); }
    void deallocate(T* p, std::size_t n) noexcept { gf_recycleBlock(p, n * sizeof(T)); }

    template <class U>
    bool operator==(const RecyclingAllocator<U>&) const noexcept {
        return true;
    }
};

}  // namespace mrw

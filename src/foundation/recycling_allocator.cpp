#include "foundation/recycling_allocator.h"

#include <array>
#include <new>

namespace mrw {
namespace {

// A freed block holds the link to the next one.
struct FreeBlock {
    FreeBlock* next;
};

struct FreeList {
    std::size_t bytes = 0;  // 0 = not yet used for a size
    FreeBlock* head = nullptr;
};

// Set when the thread's pool is gone: a container destroyed later in the thread's (or the
// program's) end frees its blocks to the heap directly.
thread_local bool t_poolGone = false;

// The free lists of one thread, returned to the heap when the thread ends. A container asks for a
// few sizes only (a deque: its blocks and its map), so a handful of lists is plenty.
class ThreadPool {
  public:
    ThreadPool() = default;
    ThreadPool(const ThreadPool&) = delete;
    ThreadPool& operator=(const ThreadPool&) = delete;
    ~ThreadPool() {
        t_poolGone = true;
        for (FreeList& list : m_lists)
            while (FreeBlock* block = list.head) {
                list.head = block->next;
                ::operator delete(block);
            }
    }

    // The list for blocks of that size; a new one if a slot is free; nullptr when all are taken.
    FreeList* listFor(std::size_t bytes) noexcept {
        for (FreeList& list : m_lists) {
            if (list.bytes == bytes) return &list;
            if (list.bytes == 0) {
                list.bytes = bytes;
                return &list;
            }
        }
        return nullptr;
    }

  private:
    std::array<FreeList, 8> m_lists{};
};

thread_local ThreadPool t_pool;

}  // namespace

void* gf_recycledBlock(std::size_t bytes) {
    bytes = bytes < sizeof(FreeBlock) ? sizeof(FreeBlock) : bytes;
    if (t_poolGone) return ::operator new(bytes);
    if (FreeList* list = t_pool.listFor(bytes); list != nullptr && list->head != nullptr) {
        FreeBlock* block = list->head;
        list->head = block->next;
        return block;
    }
    return ::operator new(bytes);
}

void gf_recycleBlock(void* block, std::size_t bytes) noexcept {
    if (block == nullptr) return;
    bytes = bytes < sizeof(FreeBlock) ? sizeof(FreeBlock) : bytes;
    FreeList* list = t_poolGone ? nullptr : t_pool.listFor(bytes);
    if (list == nullptr) {
        ::operator delete(block);
        return;
    }
    list->head = new (block) FreeBlock{list->head};
}

}  // namespace mrw

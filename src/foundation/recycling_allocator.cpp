#include "foundation/recycling_allocator.h"

#include <array>
#include <new>

#include <pthread.h>

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

// The free lists of one thread, returned to the heap when the thread ends. A container asks for a
// few sizes only (a deque: its blocks and its map), so a handful of lists is plenty.
class ThreadPool {
  public:
    ThreadPool() = default;
    ThreadPool(const ThreadPool&) = delete;
    ThreadPool& operator=(const ThreadPool&) = delete;
    ~ThreadPool() {
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

// Each thread's pool lives on the heap behind a thread key, whose destructor is handed the pool when
// the thread ends. Not a thread_local object with a destructor: with MinGW-w64's emulated
// thread-local storage that destructor runs after the thread's storage is freed, and read freed
// lists. Once the pool is gone the key reads empty: later frees of the thread's end go to the heap.
void lf_deletePool(void* pool) {
    delete static_cast<ThreadPool*>(pool);
}

struct PoolKey {
    pthread_key_t key{};
    bool made = false;
};

// Made once; without it (the system has no key left) every block comes from and goes to the heap.
const PoolKey& lf_poolKey() {
    static const PoolKey poolKey = [] {
        PoolKey made;
        made.made = pthread_key_create(&made.key, lf_deletePool) == 0;
        return made;
    }();
    return poolKey;
}

ThreadPool* lf_threadPool() {
    const PoolKey& poolKey = lf_poolKey();
    return poolKey.made ? static_cast<ThreadPool*>(pthread_getspecific(poolKey.key)) : nullptr;
}

// The thread's pool, made at its first request; nullptr when none can be made.
ThreadPool* lf_threadPoolForRequests() {
    if (ThreadPool* pool = lf_threadPool()) return pool;
    const PoolKey& poolKey = lf_poolKey();
    if (!poolKey.made) return nullptr;
    auto* pool = new (std::nothrow) ThreadPool;
    if (pool != nullptr && pthread_setspecific(poolKey.key, pool) != 0) {
        delete pool;
        return nullptr;
    }
    return pool;
}

}  // namespace

void* gf_recycledBlock(std::size_t bytes) {
    bytes = bytes < sizeof(FreeBlock) ? sizeof(FreeBlock) : bytes;
    ThreadPool* pool = lf_threadPoolForRequests();
    if (FreeList* list = pool != nullptr ? pool->listFor(bytes) : nullptr;
        list != nullptr && list->head != nullptr) {
        FreeBlock* block = list->head;
        list->head = block->next;
        return block;
    }
    return ::operator new(bytes);
}

void gf_recycleBlock(void* block, std::size_t bytes) noexcept {
    if (block == nullptr) return;
    bytes = bytes < sizeof(FreeBlock) ? sizeof(FreeBlock) : bytes;
    ThreadPool* pool = lf_threadPool();
    FreeList* list = pool != nullptr ? pool->listFor(bytes) : nullptr;
    if (list == nullptr) {
        ::operator delete(block);
        return;
    }
    list->head = new (block) FreeBlock{list->head};
}

}  // namespace mrw

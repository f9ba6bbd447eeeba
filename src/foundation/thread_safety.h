#pragma once
// Thread rules the compiler checks: clang's thread-safety attributes (-Wthread-safety), empty on
// other compilers, and the mutexes and scoped locks they understand. The standard library's
// mutexes carry no attributes, so shared state is guarded by Mutex or RecursiveMutex and locked
// with MutexLock, which clang follows; both still meet the standard's Lockable requirements.

#include <mutex>

#if defined(__clang__)
#define MRW_THREAD_ATTRIBUTE(x) __attribute__((x))
#else
#define MRW_THREAD_ATTRIBUTE(x)
#endif

#define CAPABILITY(x) MRW_THREAD_ATTRIBUTE(capability(x))
#define SCOPED_CAPABILITY MRW_THREAD_ATTRIBUTE(scoped_lockable)
#define GUARDED_BY(x) MRW_THREAD_ATTRIBUTE(guarded_by(x))
#define PT_GUARDED_BY(x) MRW_THREAD_ATTRIBUTE(pt_guarded_by(x))
#define ACQUIRED_BEFORE(...) MRW_THREAD_ATTRIBUTE(acquired_before(__VA_ARGS__))
#define ACQUIRED_AFTER(...) MRW_THREAD_ATTRIBUTE(acquired_after(__VA_ARGS__))
#define REQUIRES(...) MRW_THREAD_ATTRIBUTE(requires_capability(__VA_ARGS__))
#define ACQUIRE(...) MRW_THREAD_ATTRIBUTE(acquire_capability(__VA_ARGS__))
#define RELEASE(...) MRW_THREAD_ATTRIBUTE(release_capability(__VA_ARGS__))
#define TRY_ACQUIRE(...) MRW_THREAD_ATTRIBUTE(try_acquire_capability(__VA_ARGS__))
#define EXCLUDES(...) MRW_THREAD_ATTRIBUTE(locks_excluded(__VA_ARGS__))
#define RETURN_CAPABILITY(x) MRW_THREAD_ATTRIBUTE(lock_returned(x))

namespace mrw {

// A plain mutex that clang's analysis knows as a capability.
class CAPABILITY("mutex") Mutex {
  public:
    void lock() ACQUIRE() { m_mutex.lock(); }
    void unlock() RELEASE() { m_mutex.unlock(); }
    bool try_lock() TRY_ACQUIRE(true) { return m_mutex.try_lock(); }

  private:
    std::mutex m_mutex;
};

// A recursive mutex for a holder that calls functions taking it again. The analysis does not follow
// re-entry, so such a function locks it for itself and is not annotated to require it.
class CAPABILITY("mutex") RecursiveMutex {
  public:
    void lock() ACQUIRE() { m_mutex.lock(); }
    void unlock() RELEASE() { m_mutex.unlock(); }
    bool try_lock() TRY_ACQUIRE(true) { return m_mutex.try_lock(); }

  private:
    std::recursive_mutex m_mutex;
};

// Holds a mutex for its scope; with std::adopt_lock it takes over a lock the caller already holds
// (after a successful try_lock).
template <class M>
class SCOPED_CAPABILITY BasicMutexLock {
  public:
    explicit BasicMutexLock(M& mutex) ACQUIRE(mutex) : m_mutex(mutex) { m_mutex.lock(); }
    BasicMutexLock(M& mutex, std::adopt_lock_t) REQUIRES(mutex) : m_mutex(mutex) {}
    ~BasicMutexLock() RELEASE() { m_mutex.unlock(); }
    BasicMutexLock(const BasicMutexLock&) = delete;
    BasicMutexLock& operator=(const BasicMutexLock&) = delete;

  private:
    M& m_mutex;
};

using MutexLock = BasicMutexLock<Mutex>;
using RecursiveMutexLock = BasicMutexLock<RecursiveMutex>;

}  // namespace mrw

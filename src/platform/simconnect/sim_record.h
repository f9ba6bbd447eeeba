#pragma once
// One record waiting for SimConnect_CallDispatch: zeroed, 8-byte aligned storage with the
// SIMCONNECT_RECV header filled in.

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <vector>

#include "platform/simconnect/simconnect.h"

namespace standin {

class SimRecord {
  public:
    // `size` is the record's byte count; it is raised to the size of the record type when smaller.
    template <class T>
    static SimRecord make(DWORD id, std::size_t size = sizeof(T)) {
        SimRecord record(id, size < sizeof(T) ? sizeof(T) : size);
        return record;
    }
    static SimRecord copyOf(const void* bytes, std::size_t size) {
        SimRecord record(0, size);
        std::memcpy(record.bytes(), bytes, size);
        return record;
    }

    template <class T>
    T& as() {
        return *reinterpret_cast<T*>(words_.data());
    }
    SIMCONNECT_RECV* header() { return reinterpret_cast<SIMCONNECT_RECV*>(words_.data()); }
    std::byte* bytes() { return reinterpret_cast<std::byte*>(words_.data()); }
    DWORD size() const { return size_; }

  private:
    static constexpr DWORD kVersion = 6;

    SimRecord(DWORD id, std::size_t size) : words_((size + 7) / 8, 0), size_(static_cast<DWORD>(size)) {
        if (size >= sizeof(SIMCONNECT_RECV)) *header() = SIMCONNECT_RECV{size_, kVersion, id};
    }

    std::vector<std::uint64_t> words_;
    DWORD size_;
};

}  // namespace standin

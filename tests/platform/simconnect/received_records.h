#pragma once
// Copies of the records a connection delivers, for the SimConnect stand-in's tests.

#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "platform/simconnect/simconnect.h"

namespace simtest {

class Received {
  public:
    Received(const SIMCONNECT_RECV* record, DWORD size) : words_((size + 7) / 8, 0), size_(size) {
        std::memcpy(words_.data(), record, size);
    }
    DWORD id() const { return as<SIMCONNECT_RECV>().dwID; }
    DWORD size() const { return size_; }
    template <class T>
    const T& as() const {
        return *reinterpret_cast<const T*>(words_.data());
    }
    // A value at a byte offset, as the program's readers take it.
    template <class T>
    T at(std::size_t offset) const {
        T value{};
        std::memcpy(&value, reinterpret_cast<const char*>(words_.data()) + offset, sizeof value);
        return value;
    }
    std::string textAt(std::size_t offset) const {
        return reinterpret_cast<const char*>(words_.data()) + offset;
    }

  private:
    std::vector<std::uint64_t> words_;
    DWORD size_;
};

inline void collect(SIMCONNECT_RECV* record, DWORD size, void* context) {
    static_cast<std::vector<Received>*>(context)->emplace_back(record, size);
}

// Everything waiting on the connection now.
inline std::vector<Received> drain(HANDLE handle) {
    std::vector<Received> records;
    SimConnect_CallDispatch(handle, collect, &records);
    return records;
}

inline std::vector<Received> withId(const std::vector<Received>& records, DWORD id) {
    std::vector<Received> found;
    for (const Received& record : records) {
        if (record.id() == id) found.push_back(record);
    }
    return found;
}

}  // namespace simtest

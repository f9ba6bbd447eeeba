#pragma once
// Reading received records safely, shared by the dispatch's handlers; and the handlers' helpers the
// tests need.

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <optional>
#include <string>
#include <vector>

#include "platform/simconnect/simconnect.h"
#include "traffic/model/user_aircraft_data.h"

namespace mrw {

// Where the data of a SIMCONNECT_RECV_SIMOBJECT_DATA record begins (at dwData, its last word).
inline constexpr std::size_t kObjectDataOffset = sizeof(SIMCONNECT_RECV_SIMOBJECT_DATA) - sizeof(DWORD);

// True when the message's size covers `size` bytes; otherwise writes the plain line
// "! Short SimConnect record, dwID {}, {} bytes" and gives false: the record is skipped.
bool gf_recordCovers(const SIMCONNECT_RECV* pData, DWORD cbData, std::size_t size);

// The text at `offset` up to its NUL, at most `maxBytes` and never beyond the message's size.
std::string gf_recordText(const SIMCONNECT_RECV* pData, DWORD cbData, std::size_t offset,
                          std::size_t maxBytes);

// A value of the record's object data (the caller has checked the size).
template <class T>
T gf_objectData(const SIMCONNECT_RECV* pData) {
    T value;
    std::memcpy(&value, reinterpret_cast<const char*>(pData) + kObjectDataOffset, sizeof value);
    return value;
}

// Takes the first element that matches out of the list, the last element moving into its place
// (the order of the rest does not matter to the client's lists).
template <class T, class Match>
std::optional<T> gf_takeFirst(std::vector<T>& list, Match match) {
    const auto found = std::find_if(list.begin(), list.end(), match);
    if (found == list.end()) return std::nullopt;
    T taken = std::move(*found);
    *found = std::move(list.back());
    list.pop_back();
    return taken;
}

// The simulator's UTC of the record in seconds since 1970-01-01 (proleptic Gregorian calendar).
std::int64_t gf_zuluEpochSeconds(const UserAcData& data);

}  // namespace mrw

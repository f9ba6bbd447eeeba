#pragma once
// Dispatching hand-made records through the client's dispatch: records injected into the client's
// connection, then one SimConnect_CallDispatch with gf_onSimDispatch.

#include <cstring>
#include <string>
#include <string_view>
#include <vector>

#include "traffic/model/sim_events.h"
#include "traffic/sim/sim_definitions.h"
#include "traffic/sim/sim_dispatch.h"
#include "traffic/sim/sim_dispatch_internal.h"
#include "traffic/sim/sim_test_support.h"

namespace mrwtest {

// A received record as bytes, 8-byte aligned; the size may be cut short.
class RawRecord {
  public:
    RawRecord(DWORD id, std::size_t size) : m_words((size + 7) / 8, 0), m_size(size) {
        header().dwSize = static_cast<DWORD>(size);
        header().dwID = id;
    }
    template <class Record>
    static RawRecord of(const Record& record, DWORD id) {
        RawRecord raw(id, sizeof(Record));
        std::memcpy(raw.bytes(), &record, sizeof(Record));
        raw.header().dwSize = static_cast<DWORD>(sizeof(Record));
        raw.header().dwID = id;
        return raw;
    }
    // A SIMOBJECT_DATA (or _BYTYPE) record whose data are the payload's bytes.
    static RawRecord objectData(DWORD id, DWORD requestId, DWORD objectId, std::string_view payload) {
        RawRecord raw(id, mrw::kObjectDataOffset + payload.size());
        auto& data = *reinterpret_cast<SIMCONNECT_RECV_SIMOBJECT_DATA*>(raw.bytes());
        data.dwRequestID = requestId;
        data.dwObjectID = objectId;
        std::memcpy(raw.bytes() + mrw::kObjectDataOffset, payload.data(), payload.size());
        return raw;
    }
    template <class Payload>
    static std::string_view bytesOf(const Payload& payload) {
        return {reinterpret_cast<const char*>(&payload), sizeof payload};
    }

    RawRecord shortened(std::size_t by) const {
        RawRecord copy = *this;
        copy.m_size -= by;
        copy.header().dwSize = static_cast<DWORD>(copy.m_size);
        return copy;
    }
    std::size_t size() const { return m_size; }
    DWORD id() const { return reinterpret_cast<const SIMCONNECT_RECV*>(bytes())->dwID; }
    char* bytes() { return reinterpret_cast<char*>(m_words.data()); }
    const char* bytes() const { return reinterpret_cast<const char*>(m_words.data()); }
    SIMCONNECT_RECV& header() { return *reinterpret_cast<SIMCONNECT_RECV*>(bytes()); }

  private:
    std::vector<std::uint64_t> m_words;
    std::size_t m_size;
};

// An answer to a text request of the user aircraft: the text NUL-padded (or cut) to `size` bytes.
RawRecord textRecord(DWORD requestId, std::string_view text, std::size_t size);

class SimDispatchTest : public SimClientTest {
  protected:
    void SetUp() override;
    void TearDown() override;

    void inject(const RawRecord& record);
    template <class Record>
    void inject(const Record& record, DWORD id) {
        inject(RawRecord::of(record, id));
    }
    // Delivers everything waiting through the client's dispatch.
    void dispatch();
    // The simulator events posted so far, taken out of the queue.
    std::vector<mrw::SimEvent> takeEvents();
};

}  // namespace mrwtest

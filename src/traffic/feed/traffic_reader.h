#pragma once
// The reader of RealTraffic's traffic datagrams (the Traffic Reader thread): each datagram is one
// comma-separated record, which becomes a TrafficReport for the engine or is dropped.
//
// Values that other threads write and this reader reads (reference position, ground elevation, QNH,
// park airport, user altitudes) are atomics or LockedValues, so a record never sees half of a write.
// The collected callsigns are guarded by callsignsMutex.

#include <atomic>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_set>
#include <vector>

#include "airports/park_airport_data.h"
#include "foundation/atomic_optional_double.h"
#include "foundation/lalo.h"
#include "foundation/thread_safety.h"
#include "foundation/time_texts.h"
#include "traffic/feed/locked_value.h"
#include "traffic/feed/throttled_log_line.h"
#include "traffic/feed/udp_reader.h"
#include "traffic/model/aircraft_records.h"
#include "traffic/model/traffic_report.h"

namespace mrw {

// The park airport as the reader needs it: where it is and how high.
struct ParkAirportRef {
    Lalo position;
    double elevationFt = 0.0;
};

// The user aircraft's altitude and indicated altitude in feet: their difference corrects the
// altitudes of high traffic to the user's altimeter.
struct UserAltitudes {
    double altitudeFt = 0.0;
    double indicatedAltitudeFt = 0.0;
};

class TrafficReader : public UdpReader {
  public:
    // A record is read up to this field.
    static constexpr std::size_t kFieldCount = 29;

    TrafficReader();

    // Ignores a datagram holding " VEH"; else splits it at ',' into `fields` and runs processLineSub.
    void onDatagram(std::string_view datagram) override;
    // Traffic lamp 3, "Traffic Reader has stopped".
    void onStopped() override;
    // Reads, checks and filters the record in `fields` and queues at most one TrafficReport; every
    // failure ends only this record.
    void processLineSub();
    // Sets the callsign from field 9; false when the record is to be dropped for it.
    bool acceptCallsign(AircraftIdentity& identity) const;
    // The start values of a run or of a new RealTraffic link: QNH 1013, no traffic time, no
    // collected callsigns, no route oddities logged yet.
    void resetStartValues();

    // The fields of the current record: views into the datagram; room for 64 kept between records.
    std::vector<std::string_view> fields;

    // Time stamp (seconds since 1970, UTC) of the newest record whose timestamp was read; 0 = none.
    // The program's clock when RealTraffic is the professional edition; the traffic clock's input
    // g_trafficTime (time_texts.h) under the reader's name.
    static inline std::atomic<double>& trafficTime = g_trafficTime;
    // The park airport's altitude in feet while a park airport is set; written by the main worker.
    // g_groundElevation (airports/park_airport_data.h) under the reader's name.
    static inline AtomicOptionalDouble& groundElevation = g_groundElevation;
    // Centre of the range test: the user aircraft's position, copied by the main worker.
    static inline LockedValue<Lalo> referencePosition;
    // QNH in hPa for the altitude correction; written by the QNH Reader.
    static inline std::atomic<std::int32_t> qnh{1013};
    // While set, the callsigns of the traffic in range are collected into `callsigns`, at most this
    // many (far more than any range holds).
    static inline std::atomic<bool> collectCallsigns{false};
    static constexpr std::size_t kMaxCollectedCallsigns = 10000;
    static inline Mutex callsignsMutex;
    static inline std::unordered_set<std::string> callsigns GUARDED_BY(callsignsMutex);
    // The park airport, published by whoever sets g_parkAirport; none while no park airport is set.
    static inline LockedValue<std::optional<ParkAirportRef>> parkAirport;
    // Published by the engine with each refresh of its copy of the user aircraft data.
    static inline LockedValue<UserAltitudes> userAltitudes;

  private:
    void processFields();
    // Queues the report with its model from `type`; the oldest report gives way to a full queue.
    void queueReport(TrafficReport report, std::string_view type);
    FixedCode<3> routeCode(std::string_view text, std::uint32_t hexid);

    std::string_view m_record;  // the whole datagram, for error texts
    // Hexids whose odd route code was logged in this run: one line per aircraft, not per record.
    Mutex m_oddRouteMutex;
    std::unordered_set<std::uint32_t> m_oddRouteHexids GUARDED_BY(m_oddRouteMutex);
    ThrottledLogLine m_queueFullLines;
};

// Empties g_liveCallsigns, stops the collection and moves the collected callsigns into it (main
// worker; static parking and its adjustments).
void lf_takeCollectedCallsigns();
// "{:.6f},{:.6f}" of latitude and longitude.
std::string lf_laloText(Lalo position);

}  // namespace mrw

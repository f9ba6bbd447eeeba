#include "airports/facility_reader.h"

#include <array>
#include <cmath>
#include <cstring>
#include <exception>
#include <numbers>
#include <stdexcept>
#include <thread>
#include <unordered_map>

#include <fmt/format.h>

#include "airports/facility_reader_internal.h"
#include "foundation/geometry.h"
#include "foundation/log.h"
#include "foundation/run_state.h"
#include "foundation/user_error_exception.h"

namespace mrw {
namespace {

constexpr DWORD kParkingDefinition = 1001;
constexpr DWORD kFirstRequestId = 2001;
constexpr double kMetresToFeet = 3.2808399;
constexpr double kDegToRad = 0.017453292519943295;
constexpr std::size_t kNameBytes = 32;

struct FacilityConnection {
    HANDLE handle = nullptr;
    bool open = false;
    DWORD nextRequestId = kFirstRequestId;
};

FacilityConnection& lf_connection() {
    static FacilityConnection connection;
    return connection;
}

FacilityWait& lf_wait() {
    static FacilityWait wait;
    return wait;
}

constexpr std::array kDefinitionItems{"OPEN AIRPORT",
                                      "LATITUDE",
                                      "LONGITUDE",
                                      "ALTITUDE",
                                      "NAME",
                                      "N_HELIPADS",
                                      "N_TAXI_PARKINGS",
                                      "OPEN TAXI_PARKING",
                                      "TYPE",
                                      "TAXI_POINT_TYPE",
                                      "NAME",
                                      "SUFFIX",
                                      "NUMBER",
                                      "ORIENTATION",
                                      "HEADING",
                                      "RADIUS",
                                      "BIAS_X",
                                      "BIAS_Z",
                                      "CLOSE TAXI_PARKING",
                                      "OPEN HELIPAD",
                                      "LATITUDE",
                                      "LONGITUDE",
                                      "ALTITUDE",
                                      "HEADING",
                                      "LENGTH",
                                      "WIDTH",
                                      "SURFACE",
                                      "TYPE",
                                      "CLOSE HELIPAD",
                                      "CLOSE AIRPORT"};

// A field of a received record, read only when the record holds it.
template <class T>
T lf_field(const void* record, DWORD size, std::size_t offset) {
    if (offset + sizeof(T) > size) {
        throw std::length_error(fmt::format("record of {} bytes has no field at {}", size, offset));
    }
    T value{};
    std::memcpy(&value, static_cast<const unsigned char*>(record) + offset, sizeof(T));
    return value;
}

// The zero-terminated NAME at 64, never read past the record or its 32 bytes.
std::string lf_nameField(const void* record, DWORD size) {
    constexpr std::size_t kOffset = 64;
    if (size <= kOffset) return {};
    const char* first = static_cast<const char*>(record) + kOffset;
    const std::size_t room = std::min<std::size_t>(size - kOffset, kNameBytes);
    return std::string(first, strnlen(first, room));
}

// 1 is a, 26 is z, 27 is aa.
std::string lf_bijectiveLetters(std::int32_t k) {
    std::string letters;
    while (k > 0) {
        --k;
        letters.insert(letters.begin(), static_cast<char>('a' + k % 26));
        k /= 26;
    }
    return letters;
}

Lalo lf_parkingPosition(const FacilityReadContext& context, float biasX, float biasZ) {
    Lalo position{context.latitude, context.longitude};
    if (biasX != 0.0F) {
        const double bearing = biasX > 0.0F ? std::numbers::pi / 2.0 : 3.0 * std::numbers::pi / 2.0;
        position = gf_destinationPoint(position, bearing, std::fabs(biasX) * kMetresToFeet);
    }
    if (biasZ != 0.0F) {
        const double bearing = biasZ > 0.0F ? 0.0 : std::numbers::pi;
        position = gf_destinationPoint(position, bearing, std::fabs(biasZ) * kMetresToFeet);
    }
    return position;
}

bool lf_openConnection() {
    FacilityConnection& connection = lf_connection();
    if (connection.open) return true;
    HANDLE handle = nullptr;
    const HRESULT hr = SimConnect_Open(&handle, "PARKING_DATA_RDR", nullptr, 0, nullptr, 0);
    if (FAILED(hr)) {
        gf_logError(fmt::format("SimConnect_Open (PARKING_DATA_RDR) FAILED hr=0x{:08X}",
                                static_cast<std::uint32_t>(hr)));
        return false;
    }
    connection.handle = handle;
    connection.open = true;
    gf_defineParkingFacility();
    return true;
}

void lf_pause() {
    const FacilityWait& wait = lf_wait();
    if (wait.pause) {
        wait.pause();
    } else {
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
}

// Dispatches until the end record; false on the time-out or a stop of the run.
bool lf_awaitAnswer(FacilityReadContext& context) {
    const auto deadline = std::chrono::steady_clock::now() + lf_wait().timeout;
    for (;;) {
        SimConnect_CallDispatch(lf_connection().handle, gf_onFacilityDispatch, &context);
        if (context.done) return true;
        if (gf_stopping()) {
            gf_logLine(fmt::format("Fac: reading {} ended, the run is stopping", context.code));
            return false;
        }
        if (std::chrono::steady_clock::now() >= deadline) {
            gf_logError(
                fmt::format("Fac: no answer for {} within {} ms", context.code, lf_wait().timeout.count()));
            return false;
        }
        lf_pause();
    }
}

}  // namespace

void gf_setFacilityWaitForTests(FacilityWait wait) {
    lf_wait() = std::move(wait);
}

bool gf_facilityConnectionOpen() {
    return lf_connection().open;
}

void gf_defineParkingFacility() {
    for (const char* item : kDefinitionItems) {
        SimConnect_AddToFacilityDefinition(lf_connection().handle, kParkingDefinition, item);
    }
}

void gf_closeFacilityConnection() {
    FacilityConnection& connection = lf_connection();
    if (!connection.open) return;
    if (FAILED(SimConnect_Close(connection.handle))) {
        gf_logError("Closing SimConnect failed?!");
    } else {
        gf_logLine("SimConnect closed ok");
    }
    connection.handle = nullptr;
    connection.open = false;
    gf_logLine("SimConnect (PARKING_DATA_RDR) closed");
}

void onRecvFacilityData(FacilityReadContext& context, const SIMCONNECT_RECV_FACILITY_DATA& record,
                        DWORD size) {
    const void* bytes = &record;
    if (lf_field<DWORD>(bytes, size, 12) != context.requestId) return;
    switch (lf_field<DWORD>(bytes, size, 24)) {
        case SIMCONNECT_FACILITY_DATA_AIRPORT:
            context.latitude = lf_field<double>(bytes, size, 40);
            context.longitude = lf_field<double>(bytes, size, 48);
            context.altitudeFeet = lf_field<double>(bytes, size, 56) * kMetresToFeet;
            context.name = lf_nameField(bytes, size);
            break;
        case SIMCONNECT_FACILITY_DATA_HELIPAD: {
            const auto type = lf_field<std::int32_t>(bytes, size, 80);
            const double factor = type == 2 ? static_cast<double>(0.7F) : 0.5;
            context.stands.emplace_back(
                std::vector<StandOption>{}, std::string{}, lf_field<double>(bytes, size, 40),
                lf_field<double>(bytes, size, 48), lf_field<float>(bytes, size, 64) * kDegToRad,
                factor * lf_field<float>(bytes, size, 72), std::int16_t{0}, false, false, true);
            break;
        }
        case SIMCONNECT_FACILITY_DATA_TAXI_PARKING: {
            const auto type = static_cast<std::int16_t>(lf_field<std::int32_t>(bytes, size, 40) & 0xFFFF);
            const auto number = lf_field<std::int32_t>(bytes, size, 56);
            const auto heading = lf_field<float>(bytes, size, 64);
            const auto radius = lf_field<float>(bytes, size, 68);
            const Lalo position = lf_parkingPosition(context, lf_field<float>(bytes, size, 72),
                                                     lf_field<float>(bytes, size, 76));
            if (type == 0 || type == 13) return;
            Stand& stand = context.stands.emplace_back(
                std::vector<StandOption>{}, std::string{}, position.latitude, position.longitude,
                heading * kDegToRad, radius, type, false, false, false);
            stand.number = number;
            break;
        }
        default:
            break;
    }
}

void MRW_SIMCONNECT_CALL gf_onFacilityDispatch(SIMCONNECT_RECV* record, DWORD size, void* context) {
    if (context == nullptr || record == nullptr || size < sizeof(SIMCONNECT_RECV)) return;
    auto& read = *static_cast<FacilityReadContext*>(context);
    switch (record->dwID) {
        case SIMCONNECT_RECV_ID_EXCEPTION: {
            if (size < sizeof(SIMCONNECT_RECV_EXCEPTION)) return;
            const auto& exception = *reinterpret_cast<const SIMCONNECT_RECV_EXCEPTION*>(record);
            gf_logError(fmt::format("SimConnect EXCEPTION id={} sendID={} index={}", exception.dwException,
                                    exception.dwSendID, exception.dwIndex));
            // An exception of an earlier, abandoned request is not this airport's failure.
            if (read.sendId != 0 && exception.dwSendID != read.sendId) return;
            read.failed = true;
            read.done = true;
            break;
        }
        case SIMCONNECT_RECV_ID_FACILITY_DATA:
            try {
                onRecvFacilityData(read, *reinterpret_cast<const SIMCONNECT_RECV_FACILITY_DATA*>(record),
                                   size);
            } catch (const std::exception& e) {
                gf_logError(fmt::format("{} exception: {}", "onRecvFacilityData", e.what()));
            }
            break;
        case SIMCONNECT_RECV_ID_FACILITY_DATA_END:
            if (size >= sizeof(SIMCONNECT_RECV_FACILITY_DATA_END) &&
                reinterpret_cast<const SIMCONNECT_RECV_FACILITY_DATA_END*>(record)->RequestId ==
                    read.requestId) {
                read.done = true;
            }
            break;
        default:
            break;
    }
}

void gf_nameStands(std::vector<Stand>& stands, int& helipadCount) {
    helipadCount = 0;
    for (Stand& stand : stands) {
        if (stand.heli) stand.id = fmt::format("helipad{}", ++helipadCount);
    }
    std::unordered_map<std::int32_t, std::int32_t> seen;
    for (Stand& stand : stands) {
        if (stand.heli) continue;
        const std::int32_t k = seen[stand.number]++;
        stand.id = std::to_string(stand.number) + lf_bijectiveLetters(k);
    }
}

bool gf_readFacilityStands(std::string_view code, AirportFile& file, int& helipadCount) {
    if (!lf_openConnection()) return false;
    FacilityConnection& connection = lf_connection();
    FacilityReadContext context;
    context.code = std::string(code);
    context.requestId = connection.nextRequestId++;
    context.stands.reserve(512);
    if (FAILED(SimConnect_RequestFacilityData(connection.handle, kParkingDefinition, context.requestId,
                                              context.code.c_str(), ""))) {
        gf_logError(fmt::format("RequestFacilityData failed for {}", context.code));
        return false;
    }
    if (FAILED(SimConnect_GetLastSentPacketID(connection.handle, &context.sendId))) context.sendId = 0;
    if (!lf_awaitAnswer(context)) return false;
    if (context.failed) throw UserErrorException(111, "restart");
    gf_nameStands(context.stands, helipadCount);
    file.code = FixedCode<4>(context.code);
    file.airportName = context.name;
    const bool altitudeFits = std::isfinite(context.altitudeFeet) && std::fabs(context.altitudeFeet) < 1e9;
    file.altitude = altitudeFits ? static_cast<std::int32_t>(context.altitudeFeet) : 0;
    file.Facilities = true;
    file.stands = std::move(context.stands);
    if (file.stands.empty()) gf_logLine(fmt::format("Fac: {} has no stands", context.code));
    return true;
}

}  // namespace mrw

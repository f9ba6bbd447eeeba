#include "platform/simconnect/facility_records.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <optional>
#include <variant>

#include "platform/simconnect/name_compare.h"

namespace standin {
namespace {

// An airport's NAME is 32 characters; every other item is a double or a 32-bit int or float.
using FieldValue = std::variant<double, float, std::int32_t, std::string>;

template <class Entity>
struct Field {
    std::string_view name;
    FieldValue (*value)(const Entity&);
};

const std::array kAirportFields = {
    Field<FacilityAirport>{"LATITUDE", [](const FacilityAirport& a) -> FieldValue { return a.latitudeDeg; }},
    Field<FacilityAirport>{"LONGITUDE",
                           [](const FacilityAirport& a) -> FieldValue { return a.longitudeDeg; }},
    Field<FacilityAirport>{"ALTITUDE", [](const FacilityAirport& a) -> FieldValue { return a.altitudeM; }},
    Field<FacilityAirport>{"NAME", [](const FacilityAirport& a) -> FieldValue { return a.name; }},
    Field<FacilityAirport>{
        "N_HELIPADS",
        [](const FacilityAirport& a) -> FieldValue { return static_cast<std::int32_t>(a.helipads.size()); }},
    Field<FacilityAirport>{
        "N_TAXI_PARKINGS",
        [](const FacilityAirport& a) -> FieldValue { return static_cast<std::int32_t>(a.parkings.size()); }},
};

const std::array kHelipadFields = {
    Field<FacilityHelipad>{"LATITUDE", [](const FacilityHelipad& h) -> FieldValue { return h.latitudeDeg; }},
    Field<FacilityHelipad>{"LONGITUDE",
                           [](const FacilityHelipad& h) -> FieldValue { return h.longitudeDeg; }},
    Field<FacilityHelipad>{"ALTITUDE", [](const FacilityHelipad& h) -> FieldValue { return h.altitudeM; }},
    Field<FacilityHelipad>{"HEADING", [](const FacilityHelipad& h) -> FieldValue { return h.headingDeg; }},
    Field<FacilityHelipad>{"LENGTH", [](const FacilityHelipad& h) -> FieldValue { return h.lengthM; }},
    Field<FacilityHelipad>{"WIDTH", [](const FacilityHelipad& h) -> FieldValue { return h.widthM; }},
    Field<FacilityHelipad>{"SURFACE", [](const FacilityHelipad& h) -> FieldValue { return h.surface; }},
    Field<FacilityHelipad>{"TYPE", [](const FacilityHelipad& h) -> FieldValue { return h.type; }},
};

const std::array kParkingFields = {
    Field<FacilityParking>{"TYPE", [](const FacilityParking& p) -> FieldValue { return p.type; }},
    Field<FacilityParking>{"TAXI_POINT_TYPE",
                           [](const FacilityParking& p) -> FieldValue { return p.taxiPointType; }},
    Field<FacilityParking>{"NAME", [](const FacilityParking& p) -> FieldValue { return p.name; }},
    Field<FacilityParking>{"SUFFIX", [](const FacilityParking& p) -> FieldValue { return p.suffix; }},
    Field<FacilityParking>{"NUMBER", [](const FacilityParking& p) -> FieldValue { return p.number; }},
    Field<FacilityParking>{"ORIENTATION",
                           [](const FacilityParking& p) -> FieldValue { return p.orientation; }},
    Field<FacilityParking>{"HEADING", [](const FacilityParking& p) -> FieldValue { return p.headingDeg; }},
    Field<FacilityParking>{"RADIUS", [](const FacilityParking& p) -> FieldValue { return p.radiusM; }},
    Field<FacilityParking>{"BIAS_X", [](const FacilityParking& p) -> FieldValue { return p.biasXM; }},
    Field<FacilityParking>{"BIAS_Z", [](const FacilityParking& p) -> FieldValue { return p.biasZM; }},
};

enum class Section { None, Airport, Helipad, TaxiParking };

std::optional<Section> lf_sectionNamed(std::string_view name) {
    if (gf_sameName(name, "AIRPORT")) return Section::Airport;
    if (gf_sameName(name, "HELIPAD")) return Section::Helipad;
    if (gf_sameName(name, "TAXI_PARKING")) return Section::TaxiParking;
    return std::nullopt;
}

template <class Fields>
bool lf_hasField(const Fields& fields, std::string_view name) {
    for (const auto& field : fields) {
        if (gf_sameName(field.name, name)) return true;
    }
    return false;
}

bool lf_isField(Section section, std::string_view name) {
    switch (section) {
        case Section::Airport:
            return lf_hasField(kAirportFields, name);
        case Section::Helipad:
            return lf_hasField(kHelipadFields, name);
        case Section::TaxiParking:
            return lf_hasField(kParkingFields, name);
        case Section::None:
            return false;
    }
    return false;
}

// The items of a definition sorted by the section they belong to.
struct Layout {
    std::vector<std::string> airport;
    std::vector<std::string> helipad;
    std::vector<std::string> taxiParking;
    bool hasHelipads = false;
    bool hasTaxiParkings = false;
    bool valid = true;
};

// Reads the items in order, keeping the stack of open sections; returns the layout of the items read.
Layout lf_layout(const std::vector<std::string>& items) {
    Layout layout;
    const auto invalid = [&layout] {
        layout.valid = false;
        return layout;
    };
    std::vector<Section> open;
    for (const std::string& item : items) {
        const Section current = open.empty() ? Section::None : open.back();
        const std::string_view text = item;
        if (text.size() > 5 && gf_sameName(text.substr(0, 5), "OPEN ")) {
            const auto section = lf_sectionNamed(text.substr(5));
            const bool allowed = section && (*section == Section::Airport ? current == Section::None
                                                                          : current == Section::Airport);
            if (!allowed) return invalid();
            layout.hasHelipads |= *section == Section::Helipad;
            layout.hasTaxiParkings |= *section == Section::TaxiParking;
            open.push_back(*section);
        } else if (text.size() > 6 && gf_sameName(text.substr(0, 6), "CLOSE ")) {
            if (open.empty() || lf_sectionNamed(text.substr(6)) != current) return invalid();
            open.pop_back();
        } else if (lf_isField(current, text)) {
            auto& fields = current == Section::Airport   ? layout.airport
                           : current == Section::Helipad ? layout.helipad
                                                         : layout.taxiParking;
            fields.push_back(gf_upperName(text));
        } else {
            return invalid();
        }
    }
    return layout;
}

void lf_appendValue(std::vector<std::byte>& out, const FieldValue& value) {
    const auto append = [&out](const void* bytes, std::size_t size) {
        const auto* first = static_cast<const std::byte*>(bytes);
        out.insert(out.end(), first, first + size);
    };
    if (const auto* text = std::get_if<std::string>(&value)) {
        char name[32] = {};
        std::memcpy(name, text->data(), std::min(text->size(), sizeof name - 1));
        append(name, sizeof name);
    } else {
        std::visit([&append](const auto& number) { append(&number, sizeof number); }, value);
    }
}

template <class Entity, class Fields>
std::vector<std::byte> lf_fieldBytes(const Entity& entity, const Fields& fields,
                                     const std::vector<std::string>& names) {
    std::vector<std::byte> bytes;
    for (const std::string& name : names) {
        for (const auto& field : fields) {
            if (field.name == name) lf_appendValue(bytes, field.value(entity));
        }
    }
    return bytes;
}

struct RecordPlace {
    DWORD requestId;
    DWORD uniqueId;
    DWORD parentId;
    SIMCONNECT_FACILITY_DATA_TYPE type;
    DWORD listSize;  // 0 for the airport itself
    DWORD index;
};

SimRecord lf_facilityRecord(const RecordPlace& place, const std::vector<std::byte>& fields) {
    constexpr std::size_t kDataOffset = sizeof(SIMCONNECT_RECV_FACILITY_DATA) - sizeof(DWORD);  // at Data
    auto record = SimRecord::make<SIMCONNECT_RECV_FACILITY_DATA>(SIMCONNECT_RECV_ID_FACILITY_DATA,
                                                                 kDataOffset + fields.size());
    auto& data = record.as<SIMCONNECT_RECV_FACILITY_DATA>();
    data.UserRequestId = place.requestId;
    data.UniqueRequestId = place.uniqueId;
    data.ParentUniqueRequestId = place.parentId;
    data.Type = place.type;
    data.IsListItem = place.listSize > 0 ? 1 : 0;
    data.ItemIndex = place.index;
    data.ListSize = place.listSize;
    if (!fields.empty()) std::memcpy(record.bytes() + kDataOffset, fields.data(), fields.size());
    return record;
}

template <class Entity, class Fields>
void lf_appendChildren(std::vector<SimRecord>& records, const std::vector<Entity>& children,
                       const Fields& fields, const std::vector<std::string>& names, RecordPlace place,
                       DWORD& nextUniqueId) {
    place.listSize = static_cast<DWORD>(children.size());
    for (std::size_t i = 0; i < children.size(); ++i) {
        place.uniqueId = nextUniqueId++;
        place.index = static_cast<DWORD>(i);
        records.push_back(lf_facilityRecord(place, lf_fieldBytes(children[i], fields, names)));
    }
}

}  // namespace

bool gf_facilityItemFits(const std::vector<std::string>& items, std::string_view item) {
    std::vector<std::string> extended = items;
    extended.emplace_back(item);
    return lf_layout(extended).valid;
}

std::vector<SimRecord> gf_facilityAnswer(const std::vector<std::string>& items,
                                         const FacilityAirport& airport, DWORD requestId,
                                         DWORD& nextUniqueId) {
    const Layout layout = lf_layout(items);
    std::vector<SimRecord> records;
    const DWORD airportId = nextUniqueId++;
    records.push_back(lf_facilityRecord({requestId, airportId, 0, SIMCONNECT_FACILITY_DATA_AIRPORT, 0, 0},
                                        lf_fieldBytes(airport, kAirportFields, layout.airport)));
    if (layout.hasHelipads) {
        lf_appendChildren(records, airport.helipads, kHelipadFields, layout.helipad,
                          {requestId, 0, airportId, SIMCONNECT_FACILITY_DATA_HELIPAD, 0, 0}, nextUniqueId);
    }
    if (layout.hasTaxiParkings) {
        lf_appendChildren(records, airport.parkings, kParkingFields, layout.taxiParking,
                          {requestId, 0, airportId, SIMCONNECT_FACILITY_DATA_TAXI_PARKING, 0, 0},
                          nextUniqueId);
    }
    auto end = SimRecord::make<SIMCONNECT_RECV_FACILITY_DATA_END>(SIMCONNECT_RECV_ID_FACILITY_DATA_END);
    end.as<SIMCONNECT_RECV_FACILITY_DATA_END>().RequestId = requestId;
    records.push_back(std::move(end));
    return records;
}

}  // namespace standin

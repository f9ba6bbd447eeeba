#include "airports_scan_test_support.h"

#include <cstring>

#include "aircraft/aircraft_database.h"
#include "airports/airports_database.h"
#include "airports/airports_scan_report.h"
#include "airports/facility_reader.h"
#include "foundation/file_names.h"
#include "platform/simconnect/sim_world.h"

namespace fs = std::filesystem;

namespace mrwtest {
namespace {

using Words = std::vector<std::uint32_t>;

std::uint32_t lf_floatBits(float value) {
    std::uint32_t bits = 0;
    std::memcpy(&bits, &value, sizeof bits);
    return bits;
}

std::uint32_t lf_lonWord(double lon) {
    return static_cast<std::uint32_t>((lon + 180.0) * 3.0 * 268435456.0 / 360.0);
}
std::uint32_t lf_latWord(double lat) {
    return static_cast<std::uint32_t>((90.0 - lat) * 536870912.0 / 180.0);
}

// The first word of a record: its id and the low half of its size; the second holds the high half.
void lf_recordHead(Words& words, std::size_t at, std::uint16_t id, std::uint32_t bytes) {
    words[at] = id | (bytes << 16);
    words[at + 1] |= bytes >> 16;
}

Words lf_airportWords(const BglAirport& airport) {
    Words words(17, 0);
    for (const BglHelipad& pad : airport.helipads) {
        const std::size_t h = words.size();
        words.resize(h + 8, 0);
        lf_recordHead(words, h, 0x26, 32);
        words[h + 3] = lf_lonWord(pad.longitude);
        words[h + 4] = lf_latWord(pad.latitude);
        words[h + 7] = lf_floatBits(pad.widthM);
    }
    if (!airport.parkings.empty()) {
        const std::size_t t = words.size();
        words.resize(t + 2 + 14 * airport.parkings.size(), 0);
        lf_recordHead(words, t, 0xE7, static_cast<std::uint32_t>(4 * (2 + 14 * airport.parkings.size())));
        words[t + 1] |= static_cast<std::uint32_t>(airport.parkings.size()) << 16;
        std::size_t e = t + 2;
        for (const BglParking& p : airport.parkings) {
            words[e] = (p.nameCode & 0x3F) | (p.type & 0xF) << 8 | (p.number & 0xFFF) << 12;
            words[e + 1] = lf_floatBits(p.radiusM);
            words[e + 2] = lf_floatBits(p.headingDeg);
            words[e + 7] = lf_lonWord(p.longitude);
            words[e + 8] = lf_latWord(p.latitude);
            e += 14;
        }
    }
    lf_recordHead(words, 0, 0x56, static_cast<std::uint32_t>(4 * words.size()));
    words[5] = static_cast<std::uint32_t>(airport.altitudeMm);
    words[10] = bglIdent(airport.code);
    return words;
}

void lf_append(Words& words, const std::vector<BglAirport>& airports) {
    for (const BglAirport& airport : airports) {
        const Words record = lf_airportWords(airport);
        words.insert(words.end(), record.begin(), record.end());
    }
}

}  // namespace

std::uint32_t bglIdent(const std::string& code) {
    std::uint32_t value = 0;
    for (char c : code) {
        const std::uint32_t digit =
            c >= 'A' ? static_cast<std::uint32_t>(c - 'A' + 12) : static_cast<std::uint32_t>(c - '0' + 2);
        value = value * 38 + digit;
    }
    return value << 5;
}

std::string bglBytes(const BglLayout& layout) {
    // Header (14 words), the section entries (5 words each), the sub-section table (4 words), the data.
    const std::size_t table = 14 + 5 * static_cast<std::size_t>(layout.sections);
    Words words(table + 4, 0);
    words[1] = 56;
    words[5] = layout.sections;
    for (std::size_t entry = 14; entry < table; entry += 5) {
        words[entry] = layout.sectionType;
        words[entry + 1] = layout.sectionFlags;
        words[entry + 2] = 1;
        words[entry + 3] = static_cast<std::uint32_t>(4 * table);  // the sub-section table's byte offset
    }
    const std::size_t dataFirst = words.size();
    lf_append(words, layout.airports);
    words[table] = 0x10003;  // the sub-section's id
    words[table + 1] = static_cast<std::uint32_t>(layout.airports.size());
    words[table + 2] = static_cast<std::uint32_t>(4 * dataFirst);
    words[table + 3] = static_cast<std::uint32_t>(4 * (words.size() - dataFirst));
    lf_append(words, layout.after);
    std::string bytes(4 * words.size(), '\0');
    std::memcpy(bytes.data(), words.data(), bytes.size());
    return bytes;
}

std::string bglFileOf(std::vector<BglAirport> airports) {
    BglLayout layout;
    layout.airports = std::move(airports);
    return bglBytes(layout);
}

void knowAirports(const std::vector<std::string>& known, const std::vector<std::string>& listedOnly) {
    for (const std::string& code : known) {
        mrw::g_knownAirportCodes.insert(mrw::FixedCode<4>(code));
        mrw::g_icaoAirportCodes.insert(mrw::FixedCode<4>(code));
    }
    for (const std::string& code : listedOnly)
        mrw::g_icaoAirportCodes.insert(mrw::FixedCode<4>(code));
}

void resetAddonLists() {
    mrw::g_publisherGroups().clear();
    mrw::g_simaddons20().clear();
    mrw::g_simaddons24().clear();
    mrw::g_thirdParties20().clear();
    mrw::g_thirdParties24().clear();
    mrw::g_scanReport.clear();
}

void startFacilityWorld(int timeoutMs) {
    mrw::gf_closeFacilityConnection();
    standin::resetWorld();
    standin::startSimulator();
    mrw::gf_setFacilityWaitForTests({std::chrono::milliseconds(timeoutMs), [] { standin::stepFrames(1); }});
}

void makeAirportFolders() {
    fs::create_directories(mrw::g_mySimaddonFolder);
    fs::create_directories(mrw::g_myThirdpartyFolder);
    fs::create_directories(mrw::g_inputFolder);
    fs::create_directories(mrw::g_infoFolder);
}

std::string reportText() {
    std::string text;
    for (const std::string& line : mrw::g_scanReport)
        text += line + "\n";
    return text;
}

}  // namespace mrwtest

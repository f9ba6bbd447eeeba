#include "traffic/parking/park_airports_list.h"

#include <algorithm>
#include <cmath>
#include <exception>
#include <filesystem>
#include <fstream>
#include <set>
#include <vector>

#include <fmt/format.h>

#include "airports/airports_database.h"
#include "config/parameter_catalogue.h"
#include "foundation/file_names.h"
#include "foundation/geometry.h"
#include "foundation/log.h"
#include "foundation/message_line.h"
#include "foundation/text_encoding.h"
#include "foundation/text_file.h"
#include "foundation/text_helpers.h"
#include "foundation/thread_safety.h"
#include "foundation/window_model.h"
#include "traffic/model/user_aircraft_data.h"
#include "traffic/parking/park_airport_pass.h"
#include "traffic/parking/park_airports_list_internal.h"
#include "traffic/parking/parking_controls.h"
#include "traffic/parking/removal_rules.h"
#include "traffic/parking/static_parking.h"

namespace mrw {

namespace {

constexpr std::string_view kFileName = "my_park_airports.txt";
constexpr std::size_t kManyAirports = 3000;
constexpr double kSamePositionDegrees = 1e-8;

// The trimmed, non-empty parts between the commas.
std::vector<std::string> lf_parts(std::string_view line) {
    std::vector<std::string> parts = gf_splitComma(line);
    std::erase_if(parts, [](const std::string& part) { return part.empty(); });
    return parts;
}

std::optional<FixedCode<4>> lf_code(std::string_view text) {
    try {
        return FixedCode<4>(text);
    } catch (const std::invalid_argument&) {
        return std::nullopt;
    }
}

ParkAirportEntry lf_entry(const Airport& airport, std::string reservedStand) {
    return {std::move(reservedStand), airport.lalo(), 0.0, airport.code};
}

bool lf_listed(FixedCode<4> code) REQUIRES(g_parkAirportsMutex) {
    return std::any_of(g_parkAirports.begin(), g_parkAirports.end(),
                       [code](const ParkAirportEntry& entry) { return entry.code == code; });
}

// One line of the file; false when it named an airport the database does not know.
bool lf_readLine(const std::string& line, std::set<std::string>& accepted) REQUIRES(g_parkAirportsMutex) {
    const std::vector<std::string> parts = lf_parts(line);
    if (parts.empty()) return true;
    const std::optional<FixedCode<4>> code = parts.size() <= 2 ? lf_code(parts[0]) : std::nullopt;
    if (!code) {
        gf_logError(fmt::format("{}:{} wrong syntax, skipped", kFileName, line));
        return true;
    }
    if (accepted.contains(parts[0])) {
        gf_logError(fmt::format("{}:{} double, skipped", kFileName, parts[0]));
        return true;
    }
    const Airport* airport = gf_findAirport(*code);
    if (airport == nullptr) {
        gf_setMessage(fmt::format("airport {} is unknown", parts[0]), true);
        return false;
    }
    g_parkAirports.push_back(lf_entry(*airport, parts.size() == 2 ? parts[1] : std::string{}));
    accepted.insert(parts[0]);
    return true;
}

// The add-on airports of other publishers: every file of airports/my_thirdparty named by a known
// airport code (EGLL.xml, EGLL.txt). Other files, such as a readme.txt, are passed over.
void lf_addThirdPartyParkAirports() REQUIRES(g_parkAirportsMutex) {
    std::error_code error;
    if (!std::filesystem::is_directory(g_myThirdpartyFolder, error)) return;
    std::vector<std::filesystem::path> files;
    for (const auto& entry : std::filesystem::directory_iterator(g_myThirdpartyFolder, error)) {
        if (entry.is_regular_file(error)) files.push_back(entry.path());
    }
    std::sort(files.begin(), files.end());
    for (const auto& file : files) {
        const std::optional<FixedCode<4>> code = lf_code(path_to_utf8(file.stem()));
        if (!code || lf_listed(*code)) continue;
        if (const Airport* airport = gf_findAirport(*code)) g_parkAirports.push_back(lf_entry(*airport, {}));
    }
}

// A typed destination stays in front after the list is read again.
void lf_destinationToFront() {
    const std::optional<FixedCode<4>> code = lf_code(g_parameters().DESTINATION.current.get());
    if (!code) return;
    if (const Airport* airport = gf_findAirport(*code)) gf_addParkAirport(*code, airport->lalo());
}

// The file opened for reading; not opened when it is missing or no regular file (a folder of that
// name would otherwise read as endless bytes).
std::ifstream lf_openList() {
    std::error_code error;
    if (!std::filesystem::is_regular_file(g_myParkAirportsFile, error)) return {};
    return std::ifstream(g_myParkAirportsFile, std::ios::binary);
}

void lf_setExcluded(const std::string& standName, bool excluded) {
    auto stand = std::find_if(g_parkStands.begin(), g_parkStands.end(),
                              [&standName](const Stand& s) { return s.id == standName; });
    if (stand != g_parkStands.end()) stand->excluded = excluded;
}

}  // namespace

bool lf_readMyParkAirports() {
    RecursiveMutexLock lock(g_parkAirportsMutex);
    g_parkAirports.clear();
    bool result = true;
    std::ifstream in = lf_openList();
    if (!in.is_open()) {
        gf_logLine(fmt::format("{} not found", path_to_utf8(g_myParkAirportsFile)));
    } else {
        try {
            LineList lines;
            gf_streamToLines(in, lines);
            std::set<std::string> accepted;
            for (const std::string& line : lines)
                result = lf_readLine(line, accepted) && result;
        } catch (const std::exception& e) {
            gf_logError(fmt::format("{}: {}", "lf_readMyParkAirports", e.what()));
            return false;
        }
    }
    const std::size_t count = g_parkAirports.size();
    if (count > 0)
        gf_logLine(fmt::format("\n{:5} park airport{} read from '{}'", count, gf_pluralS(count), kFileName));
    if (count > kManyAirports)
        gf_setMessage(
            fmt::format("Warning: There are a lot of airports ({}), that will cost MRWV much cpu time "
                        "and may cause stutters",
                        count),
            true);
    lf_addThirdPartyParkAirports();
    return result;
}

bool lf_updateReservedStand(const ParkAirportEntry& entry, const std::string& newLine,
                            std::string& fileLine) {
    const std::vector<std::string> parts = lf_parts(fileLine);
    if (parts.empty() || parts[0].size() != 4 || entry.code != parts[0]) return false;
    fileLine = newLine;
    gf_logLine(fmt::format("{}:{} updated stand", kFileName, newLine));
    return true;
}

void gf_writeMyParkAirports() {
    RecursiveMutexLock lock(g_parkAirportsMutex);
    if (g_parkAirports.empty()) return;
    const ParkAirportEntry& entry = g_parkAirports.front();
    std::string line = entry.code.str();
    if (!entry.reservedStand.empty()) line += "," + entry.reservedStand;

    LineList lines;
    if (std::ifstream in = lf_openList(); in.is_open()) {
        gf_streamToLines(in, lines);
        bool found = false;
        // Every line of the airport, so that no older stand of it survives the rewrite.
        for (std::string& fileLine : lines)
            found = lf_updateReservedStand(entry, line, fileLine) || found;
        if (!found) {
            lines.insert(lines.begin(), line);
            gf_logLine(fmt::format("{}:{} new entry", kFileName, line));
        }
    } else {
        lines = {line};
        gf_logLine(fmt::format("{} created with {}", kFileName, line));
    }
    std::sort(lines.begin(), lines.end());
    lines.erase(std::unique(lines.begin(), lines.end()), lines.end());
    if (!gf_writeLines(lines, g_myParkAirportsFile))
        gf_logError(fmt::format("{}: could not write {}", "gf_writeMyParkAirports",
                                path_to_utf8(g_myParkAirportsFile)));
}

void lf_findParkAirport(const Lalo& position) {
    RecursiveMutexLock lock(g_parkAirportsMutex);
    if (g_parkAirports.empty()) return;
    if (std::abs(position.latitude - g_lastParkSortPosition.latitude) < kSamePositionDegrees &&
        std::abs(position.longitude - g_lastParkSortPosition.longitude) < kSamePositionDegrees) {
        ParkAirportEntry& front = g_parkAirports.front();
        front.distanceNm = gf_distanceNm(front.position, position);
        return;
    }
    g_lastParkSortPosition = position;
    if (!g_parameters().DESTINATION.current.empty()) return;
    for (ParkAirportEntry& entry : g_parkAirports)
        entry.distanceNm = gf_distanceNm(entry.position, position);
    // std::list::sort is stable: equal distances keep their order.
    g_parkAirports.sort(
        [](const ParkAirportEntry& a, const ParkAirportEntry& b) { return a.distanceNm < b.distanceNm; });
}

bool lf_logParkAirport(FixedCode<4> code) {
    const Airport* airport = gf_findAirport(code);
    MainWindow& window = g_mainWindow();
    if (airport == nullptr) {
        window.parkAirportCode = FixedCode<4>{};
        gf_invalidateInfoBand();
        return false;
    }
    gf_setParkAirport(*airport);
    gf_logLine(fmt::format("\nThe park airport is {}", code));
    window.parkAirportCode = code;
    gf_invalidateInfoBand();
    return true;
}

bool lf_checkParkAirports(bool checkReservedStand, std::string& message) {
    if (!lf_readMyParkAirports()) return false;
    lf_destinationToFront();
    std::string newStand;
    {
        RecursiveMutexLock lock(g_parkAirportsMutex);
        if (!g_parkAirports.empty() && g_parkAirports.front().code == g_parkAirport.code)
            newStand = g_parkAirports.front().reservedStand;
    }
    const std::string oldStand = g_userStandName.get();
    if (checkReservedStand && g_userDataReceived.load() && !g_parkingUpdateRunning.load() &&
        g_mainWindow().userStandText.empty() && !newStand.empty() && newStand != oldStand) {
        message = fmt::format("reserved stand changed from '{}' to '{}'", oldStand, newStand);
        if (!oldStand.empty()) lf_setExcluded(oldStand, false);
        g_userStandName.set(newStand);
        lf_clearUserStand(newStand);
        lf_setExcluded(newStand, true);
        gf_invalidateInfoBand();
    }
    if (message.empty()) message = "park airports and stands are okay";
    return true;
}

void gf_addParkAirport(FixedCode<4> code, const Lalo& position) {
    RecursiveMutexLock lock(g_parkAirportsMutex);
    auto found = std::find_if(g_parkAirports.begin(), g_parkAirports.end(),
                              [code](const ParkAirportEntry& entry) { return entry.code == code; });
    if (found != g_parkAirports.end()) {
        g_parkAirports.splice(g_parkAirports.begin(), g_parkAirports, found);
        return;
    }
    g_parkAirports.push_front({std::string{}, position, 0.0, code});
    gf_writeMyParkAirports();
}

}  // namespace mrw

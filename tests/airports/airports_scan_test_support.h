#pragma once
// Fixtures of the airports-scan tests: known airports and publishers, BGL files written from their
// byte layout, package folders with manifests, and the simulated simulator's facility data.

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "airports_test_support.h"

namespace mrwtest {

struct BglHelipad {
    double latitude = 0.0;
    double longitude = 0.0;
    float widthM = 20.0F;
};

struct BglParking {
    unsigned nameCode = 12;  // 'A'
    unsigned type = 4;
    unsigned number = 1;
    float radiusM = 20.0F;
    float headingDeg = 90.0F;
    double latitude = 0.0;
    double longitude = 0.0;
};

struct BglAirport {
    std::string code;
    std::int32_t altitudeMm = 0;
    std::vector<BglHelipad> helipads;
    std::vector<BglParking> parkings;
};

struct BglLayout {
    std::vector<BglAirport> airports;  // the records of the airport section's sub-section
    std::vector<BglAirport> after;     // records placed after the sub-section's end
    std::uint32_t sectionFlags = 0;
    std::uint32_t sectionType = 3;
    std::uint32_t sections = 1;  // section entries, every one pointing at the one sub-section
};

// The file's bytes: header, the section entries, the sub-section table and the records.
std::string bglBytes(const BglLayout& layout);
// A file whose airport section holds these airports.
std::string bglFileOf(std::vector<BglAirport> airports);
std::uint32_t bglIdent(const std::string& code);

// Makes the codes known to the airports database and lists them in input/ICAO_airports.txt terms
// (g_icaoAirportCodes); `listedOnly` codes are listed but not known.
void knowAirports(const std::vector<std::string>& known, const std::vector<std::string>& listedOnly = {});
// Empties the aircraft database's publisher and add-on airport lists.
void resetAddonLists();

// A fresh simulated simulator that is running, and facility reads that step it instead of sleeping.
void startFacilityWorld(int timeoutMs = 5000);

// The program folder's airport folders and input folder, created empty.
void makeAirportFolders();

// The scan report as one text.
std::string reportText();

}  // namespace mrwtest

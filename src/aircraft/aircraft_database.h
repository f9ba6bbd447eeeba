#pragma once
// The aircraft database: the process-wide containers read from input/dbase.enc once per process.
// Written on the main worker while the database is read, read-only afterwards (also from the
// liveries-scan workers). Each is created on first use and never destroyed, because detached
// threads look codes and registrations up until the process ends.

#include "aircraft/ac_designation.h"
#include "aircraft/group_peers.h"

#include <set>
#include <string>
#include <vector>

namespace mrw {

using CodeSet = std::set<std::string>;

struct ThirdPartyEntry {
    std::string publisherName;
    std::vector<std::string> airportCodes;
};

struct DbaseRecord {
    std::string registration;
    AcDesignation designation;  // fromDbase is always 1
};

CodeSet& g_icaoModels();    // section aircrafts
CodeSet& g_icaoAirlines();  // section ICAO_airlines
// One group of model codes per similar element of section similar_types, each sorted ascending.
CodeGroups& g_similarTypeGroups();
// One group of registration prefixes per similar element of section prefixes, each sorted.
CodeGroups& g_prefixGroups();
// One group of names of one publisher per pub element, the first being the canonical name.
CodeGroups& g_publisherGroups();
CodeSet& g_simaddons20();  // airports that come with the 2020 simulator
CodeSet& g_simaddons24();  // airports that come with the 2024 simulator
std::vector<ThirdPartyEntry>& g_thirdParties20();
std::vector<ThirdPartyEntry>& g_thirdParties24();
// Sorted by registration in byte order, no registration twice.
std::vector<DbaseRecord>& g_dbaseRecords();

}  // namespace mrw

#include "aircraft/aircraft_database.h"

namespace mrw {

// Every container is allocated once and never destroyed: see the header.

CodeSet& g_icaoModels() {
    static auto* codes = new CodeSet();
    return *codes;
}

CodeSet& g_icaoAirlines() {
    static auto* codes = new CodeSet();
    return *codes;
}

CodeGroups& g_similarTypeGroups() {
    static auto* groups = new CodeGroups();
    return *groups;
}

CodeGroups& g_prefixGroups() {
    static auto* groups = new CodeGroups();
    return *groups;
}

CodeGroups& g_publisherGroups() {
    static auto* groups = new CodeGroups();
    return *groups;
}

CodeSet& g_simaddons20() {
    static auto* codes = new CodeSet();
    return *codes;
}

CodeSet& g_simaddons24() {
    static auto* codes = new CodeSet();
    return *codes;
}

std::vector<ThirdPartyEntry>& g_thirdParties20() {
    static auto* entries = new std::vector<ThirdPartyEntry>();
    return *entries;
}

std::vector<ThirdPartyEntry>& g_thirdParties24() {
    static auto* entries = new std::vector<ThirdPartyEntry>();
    return *entries;
}

std::vector<DbaseRecord>& g_dbaseRecords() {
    static auto* records = new std::vector<DbaseRecord>();
    return *records;
}

}  // namespace mrw

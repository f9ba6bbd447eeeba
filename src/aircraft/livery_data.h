#pragma once
// One livery found by the liveries scan, and the program-wide list of them that the scan fills and
// the livery catalogue uses up.

#include "aircraft/ac_designation.h"

#include <cstdint>
#include <list>
#include <string>

namespace mrw {

struct LiveryData {
    std::string title;         // the [fltsim.N] title: the name the simulator creates the livery by
    std::string registration;  // empty when the section names none
    AcDesignation codes;
    std::int16_t priority = 0;  // the folder's number in the scan (1 to 10); 0 when read from the file

    // True when the airline or the model is missing: such a record is never kept.
    bool isIncomplete() const { return codes.airline == 0 || codes.model == 0; }

    // Equal title, airline, operator, model and registration; cargo and priority take no part.
    friend bool operator==(const LiveryData& a, const LiveryData& b) {
        return a.title == b.title && a.codes.airline == b.codes.airline &&
               a.codes.operatorAirline == b.codes.operatorAirline && a.codes.model == b.codes.model &&
               a.registration == b.registration;
    }
};

// The order of the scan's result and of LiveriesScanned.xml: airline, operator and model by their
// code texts (byte order, the empty code first), then the title.
bool gf_liveryLess(const LiveryData& a, const LiveryData& b);

// Stable sort by gf_liveryLess.
void gf_sortLiveries(std::list<LiveryData>& liveries);

// The scanned liveries. Main worker only, no lock: scan workers hand their records over through
// futures. Created on first use and never destroyed.
std::list<LiveryData>& g_scannedLiveries();

}  // namespace mrw

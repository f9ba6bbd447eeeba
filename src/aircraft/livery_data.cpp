#include "aircraft/livery_data.h"

#include "aircraft/code_tables.h"

namespace mrw {

namespace {

// Below, at or above 0 as the code texts of two indexes compare; equal indexes compare equal without a
// lookup.
int lf_compareCodes(CodeTable& table, CodeIndex a, CodeIndex b) {
    if (a == b) return 0;
    return table.text(a).compare(table.text(b));
}

}  // namespace

bool gf_liveryLess(const LiveryData& a, const LiveryData& b) {
    if (const int c = lf_compareCodes(g_airlineCodes(), a.codes.airline, b.codes.airline)) return c < 0;
    if (const int c = lf_compareCodes(g_airlineCodes(), a.codes.operatorAirline, b.codes.operatorAirline)) {
        return c < 0;
    }
    if (const int c = lf_compareCodes(g_modelCodes(), a.codes.model, b.codes.model)) return c < 0;
    return a.title < b.title;
}

void gf_sortLiveries(std::list<LiveryData>& liveries) {
    if (liveries.size() >= 2) liveries.sort(gf_liveryLess);
}

std::list<LiveryData>& g_scannedLiveries() {
    static auto* liveries = new std::list<LiveryData>();  // never destroyed: see the header
    return *liveries;
}

}  // namespace mrw

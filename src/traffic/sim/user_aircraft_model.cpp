// The user aircraft's title and model (requests 106 and 107): the window's aircraft text and the
// half wing span the static parking keeps clear around the user.
#include <fmt/format.h>

#include <array>
#include <string>
#include <string_view>
#include <utility>

#include "aircraft/ac_category.h"
#include "aircraft/code_tables.h"
#include "aircraft/wingspans.h"
#include "foundation/log.h"
#include "foundation/message_line.h"
#include "foundation/text_encoding.h"
#include "foundation/user_error_exception.h"
#include "foundation/window_model.h"
#include "traffic/sim/sim_dispatch.h"
#include "traffic/sim/sim_dispatch_internal.h"

namespace mrw {
namespace {

constexpr std::size_t kTitleLength = 48;
constexpr std::size_t kModelBytes = 32;  // STRING32

double lf_halfSpan(std::string_view model) {
    return gf_halfWingspanNm(gf_modelIndex(model));
}

// "abc.0.text" names: the model code stands just before ".0.text"; the longest one the database
// knows a span for wins.
std::string lf_modelBeforeText(const std::string& model) {
    const std::size_t p = model.find(".0.text");
    for (const std::size_t n : {4u, 3u, 2u}) {
        if (p < n) continue;
        const std::string candidate = model.substr(p - n, n);
        if (lf_halfSpan(candidate) != 0.0) return candidate;
    }
    return model;
}

std::string lf_model737FromTitle(const std::string& title) {
    constexpr std::array<std::pair<std::string_view, std::string_view>, 4> kVariants = {
        {{"DG 737-800", "B738"}, {"DG 737-700", "B737"}, {"DG 737-600", "B736"}, {"DG 737-900", "B739"}}};
    for (const auto& [text, model] : kVariants) {
        if (title.find(text) != std::string::npos) return std::string(model);
    }
    return "737";
}

std::string lf_correctedModel(const std::string& model) {
    if (model == "A350-900") return "A359";
    if (model == "N738B") return "B38M";
    if (model == "777") return "772";
    if (model == "A330-200 (RR)") return "A332";
    if (model.size() >= 7 && model.find(".0.text") != std::string::npos) return lf_modelBeforeText(model);
    if (model.size() >= 5 && model.starts_with("$$:")) return model.substr(3);
    if (model == "737") return lf_model737FromTitle(g_userTitle);
    return model;
}

// Aerosoft's Airbus titles name the model the model text lacks.
std::string lf_modelFromTitle() {
    constexpr std::array<std::pair<std::string_view, std::string_view>, 3> kTitles = {
        {{"Aerosoft A319", "A319"}, {"Aerosoft A320", "A320"}, {"Aerosoft A321", "A321"}}};
    if (g_userTitle.size() < 13) return {};
    for (const auto& [title, model] : kTitles) {
        if (g_userTitle.starts_with(title)) return std::string(model);
    }
    return {};
}

void lf_setModelKnown(bool known) {
    g_mainWindow().userModelKnown = known;
    gf_invalidateStatusBand();
}

void lf_onModel(std::string model) {
    const double largest = g_maxHalfWingspan.load();
    if (model.empty()) {
        g_mainWindow().userAircraftText.set("Unknown (encrypted?) aircraft");
        gf_invalidateStatusBand();
        gf_setMessage(
            "171: No model info from your user aircraft received in SimConnect, CRJ7 is taken instead", true);
        const double crj7 = lf_halfSpan("CRJ7");
        g_userHalfSpanNm = crj7 != 0.0 ? crj7 : largest;
        return;
    }
    gf_logIndented(fmt::format("model raw: {}", model));
    model = lf_correctedModel(model);
    std::string report = "SimConnect: User aircraft model: " + model;
    if (model.find("camerapod") != std::string::npos || model.find("Crew Vessel") != std::string::npos) {
        lf_setModelKnown(true);
        g_userHalfSpanNm = lf_halfSpan("E190");
        gf_logIndented(report);
        return;
    }
    // A longer text is no model code; a code without a span in the database is unknown too. A code
    // whose half span equals the largest (A388) is known like any other: the title is tried only for
    // a model without a span.
    double halfSpan = model.size() > 4 ? 0.0 : lf_halfSpan(model);
    if (halfSpan == 0.0) {
        const std::string deduced = lf_modelFromTitle();
        if (!deduced.empty()) {
            model = deduced;
            report = "SimConnect: User aircraft model deduced from title: " + model;
            halfSpan = lf_halfSpan(model);
        }
    }
    if (halfSpan == 0.0) {
        g_userHalfSpanNm = largest;
        lf_setModelKnown(false);
        gf_setMessage("User aircraft wing span unknown, max is taken instead, please report in my Forum!",
                      true);
    } else {
        g_userHalfSpanNm = halfSpan;
        lf_setModelKnown(true);
        report += fmt::format(", half wing span: {:.1F} meter", halfSpan * 1852.0);
    }
    report += fmt::format(", category: {}", gf_categoryName(gf_acCategory(gf_modelIndex(model))));
    gf_logIndented(report);
}

}  // namespace

void gf_onUserTitle(const SIMCONNECT_RECV* pData, DWORD cbData) {
    if (!gf_recordCovers(pData, cbData, kObjectDataOffset)) return;
    std::string title = gf_recordText(pData, cbData, kObjectDataOffset, cbData);
    if (title.empty()) {
        gf_logLine("! Title of your aircraft is empty?");
        return;
    }
    title = gf_utf8Prefix(title, kTitleLength);
    if (title == g_userTitle) return;
    g_mainWindow().userAircraftText.set(title);
    gf_invalidateStatusBand();
    g_userTitle = title;
    gf_logIndented("SimConnect: User aircraft title: " + title);
}

void gf_onUserModel(const SIMCONNECT_RECV* pData, DWORD cbData) {
    if (!gf_recordCovers(pData, cbData, kObjectDataOffset + kModelBytes)) return;
    try {
        lf_onModel(gf_recordText(pData, cbData, kObjectDataOffset, kModelBytes));
    } catch (const UserErrorException&) {
        throw;
    } catch (...) {
        throw UserErrorException(73, "It looks like you have not selected an aircraft as user vehicle");
    }
}

}  // namespace mrw

#include "airports/airports_database.h"

#include <algorithm>
#include <exception>
#include <stdexcept>

#include <fmt/format.h>

#include "airports/airports_database_internal.h"
#include "foundation/data_decryption.h"
#include "foundation/file_names.h"
#include "foundation/file_system.h"
#include "foundation/log.h"
#include "foundation/text_encoding.h"
#include "foundation/user_error_exception.h"

namespace mrw {

namespace {

constexpr std::size_t kAirportsCapacity = 15000;

// Set once a read has finished without error; a failed read leaves it clear so that the next run
// start reads again.
bool g_airportsRead = false;

// A failed read must not leave half a database behind, nor records that the next read would
// append a second time.
void lf_clearAirports() {
    g_airports.clear();
    g_knownAirportCodes.clear();
}

// Throws on every failure; the caller removes the decrypted file.
void lf_loadAirportsXml() {
    const std::string pathText = path_to_utf8(g_airportsXmlFile);
    pugi::xml_document document;
    const pugi::xml_parse_result result = document.load_file(g_airportsXmlFile.c_str());
    if (!result) throw std::runtime_error(pathText + " not loaded: " + result.description());
    const pugi::xml_node airports = document.child("root").child("airports");
    if (!airports) throw std::runtime_error("Missing <airports> root in: " + pathText);
    for (const pugi::xml_node ap : airports.children("ap")) {
        gf_readAirport(ap, FixedCode<4>(ap.attribute("c").value()));
    }
    std::sort(g_airports.begin(), g_airports.end(),
              [](const Airport& a, const Airport& b) { return a.code < b.code; });
    gf_logLine(fmt::format("{:5} airports read", g_airports.size()));
}

}  // namespace

void gf_resetAirportsDatabase() {
    lf_clearAirports();
    g_airportsRead = false;
}

bool gf_readAirports() {
    if (g_airportsRead) return !g_airports.empty();
    try {
        // A failed decryption shows below as a file that cannot be loaded.
        gf_streamDecrypt(g_airportsEncFile, g_airportsXmlFile);
    } catch (const std::exception& e) {
        gf_logError(fmt::format("{} exception : {}", "gf_readAirports", e.what()));
        throw;
    }
    lf_clearAirports();
    if (g_airports.capacity() < kAirportsCapacity) g_airports.reserve(kAirportsCapacity);
    try {
        lf_loadAirportsXml();
    } catch (const std::exception& e) {
        lf_clearAirports();
        gf_removeFile(g_airportsXmlFile);
        throw UserErrorException(88, e.what());
    }
    gf_removeFile(g_airportsXmlFile);
    g_airports.shrink_to_fit();
    g_airportsRead = true;
    return !g_airports.empty();
}

void gf_readAirport(const pugi::xml_node& ap, FixedCode<4> code) {
    const pugi::xml_attribute latitude = ap.attribute("la");
    const pugi::xml_attribute longitude = ap.attribute("lo");
    const pugi::xml_attribute altitude = ap.attribute("a");
    const pugi::xml_attribute stands = ap.attribute("s");
    const pugi::xml_attribute iata = ap.attribute("i");
    if (!latitude || !longitude) {
        gf_logError(fmt::format("Missing latLons for airport '{}'", code));
        return;
    }
    if (!altitude) {
        gf_logError(fmt::format("Missing alt for airport '{}'", code));
        return;
    }
    if (!stands) gf_logError(fmt::format("Missing stands for airport '{}'", code));
    try {
        const FixedCode<3> iataCode = iata ? FixedCode<3>(iata.value()) : g_noIataCode;
        g_airports.push_back(Airport{code, iataCode, latitude.as_double(), longitude.as_double(),
                                     altitude.as_float(), stands.as_int()});
        g_knownAirportCodes.insert(code);
    } catch (const std::exception& e) {
        gf_logLine(fmt::format("Error storing airport '{}' '{}': {}", code, iata.value(), e.what()));
    }
}

}  // namespace mrw

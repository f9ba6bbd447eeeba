#pragma once
// The livery catalogue: in-memory indexes of the scanned livery titles, keyed by airline (or airline
// and operator), model, passenger or cargo use and aircraft category, built from LiveriesScanned.xml
// at start-up. The catalogue owns every title text; all other indexes, the registration-code store
// and every aircraft that gets a livery hold views of these texts.
//
// Threads: the indexes are built, read and emptied only on the main worker; no lock guards them.
// Another thread that asks for the catalogue to be emptied (the SCAN_LIVERIES check box) only files a
// request, which the main worker serves at its next safe point: the end of the run (which such a
// request ends anyway) or, at the latest, the start of the next build.
//
// Lifetime of title views: valid until the catalogue is emptied. Views held outside the catalogue
// (the livery title of an aircraft record, a queued creation, the per-hexid livery cache) must be
// gone by then, which is why the emptying waits for the run end, after the engine has dropped its
// records and emptied the per-hexid cache. Emptied together with the catalogue: the
// registration-code store (views). Own copies, never emptied with it: the traffic engine's
// failed-title and failed-designation sets, the don't-use titles. Holding no views and kept: the
// similar-model tables, the matching step counters and the interned "{airline}{operator}" keys.

#include <array>
#include <atomic>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "aircraft/code_table.h"

namespace mrw {

struct CatalogueTitle {
    std::string titleText;  // the livery title exactly as the scan found it
    bool isCargo = false;
};

// A non-owning view of the titleText of one CatalogueTitle; empty means no title. Valid until the
// catalogue is emptied.
using TitleView = std::string_view;

using ModelTitles = std::unordered_map<CodeIndex, std::vector<CatalogueTitle>>;
// Model -> title views.
using TitlePool = std::unordered_map<CodeIndex, std::vector<TitleView>>;
// Key -> model -> title views.
using KeyTitlePools = std::unordered_map<CodeIndex, TitlePool>;

inline constexpr int kPassengerRow = 0;
inline constexpr int kCargoRow = 1;

// Created on first use and never destroyed: the main worker is detached.
// Key (airline, or the interned "{airline}{operator}" text) -> model -> titles in scanned order.
std::unordered_map<CodeIndex, ModelTitles>& g_catalogueTitles();
// Row 0 passenger titles, row 1 cargo titles of each key and model, in catalogue order. A row holds
// a model only when it has titles of that row, and a key only when it has such a model.
std::array<KeyTitlePools, 2>& g_airlineModelTitles();
// Row 0 passenger, row 1 cargo: model -> views of its titles under every key (generic "ZZZ" and
// private "PVT" included), ascending by title.
std::array<TitlePool, 2>& g_modelTitlePools();
// The models of category Light, Buzjets and Rotorcraft that have a pool, ascending by index.
std::vector<CodeIndex>& g_lightModels();
std::vector<CodeIndex>& g_buzjetModels();
std::vector<CodeIndex>& g_rotorcraftModels();

// Set when gf_processScannedLiveries has built everything; cleared when the catalogue is emptied
// (and by the callers of gf_clearLiveryCatalogue).
inline std::atomic<bool> g_liveriesProcessed{false};

// Builds the catalogue, the registration-code store and the similar-model tables from
// LiveriesScanned.xml and reports the categories; skipped when already built in this process. Main
// worker only. Exceptions of its steps propagate, leaving every index empty and g_liveriesProcessed
// false.
void gf_processScannedLiveries();
// Empties every index and the registration-code store. On the thread that built the catalogue it
// does so at once (call it there only where no aircraft record holds a title view); from any other
// thread it only files a request (see above).
void gf_clearLiveryCatalogue();
// The main worker's safe point: serves a pending request to empty the catalogue and clears
// g_liveriesProcessed. Called by the run end once the engine's records and the per-hexid livery cache
// are gone; gf_processScannedLiveries serves a request first thing too.
void gf_serveCatalogueClearRequest();

// True when the catalogue holds the model under the key.
bool gf_hasLivery(CodeIndex key, CodeIndex model);

}  // namespace mrw

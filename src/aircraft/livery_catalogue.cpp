#include "aircraft/livery_catalogue.h"

#include <algorithm>
#include <exception>
#include <iterator>
#include <thread>

#include <fmt/format.h>

#include "aircraft/ac_category.h"
#include "aircraft/code_tables.h"
#include "aircraft/liveries_scanned_xml.h"
#include "aircraft/livery_catalogue_internal.h"
#include "aircraft/livery_data.h"
#include "aircraft/regcode_store.h"
#include "aircraft/regcode_store_internal.h"
#include "aircraft/similar_models.h"
#include "config/control_updates.h"
#include "config/parameter_catalogue.h"
#include "config/random_helpers.h"
#include "foundation/log.h"
#include "foundation/text_helpers.h"
#include "foundation/window_model.h"

namespace mrw {
namespace {

constexpr std::size_t kCatalogueKeysReserved = 2048;
constexpr std::size_t kCargoKeysReserved = 256;
constexpr std::size_t kWorkingTitlesReserved = 4048;
constexpr std::size_t kPassengerModelsReserved = 324;
constexpr std::size_t kCargoModelsReserved = 75;
constexpr std::size_t kPoolViewsReserved = 17000;
constexpr std::size_t kRegcodesReserved = 36000;
constexpr float kRegcodesMaxLoadFactor = 0.7f;
constexpr std::size_t kModelsPerLine = 20;

// The thread that builds the catalogue (the main worker of the current run), and a request to empty
// the catalogue filed from another thread.
std::atomic<std::thread::id> g_catalogueThread{};
std::atomic<bool> g_clearRequested{false};

// Title text -> the first catalogue title of that text in container order; views into the catalogue.
std::unordered_map<std::string_view, TitleView>& lf_titleIndex() {
    static auto* index = new std::unordered_map<std::string_view, TitleView>();  // never destroyed
    return *index;
}

void lf_showLiveriesCount(std::uint64_t count) {
    g_mainWindow().liveriesCount.store(count);
    gf_invalidateStatusBand();
}

// Collects the titles of one (key, model) and the models of one key while the sorted list is walked.
class CatalogueBuilder {
  public:
    CatalogueBuilder() { m_titles.reserve(kWorkingTitlesReserved); }

    void addTitle(const LiveryData& livery) {
        CatalogueTitle title{livery.title, livery.codes.isCargo != 0};
        title.titleText.shrink_to_fit();
        m_titles.push_back(std::move(title));
    }
    // Enters the collected titles under the model; the working vector keeps its room.
    void endModel(CodeIndex model) {
        if (m_titles.empty()) return;
        m_models.try_emplace(model, std::make_move_iterator(m_titles.begin()),
                             std::make_move_iterator(m_titles.end()));
        m_titles.clear();
    }
    // Enters the collected models under the key; an existing key keeps its content.
    void endKey(CodeIndex key) {
        if (m_models.empty()) return;
        g_catalogueTitles().try_emplace(key, std::move(m_models));
        m_models = ModelTitles{};
    }

  private:
    std::vector<CatalogueTitle> m_titles;
    ModelTitles m_models;
};

// The scanned list is sorted by airline, operator, model and title, so the liveries of one group are
// adjacent. First the liveries without operator under their airline, then those with an operator
// under the "{airline}{operator}" key. (The operator's own code gets no empty entry of its own.)
void lf_buildLiveryCatalogue() {
    g_catalogueTitles().reserve(kCatalogueKeysReserved);
    CatalogueBuilder builder;
    CodeIndex model = 0;
    CodeIndex airline = 0;
    for (const LiveryData& livery : g_scannedLiveries()) {
        if (livery.codes.operatorAirline != 0) continue;
        if (livery.codes.model != model) {
            builder.endModel(model);
            model = livery.codes.model;
        }
        if (livery.codes.airline != airline) {
            builder.endModel(model);
            builder.endKey(airline);
            airline = livery.codes.airline;
        }
        builder.addTitle(livery);
    }
    builder.endModel(model);
    builder.endKey(airline);

    model = 0;
    airline = 0;
    CodeIndex operatorAirline = 0;
    for (const LiveryData& livery : g_scannedLiveries()) {
        if (livery.codes.operatorAirline == 0) continue;
        if (livery.codes.model != model) {
            builder.endModel(model);
            model = livery.codes.model;
        }
        if (livery.codes.airline != airline || livery.codes.operatorAirline != operatorAirline) {
            builder.endModel(model);
            if (airline != 0 || operatorAirline != 0)
                builder.endKey(gf_airlineOperatorKey(airline, operatorAirline));
            airline = livery.codes.airline;
            operatorAirline = livery.codes.operatorAirline;
        }
        builder.addTitle(livery);
    }
    builder.endModel(model);
    if (operatorAirline != 0) builder.endKey(gf_airlineOperatorKey(airline, operatorAirline));
}

// Built in the container order of the catalogue walk, so the first title of a text wins.
void lf_buildTitleIndex() {
    auto& index = lf_titleIndex();
    for (const auto& [key, models] : g_catalogueTitles()) {
        for (const auto& [model, titles] : models) {
            for (const CatalogueTitle& title : titles)
                index.try_emplace(title.titleText, title.titleText);
        }
    }
}

void lf_buildAirlineModelTables() {
    auto& rows = g_airlineModelTitles();
    rows[kPassengerRow].reserve(kCatalogueKeysReserved);
    rows[kCargoRow].reserve(kCargoKeysReserved);
    for (const auto& [key, models] : g_catalogueTitles()) {
        std::array<TitlePool, 2> keyRows;
        for (const auto& [model, titles] : models) {
            std::array<std::vector<TitleView>, 2> views;
            for (const CatalogueTitle& title : titles) {
                views[title.isCargo ? kCargoRow : kPassengerRow].push_back(title.titleText);
            }
            for (int row = 0; row < 2; ++row) {
                if (views[row].empty()) continue;
                views[row].shrink_to_fit();
                keyRows[row].emplace(model, std::move(views[row]));
            }
        }
        for (int row = 0; row < 2; ++row) {
            if (!keyRows[row].empty()) rows[row].emplace(key, std::move(keyRows[row]));
        }
    }
}

struct PoolEntry {
    TitleView title;
    CodeIndex model = 0;
    bool isCargo = false;
};

void lf_enterPool(int row, CodeIndex model, std::vector<TitleView>& views) {
    if (views.empty()) return;
    g_modelTitlePools()[row].try_emplace(model, views.begin(), views.end());
    views.clear();
}

// The pools hold each model's titles ascending by title, so that a choice without RANDOM is fixed.
void lf_buildModelPools() {
    std::vector<PoolEntry> entries;
    for (const auto& [key, models] : g_catalogueTitles()) {
        for (const auto& [model, titles] : models) {
            for (const CatalogueTitle& title : titles)
                entries.push_back({title.titleText, model, title.isCargo});
        }
    }
    std::sort(entries.begin(), entries.end(), [](const PoolEntry& a, const PoolEntry& b) {
        return a.model != b.model ? a.model < b.model : a.title < b.title;
    });
    std::array<std::vector<TitleView>, 2> views;
    views[kPassengerRow].reserve(kPoolViewsReserved);
    views[kCargoRow].reserve(kPoolViewsReserved);
    CodeIndex model = 0;
    for (const PoolEntry& entry : entries) {
        if (entry.model != model && entry.model != 0) {
            lf_enterPool(kCargoRow, model, views[kCargoRow]);
            lf_enterPool(kPassengerRow, model, views[kPassengerRow]);
            model = entry.model;
        }
        views[entry.isCargo ? kCargoRow : kPassengerRow].push_back(entry.title);
    }
    lf_enterPool(kCargoRow, model, views[kCargoRow]);
    lf_enterPool(kPassengerRow, model, views[kPassengerRow]);
}

// Writes the models' codes, 20 to a line, each line beginning with two blanks; fills the category's
// model list when one of the flags is set.
void lf_collectCategoryModels(bool isLight, bool isBuzjets, bool isRotorcraft,
                              const std::vector<CodeIndex>& models) {
    std::string line = "  ";
    std::size_t pending = 0;
    for (const CodeIndex model : models) {
        if (isLight) {
            g_lightModels().push_back(model);
        } else if (isBuzjets) {
            g_buzjetModels().push_back(model);
        } else if (isRotorcraft) {
            g_rotorcraftModels().push_back(model);
        }
        line += g_modelCodes().text(model);
        line += ',';
        if (++pending == kModelsPerLine) {
            line.pop_back();
            gf_logLine(line);
            line = "  ";
            pending = 0;
        }
    }
    if (pending == 0) return;
    line.pop_back();
    gf_logLine(line);
}

// The traffic setting of a category that can be switched off, with its words in the log line.
struct CategorySwitch {
    CheckBoxParameter* parameter = nullptr;
    std::string_view what;
};

CategorySwitch lf_categorySwitch(AcCategory category) {
    auto& p = g_parameters();
    switch (category) {
        case AcCategory::Light:
            return {&p.LIGHT_AIRCRAFT, "light aircraft"};
        case AcCategory::HighPerf:
            return {&p.HIGH_PERF_AIRCRAFT, "High Perf aircraft"};
        case AcCategory::Rotorcraft:
            return {&p.HELICOPTERS, "Helicopters"};
        default:
            return {};
    }
}

// "livery" for one, "liveries" for any other count ("liverie" + plural ending misspells the one).
std::string_view lf_liveries(std::size_t count) {
    return count == 1 ? "livery" : "liveries";
}

void lf_reportCategory(AcCategory category) {
    std::array<std::size_t, 2> titleCounts{};
    std::vector<CodeIndex> models;
    for (int row = 0; row < 2; ++row) {
        for (const auto& [model, views] : g_modelTitlePools()[row]) {
            if (gf_acCategory(model) != category) continue;
            titleCounts[row] += views.size();
            models.push_back(model);
        }
    }
    const CategorySwitch categorySwitch = lf_categorySwitch(category);
    if (models.empty()) {
        gf_logLine(fmt::format("Category {}: No livery found", gf_categoryName(category)));
        if (categorySwitch.parameter == nullptr) return;
        CheckBoxParameter& parameter = *categorySwitch.parameter;
        if (parameter.current.exchange(false)) {
            parameter.save();
            gf_logLine(fmt::format("{} temporarily switched off because you do not have {} installed",
                                   parameter.name, categorySwitch.what));
        }
        gf_enableControl(parameter, false);
        return;
    }
    const std::size_t pax = titleCounts[kPassengerRow];
    const std::size_t cargo = titleCounts[kCargoRow];
    const std::string cargoTail =
        cargo == 0 ? std::string{} : fmt::format(" and {} cargo {}", cargo, lf_liveries(cargo));
    gf_logLine(
        fmt::format("Category {}: {} pax {}{}", gf_categoryName(category), pax, lf_liveries(pax), cargoTail));
    std::sort(models.begin(), models.end());
    models.erase(std::unique(models.begin(), models.end()), models.end());
    lf_collectCategoryModels(category == AcCategory::Light, category == AcCategory::Buzjets,
                             category == AcCategory::Rotorcraft, models);
    if (categorySwitch.parameter != nullptr) gf_enableControl(*categorySwitch.parameter, true);
}

void lf_reportGenericLiveries() {
    const auto& catalogue = g_catalogueTitles();
    const auto generic = catalogue.find(gf_airlineIndex("ZZZ"));
    if (generic == catalogue.end()) {
        gf_logLine("No generic liveries");
        return;
    }
    std::vector<CodeIndex> models;
    for (const auto& entry : generic->second)
        models.push_back(entry.first);
    std::sort(models.begin(), models.end());
    gf_logLine(fmt::format("{} model{} have a generic livery", models.size(), gf_pluralS(models.size())));
    lf_collectCategoryModels(false, false, false, models);
}

CodeIndex lf_randomModel(const std::vector<CodeIndex>& models) {
    return models.empty() ? CodeIndex{0} : models[gf_randomIndex(models.size())];
}

// Empties every index; the title texts go last, when nothing refers to them any more.
void lf_emptyCatalogue() {
    g_lightModels().clear();
    g_buzjetModels().clear();
    g_rotorcraftModels().clear();
    gf_clearRegcodeStore();
    for (auto& pool : g_modelTitlePools())
        pool.clear();
    for (auto& row : g_airlineModelTitles())
        row.clear();
    lf_titleIndex().clear();
    g_catalogueTitles().clear();
}

void lf_buildEverything() {
    g_modelTitlePools()[kCargoRow].reserve(kCargoModelsReserved);
    g_modelTitlePools()[kPassengerRow].reserve(kPassengerModelsReserved);
    auto& regcodes = g_regcodeTitles();
    regcodes.reserve(kRegcodesReserved);
    regcodes.max_load_factor(kRegcodesMaxLoadFactor);

    gf_readLiveriesScanned();
    lf_showLiveriesCount(g_scannedLiveries().size());
    lf_buildLiveryCatalogue();
    lf_buildTitleIndex();
    lf_buildAirlineModelTables();
    lf_processInlineRegcodes();
    lf_processOfflineRegcodes();
    gf_logLine(fmt::format("{:5} registration codes", regcodes.size()));
    lf_buildModelPools();
    gf_logLine(fmt::format("{:5} airlines, {} pax aircraft models and {} cargo aircraft models",
                           g_catalogueTitles().size(), g_modelTitlePools()[kPassengerRow].size(),
                           g_modelTitlePools()[kCargoRow].size()));
    gf_buildSimilarModels();
    gf_logLine(" ");
    for (int category = 0; category < kAcCategoryCount; ++category) {
        lf_reportCategory(static_cast<AcCategory>(category));
    }
    lf_reportGenericLiveries();
}

}  // namespace

std::unordered_map<CodeIndex, ModelTitles>& g_catalogueTitles() {
    static auto* titles = new std::unordered_map<CodeIndex, ModelTitles>();  // never destroyed
    return *titles;
}

std::array<KeyTitlePools, 2>& g_airlineModelTitles() {
    static auto* rows = new std::array<KeyTitlePools, 2>();  // never destroyed
    return *rows;
}

std::array<TitlePool, 2>& g_modelTitlePools() {
    static auto* pools = new std::array<TitlePool, 2>();  // never destroyed
    return *pools;
}

std::vector<CodeIndex>& g_lightModels() {
    static auto* models = new std::vector<CodeIndex>();  // never destroyed
    return *models;
}

std::vector<CodeIndex>& g_buzjetModels() {
    static auto* models = new std::vector<CodeIndex>();  // never destroyed
    return *models;
}

std::vector<CodeIndex>& g_rotorcraftModels() {
    static auto* models = new std::vector<CodeIndex>();  // never destroyed
    return *models;
}

void gf_processScannedLiveries() {
    g_catalogueThread.store(std::this_thread::get_id());
    gf_serveCatalogueClearRequest();
    if (g_liveriesProcessed.load()) {
        gf_logLine("Processing scanned liveries skipped; already done in previous start-up");
        g_scannedLiveries().clear();
        return;
    }
    try {
        lf_buildEverything();
    } catch (...) {
        // A build that failed half-way must not leave views into a half-built catalogue behind.
        lf_emptyCatalogue();
        throw;
    }
    g_liveriesProcessed.store(true);
    gf_invalidateStatusBand();
    g_scannedLiveries().clear();
}

void gf_clearLiveryCatalogue() {
    if (g_catalogueThread.load() == std::this_thread::get_id()) {
        lf_emptyCatalogue();
        return;
    }
    g_clearRequested.store(true);
}

void gf_serveCatalogueClearRequest() {
    if (!g_clearRequested.exchange(false)) return;
    lf_emptyCatalogue();
    g_liveriesProcessed.store(false);
}

bool gf_hasLivery(CodeIndex key, CodeIndex model) {
    const auto& titles = g_catalogueTitles();
    const auto it = titles.find(key);
    return it != titles.end() && it->second.contains(model);
}

TitleView lf_findCatalogueTitle(std::string_view title) {
    const auto& index = lf_titleIndex();
    const auto it = index.find(title);
    return it == index.end() ? TitleView{} : it->second;
}

CodeIndex gf_airlineOperatorKey(CodeIndex airline, CodeIndex operatorAirline) {
    return gf_airlineIndex(g_airlineCodes().text(airline) + g_airlineCodes().text(operatorAirline));
}

CodeIndex lf_randomLightModel() {
    return lf_randomModel(g_lightModels());
}

CodeIndex lf_randomBuzjetModel() {
    return lf_randomModel(g_buzjetModels());
}

CodeIndex lf_randomRotorcraftModel() {
    return lf_randomModel(g_rotorcraftModels());
}

}  // namespace mrw

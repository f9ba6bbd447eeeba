#include "aircraft/similar_models.h"

#include "aircraft/aircraft_database.h"
#include "aircraft/code_tables.h"
#include "aircraft/group_peers.h"
#include "aircraft/livery_catalogue.h"
#include "foundation/log.h"

#include <fmt/format.h>

#include <algorithm>

namespace mrw {

namespace {

bool lf_modelHasLiveries(CodeIndex model) {
    const auto& pools = g_modelTitlePools();
    return std::ranges::any_of(pools, [model](const TitlePool& pool) { return pool.contains(model); });
}

// The similar models that the airline has liveries of, for each model it has none of.
std::unordered_map<CodeIndex, ModelList> lf_airlineFallbacks(CodeIndex airline) {
    std::unordered_map<CodeIndex, ModelList> fallbacks;
    for (const auto& [model, similar] : g_similarModels()) {
        if (gf_hasLivery(airline, model)) continue;
        ModelList withLiveries;
        std::ranges::copy_if(similar, std::back_inserter(withLiveries),
                             [airline](CodeIndex other) { return gf_hasLivery(airline, other); });
        if (!withLiveries.empty()) fallbacks.emplace(model, std::move(withLiveries));
    }
    return fallbacks;
}

}  // namespace

std::unordered_map<CodeIndex, ModelList>& g_similarModels() {
    static auto* models = new std::unordered_map<CodeIndex, ModelList>();  // never destroyed
    return *models;
}

std::unordered_map<CodeIndex, std::unordered_map<CodeIndex, ModelList>>& g_airlineSimilarModels() {
    static auto* models = new std::unordered_map<CodeIndex, std::unordered_map<CodeIndex, ModelList>>();
    return *models;  // never destroyed
}

void gf_buildSimilarModels() {
    const auto entries = gf_groupPeers(g_similarTypeGroups(), [](const std::string& code) {
        return lf_modelHasLiveries(gf_modelIndex(code));
    });
    for (const auto& [member, peers] : entries) {
        ModelList models;
        models.reserve(peers.size());
        for (const auto& peer : peers)
            models.push_back(gf_modelIndex(peer));
        g_similarModels().try_emplace(gf_modelIndex(member), std::move(models));
    }

    ModelList airlines;
    for (const auto& entry : g_catalogueTitles())
        airlines.push_back(entry.first);
    std::ranges::sort(airlines);
    for (const CodeIndex airline : airlines) {
        auto fallbacks = lf_airlineFallbacks(airline);
        if (!fallbacks.empty()) g_airlineSimilarModels().try_emplace(airline, std::move(fallbacks));
    }
    gf_logLine(fmt::format("{:5} similar model definitions", g_similarModels().size()));
}

}  // namespace mrw

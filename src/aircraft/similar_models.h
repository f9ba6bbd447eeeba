#pragma once
// The similar-model tables that livery matching falls back on when no livery of an aircraft's own
// model is available. Built on the main worker with the livery catalogue; read by livery matching.

#include "aircraft/code_table.h"

#include <unordered_map>
#include <vector>

namespace mrw {

using ModelList = std::vector<CodeIndex>;

// Model -> the other members of its similar_types group that have liveries, ascending by code
// text. Filled by the first build; later builds only add models not yet present. Never emptied.
std::unordered_map<CodeIndex, ModelList>& g_similarModels();
// Airline key of the catalogue -> (model the airline has no livery of -> the models of that
// model's g_similarModels entry that the airline has liveries of). Same lifetime rules.
std::unordered_map<CodeIndex, std::unordered_map<CodeIndex, ModelList>>& g_airlineSimilarModels();

// Builds both tables from g_similarTypeGroups and the livery catalogue.
void gf_buildSimilarModels();

}  // namespace mrw

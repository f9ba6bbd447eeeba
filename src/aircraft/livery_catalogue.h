#pragma once
// The livery catalogue: in-memory indexes of the scanned livery titles, keyed by airline (or airline
// and operator) and model. The catalogue owns every title text; the other indexes hold views.
// Built and read on the main worker only; no lock guards the indexes.

#include "aircraft/code_table.h"

#include <array>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace mrw {

struct CatalogueTitle {
    std::string titleText;  // the livery title exactly as the scan found it
    bool isCargo = false;
};

// A non-owning view of the titleText of one CatalogueTitle; empty means no title. Valid until the
// catalogue is emptied.
using TitleView = std::string_view;

using ModelTitles = std::unordered_map<CodeIndex, std::vector<CatalogueTitle>>;
using TitlePool = std::unordered_map<CodeIndex, std::vector<TitleView>>;

// Key (airline, or the interned "{airline}{operator}" text) -> model -> titles.
// Created on first use and never destroyed: the main worker is detached.
std::unordered_map<CodeIndex, ModelTitles>& g_catalogueTitles();
// Row 0 passenger titles, row 1 cargo titles: model -> views of its titles under every key.
std::array<TitlePool, 2>& g_modelTitlePools();

// True when the catalogue holds the model under the key.
bool gf_hasLivery(CodeIndex key, CodeIndex model);

}  // namespace mrw

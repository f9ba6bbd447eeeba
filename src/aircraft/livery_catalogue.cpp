#include "aircraft/livery_catalogue.h"

namespace mrw {

std::unordered_map<CodeIndex, ModelTitles>& g_catalogueTitles() {
    static auto* titles = new std::unordered_map<CodeIndex, ModelTitles>();  // never destroyed
    return *titles;
}

std::array<TitlePool, 2>& g_modelTitlePools() {
    static auto* pools = new std::array<TitlePool, 2>();  // never destroyed
    return *pools;
}

bool gf_hasLivery(CodeIndex key, CodeIndex model) {
    const auto& titles = g_catalogueTitles();
    const auto it = titles.find(key);
    return it != titles.end() && it->second.contains(model);
}

}  // namespace mrw

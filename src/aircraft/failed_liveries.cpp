#include "aircraft/failed_liveries.h"

namespace mrw {
namespace {

TextSet lf_makeSet() {
    TextSet set(8);
    set.max_load_factor(1.0f);
    return set;
}

}  // namespace

TextSet& g_failedTitles() {
    static TextSet set = lf_makeSet();
    return set;
}

TextSet& g_failedDesignations() {
    static TextSet set = lf_makeSet();
    return set;
}

}  // namespace mrw

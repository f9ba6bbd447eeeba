#include "aircraft_test_support.h"

#include "aircraft/ac_category.h"
#include "aircraft/aircraft_database.h"
#include "aircraft/code_tables.h"
#include "aircraft/livery_catalogue.h"
#include "aircraft/prefix_groups.h"
#include "aircraft/similar_models.h"
#include "aircraft/wingspans.h"

namespace mrwtest {

void resetAircraftData() {
    mrw::g_airlineCodes().resetForTests();
    mrw::g_modelCodes().resetForTests();
    mrw::g_modelFixes().clear();
    for (auto* set : {&mrw::g_largeModelSet(), &mrw::g_heavyModelSet(), &mrw::g_buzjetModelSet(),
                      &mrw::g_highPerfModelSet(), &mrw::g_rotorcraftModelSet()}) {
        set->clear();
    }
    for (auto* set :
         {&mrw::g_icaoModels(), &mrw::g_icaoAirlines(), &mrw::g_simaddons20(), &mrw::g_simaddons24()}) {
        set->clear();
    }
    for (auto* groups : {&mrw::g_similarTypeGroups(), &mrw::g_prefixGroups(), &mrw::g_publisherGroups()}) {
        groups->clear();
    }
    mrw::g_thirdParties20().clear();
    mrw::g_thirdParties24().clear();
    mrw::g_dbaseRecords().clear();
    mrw::g_prefixPeers().clear();
    mrw::g_wingspanList().clear();
    mrw::g_halfWingspans.fill(0.0);
    mrw::g_maxHalfWingspan.store(0.0);
    mrw::g_catalogueTitles().clear();
    for (auto& pool : mrw::g_modelTitlePools())
        pool.clear();
    mrw::g_similarModels().clear();
    mrw::g_airlineSimilarModels().clear();
}

}  // namespace mrwtest

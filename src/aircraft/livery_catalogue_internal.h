#pragma once
// Catalogue operations that the registration-code store, livery matching and the tests use.

#include <string_view>

#include "aircraft/livery_catalogue.h"

namespace mrw {

// The view of the first catalogue title equal to the text (walking keys, models and titles in
// container order); an empty view when none is. A hash lookup, built with the catalogue.
TitleView lf_findCatalogueTitle(std::string_view title);

// The key of liveries operated for an airline: the interned "{airline}{operator}" code text.
CodeIndex gf_airlineOperatorKey(CodeIndex airline, CodeIndex operatorAirline);

// An entry of g_lightModels, g_buzjetModels or g_rotorcraftModels at gf_randomIndex (the first entry
// when RANDOM is off); 0 when the list is empty.
CodeIndex lf_randomLightModel();
CodeIndex lf_randomBuzjetModel();
CodeIndex lf_randomRotorcraftModel();

}  // namespace mrw

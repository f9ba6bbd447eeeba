#pragma once
// The steps of the registration-code store that the livery catalogue, the liveries scan and the
// tests call.

#include <vector>

#include "aircraft/regcode_readers.h"

namespace mrw {

// Reads the don't-use titles of the AIG list and the user's lists; called by the liveries scan
// before it searches any folder. Exceptions are logged, never passed on.
void lf_readDontUseTitles();
// Enters the registrations of g_scannedLiveries; file-system errors propagate.
void lf_processInlineRegcodes();
// Merges the AIG list and then the user's lists and writes OfflineRegcodes.txt. Exceptions are
// logged, never passed on.
void lf_processOfflineRegcodes();
// Merges one list of entries into g_regcodeTitles, g_specialTitles and g_uniqueRegcodes.
void lf_mergeRegcodes(const std::vector<RegcodeEntry>& entries);

}  // namespace mrw

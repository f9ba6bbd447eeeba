#include "traffic/parking/learned_files_saver.h"

#include <algorithm>
#include <filesystem>
#include <optional>

#include <fmt/format.h>

#include "airports/airport_file.h"
#include "airports/airport_file_lookup.h"
#include "airports/learned_airport_files.h"
#include "airports/quality_factors.h"
#include "foundation/log.h"
#include "foundation/simulator_choice.h"
#include "foundation/text_encoding.h"
#include "foundation/text_helpers.h"
#include "foundation/time_texts.h"
#include "traffic/parking/static_parking.h"

namespace mrw {

namespace {

bool lf_worthKeeping(const Stand& stand) {
    return stand.manual || !stand.options.empty() || stand.radiusChanged || stand.cargoChanged;
}

// Only what was learned here goes into a learned file: the uses read from the airport file and
// the inactive ones are dropped from the stand itself.
void lf_keepLearnedUses(Stand& stand) {
    std::erase_if(stand.options,
                  [](const StandOption& option) { return option.origin == 1 || option.sequence == 0; });
}

AirportFile lf_learnedFile() {
    AirportFile file;
    file.code = g_parkAirport.code;
    file.airportName = g_parkApfInfo.airportName;
    file.publisher = g_parkApfInfo.publisher;
    file.altitude = g_parkApfInfo.altitude;
    if (g_handmade) {
        file.stands = g_parkStands;
        const QualityFactors factors = gf_qualityFactors();
        file.Qf_real = factors.real;
        file.Qf_soft = factors.soft;
        return file;
    }
    file.Qf_real = 0;
    file.Qf_soft = 0;
    for (Stand& stand : g_parkStands) {
        lf_keepLearnedUses(stand);
        if (lf_worthKeeping(stand)) file.stands.push_back(stand);
    }
    for (const Stand& stand : g_unmatchedLearnedStands)
        if (lf_worthKeeping(stand)) file.stands.push_back(stand);
    return file;
}

// A learned file is rewritten whole: from stands that were not all read it would lose what the
// stands not read had learned.
bool lf_standsComplete() {
    if (g_learnedStandsIncomplete || g_parkStands.empty()) {
        gf_logError(fmt::format("{} learned file of {} not saved: its stands were not read completely",
                                gf_utcTimeOfDay(), g_parkAirport.code.view()));
        return false;
    }
    return true;
}

void lf_save() {
    if (!lf_standsComplete()) return;
    const std::optional<std::filesystem::path> folder = gf_learnedFolderOfPublisher(g_parkApfInfo.publisher);
    if (!folder) {
        gf_logError(fmt::format("{} learned file of {} not saved: publisher '{}' names no folder",
                                gf_utcTimeOfDay(), g_parkAirport.code.view(), g_parkApfInfo.publisher));
        return;
    }
    if (!std::filesystem::exists(*folder)) std::filesystem::create_directories(*folder);
    const std::filesystem::path path = *folder / gf_icaoXmlPath(g_parkAirport.code);
    if (lf_learnedFile().save(path, kApfLearned, g_simId.load())) {
        gf_logLine(fmt::format("{}{} '{}' saved with {} update{}", gf_utcTimeOfDay(),
                               g_handmade ? " handmade" : "", path_to_utf8(path), g_optionCount,
                               gf_pluralS(g_optionCount)));
    } else {
        gf_logLine(fmt::format("{} saving '{}' did not succeed", gf_utcTimeOfDay(), path_to_utf8(path)));
    }
}

}  // namespace

void lf_saveLearnedFiles() {
    lf_save();
    g_optionCount = 0;
}

}  // namespace mrw

#include "aircraft/matching_summary.h"

#include <algorithm>
#include <string>
#include <vector>

#include <fmt/format.h>

#include "aircraft/failed_liveries.h"
#include "aircraft/livery_matching.h"
#include "foundation/log.h"
#include "foundation/text_helpers.h"

namespace mrw {

void gf_logMatchingSummary() {
    const auto& counts = g_matchStepCounts;
    if (std::all_of(counts.begin(), counts.end(), [](std::int32_t n) { return n == 0; })) return;

    std::vector<std::string> lines;
    lines.push_back(gf_starBanner(64, 0, true, false, "live traffic livery matching summary"));
    lines.emplace_back("Matches at step: ");
    for (std::size_t step = 0; step < counts.size(); ++step)
        lines.push_back(fmt::format("  {}: {}", step, counts[step]));
    if (!g_failedDesignations().empty()) {
        lines.emplace_back("\nCould not be created");
        for (const std::string& text : g_failedDesignations())
            lines.push_back("  " + text);
    }
    lines.push_back(gf_starBanner(64, 36, false, true, ""));
    // Line by line: another thread's line may come between two lines of the block.
    for (const std::string& line : lines)
        gf_logLine(line);
}

}  // namespace mrw

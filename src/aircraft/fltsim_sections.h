#pragma once
// What the two aircraft.cfg processors (generic and IVAO) share: reading a file's lines, cutting
// them into [fltsim.N] sections, trimming a section's trailing comments and judging an atc_id value.

#include <filesystem>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace mrw {

using CfgLines = std::vector<std::string>;

// What gf_readCfgLines does with a file that is not there.
enum class MissingCfgFile { Reported, Silent };

// Reads the file once, detects the encoding from its bytes and decodes the lines as UTF-8. False,
// with its log line, when the file cannot be read ("! No text encoding detected for {}", an error
// line when `errorLine` is set; nothing for a missing file when `missing` is Silent) or decoded
// ("! Failed reading {}").
bool gf_readCfgLines(const std::filesystem::path& cfgPath, CfgLines& lines, bool errorLine,
                     MissingCfgFile missing);

// Calls `section` for each [fltsim.N] section in file order with its lines, the header first. A
// line whose first '[' stands at positions 0 to 5 ends a section; with `anyBracketEnds` any line
// holding '[' does. Lines outside a section are dropped. The lines are taken by value and moved into
// the sections: a caller done with them moves them in, which spares a copy of every line.
void gf_forEachFltsimSection(CfgLines lines, bool anyBracketEnds,
                             const std::function<void(CfgLines&)>& section);

// Removes trailing lines that are empty or begin with "//".
void gf_dropTrailingComments(CfgLines& section);

// Judges an atc_id value split at its commas: false when it is invalid (no part, or a part that is
// empty, a single blank, longer than 12 characters or holds '*'). Valid: `registration` is the one
// part, or empty when there are several.
bool gf_atcIdRegistration(std::string_view value, std::string& registration);

}  // namespace mrw

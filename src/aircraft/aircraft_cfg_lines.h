#pragma once
// The line readers of aircraft.cfg files: whether one line is a given key and what its value is,
// whether it is a [fltsim.N] section header, and the check of a file's section numbers.
//
// The readers match by hand instead of with regular expressions: a matcher that recurses per
// character would overflow a worker's stack on one long line. They give the results of the
// whole-line, case-insensitive patterns "\s*(key)\s*=\s*(.*\S)\s*" and "\s*(\[fltsim\.)(\d+)\]\s*",
// for lines of any length.

#include "aircraft/scan_reports.h"

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace mrw {

// The character classes of the readers' patterns in the "C" locale: \s and \w.
bool gf_isPatternSpace(char c);
bool gf_isWordChar(char c);
// a-z become A-Z; every other byte stays.
std::string gf_upperAscii(std::string text);

// The raw value of a "key = value" line (the key compared without regard to ASCII case), or "" when
// the line is no such line.
std::string_view gf_matchCfgKey(std::string_view line, std::string_view key);

// The value rule: the text between the first two double quotes (empty without a second one), or the
// raw value itself when it holds no double quote.
std::string gf_cfgValue(std::string_view rawValue);

// True and the value in `out` when the line is that key with a non-empty value; `out` untouched
// otherwise.
bool gf_cfgTitle(std::string_view line, std::string& out);
bool gf_cfgTexture(std::string_view line, std::string& out);
bool gf_cfgAtcParkingTypes(std::string_view line, std::string& out);
// As above, but a value shorter than 5 characters counts as no atc_id.
bool gf_cfgAtcId(std::string_view line, std::string& out);
// True whenever the line is an icao_airline line; `out` = "ZZZ" for an empty value or exactly
// "ZZZZ", else the value upper-cased.
bool gf_cfgIcaoAirline(std::string_view line, std::string& out);
// The value cut to 4 characters, upper-cased; "" when the line is no such line.
std::string gf_cfgIcaoTypeDesignator(std::string_view line);
// The model code of a base_container line whose container the base-container table knows, or "".
std::string gf_cfgBaseContainer(std::string_view line);
// The digits of a section header, "10000" for a damaged header, "" for any other line.
std::string gf_cfgFltsimNumber(std::string_view line);

bool gf_isAtcIdLine(std::string_view line);
bool gf_isAtcParkingTypesLine(std::string_view line);

// The check of the file's section numbers before its sections are read; false when the file must
// not be read further. A file without any header is recorded in `reports` and still read.
bool gf_checkFltsimNumbers(const std::vector<std::string>& lines, const std::filesystem::path& cfgPath,
                           ScanReports& reports);

}  // namespace mrw

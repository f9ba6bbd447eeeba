#pragma once
// Finding an airport's file: the names under which its files lie (the airport file and link file of
// a code, the archive key of a package version, the shortened name of a version-specific file), the
// lookup in the program's own folders and through link files, the download of archived files, and
// the place of the learned file that belongs to a reference.
//
// A reference names an airport file: a local one is a path relative to the program folder that
// begins with "airports"; any other is a path in the download site's folder of the running
// simulator ("archive/stock/EHAM.xml"). The empty text means no airport file. References are
// Windows path texts with '\'; on this platform '/' is accepted as well.

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

#include "foundation/fixed_code.h"

namespace mrw {

// The fixed download targets: the park airport's archived file, and a neighbouring airport's one
// (removed after use).
inline const std::filesystem::path g_parkAirportDownload{"airports/park_airport.xml"};
inline const std::filesystem::path g_neighbourAirportDownload{"airport.xml"};

// "EHAM.xml".
std::string gf_icaoXmlName(FixedCode<4> code);
// The same as a bare file name, to be joined to a folder.
std::filesystem::path gf_icaoXmlPath(FixedCode<4> code);
// "EHAM.txt", the name of a link file.
std::filesystem::path gf_icaoTxtPath(FixedCode<4> code);
// The code followed by the version without its dots: EHAM and 1.2.3 give EHAM123.
std::string gf_icaoVersionKey(FixedCode<4> code, std::string_view version);
// The path with its file name cut to the first four characters plus the extension (EHAM123.xml
// becomes EHAM.xml); a file name of four characters or fewer is kept. '\' separates folders too.
std::filesystem::path gf_shortApfPath(const std::filesystem::path& path);
// The text without leading and trailing blanks (' ' only).
std::string gf_trimBlanks(std::string_view text);

// Whether the airport has an airport file: a file or link file (not opened) in airports/my_thirdparty
// or airports/my_simaddon, or a stock file in the archive (database stand-data code s >= 1). A
// file-system error other than "not found" throws std::filesystem::filesystem_error.
bool gf_hasAirportFile(FixedCode<4> code);
// The reference of the airport's file, first hit: valid link in my_thirdparty, file in my_thirdparty,
// valid link in my_simaddon, file in my_simaddon, "archive/stock/<ICAO>.xml" for s >= 1; else empty.
std::string gf_apfFileName(FixedCode<4> code);
// Whether a reference names a file in the program folder (it begins with "airports").
bool gf_isLocalApfReference(std::string_view reference);

// Reads a link file: its first line less trailing white space, which must end in ".xml" (any case)
// and must neither climb out of its folder ("..") nor be rooted (a leading separator or a drive
// letter). False, with the reference emptied, otherwise.
bool gf_readApfLink(const std::filesystem::path& linkFile, std::string& reference);

// Downloads an archived file from the site's "/downloads/MSFS/" (2020 simulator) or
// "/downloads/MSFS2024/" folder into the target, replacing it only on success. The empty text on
// success; else the target is removed, "failed to download: '{url}'" is logged and returned.
std::string gf_downloadApf(std::string_view reference, const std::filesystem::path& target);

// The folder name of a publisher's learned files: separators made blanks, blanks trimmed; nothing
// for a name that is then empty, "." or "..", which would not stay inside airports/learned.
std::optional<std::string> gf_publisherFolderName(std::string_view publisher);
// The learned files' folder of an airport file's publisher: airports/learned/stock for "stock",
// airports/learned/simaddon for "simaddon", airports/learned/thirdparty/<folder name> otherwise;
// nothing when the publisher gives no folder name.
std::optional<std::filesystem::path> gf_learnedFolderOfPublisher(std::string_view publisher);
// The learned file that belongs to a reference (its file name as it is: callers shorten it first),
// given the airport file's publisher; the empty path when the reference maps to none or to a path
// that, normalised, would not lie inside airports/learned.
std::filesystem::path gf_learnedApfPath(std::string_view reference, std::string_view publisher);

}  // namespace mrw

#pragma once
// The names under which an airport's files are found: the airport file and link file of a code, the
// archive key of a package version, and the shortened name of a version-specific file.

#include <filesystem>
#include <string>
#include <string_view>

#include "foundation/fixed_code.h"

namespace mrw {

// "EHAM.xml".
std::string gf_icaoXmlName(FixedCode<4> code);
// The same as a bare file name, to be joined to a folder.
std::filesystem::path gf_icaoXmlPath(FixedCode<4> code);
// "EHAM.txt", the name of a link file.
std::filesystem::path gf_icaoTxtPath(FixedCode<4> code);
// The code followed by the version without its dots: EHAM and 1.2.3 give EHAM123.
std::string gf_icaoVersionKey(FixedCode<4> code, std::string_view version);
// The path with its file name cut to the first four characters plus the extension (EHAM123.xml
// becomes EHAM.xml); a file name of four characters or fewer is kept.
std::filesystem::path gf_shortApfPath(const std::filesystem::path& path);
// The text without leading and trailing blanks (' ' only).
std::string gf_trimBlanks(std::string_view text);

}  // namespace mrw

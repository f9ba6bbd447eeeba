#include "airports/airport_file_lookup.h"

#include <algorithm>

namespace mrw {

std::string gf_icaoXmlName(FixedCode<4> code) {
    return code.str() + ".xml";
}

std::filesystem::path gf_icaoXmlPath(FixedCode<4> code) {
    return std::filesystem::path(gf_icaoXmlName(code));
}

std::filesystem::path gf_icaoTxtPath(FixedCode<4> code) {
    return std::filesystem::path(code.str() + ".txt");
}

std::string gf_icaoVersionKey(FixedCode<4> code, std::string_view version) {
    std::string key = code.str();
    std::copy_if(version.begin(), version.end(), std::back_inserter(key), [](char c) { return c != '.'; });
    return key;
}

std::filesystem::path gf_shortApfPath(const std::filesystem::path& path) {
    const std::string name = path.filename().string();
    const std::string extension = path.extension().string();
    if (name.size() <= 4) return path;
    return path.parent_path() / (name.substr(0, 4) + extension);
}

std::string gf_trimBlanks(std::string_view text) {
    const auto first = text.find_first_not_of(' ');
    if (first == std::string_view::npos) return {};
    const auto last = text.find_last_not_of(' ');
    return std::string(text.substr(first, last - first + 1));
}

}  // namespace mrw

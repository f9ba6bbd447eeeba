#include "airports/airport_file_lookup.h"

#include <algorithm>
#include <cctype>
#include <system_error>
#include <variant>
#include <vector>

#include <fmt/format.h>

#include "airports/airports_database.h"
#include "foundation/downloader.h"
#include "foundation/file_names.h"
#include "foundation/log.h"
#include "foundation/simulator_choice.h"
#include "foundation/text_encoding.h"
#include "foundation/text_file.h"

namespace mrw {

namespace {

constexpr std::string_view kArchiveStock = "archive/stock/";
constexpr std::string_view kArchiveSimaddon = "archive/simaddon/";
constexpr std::string_view kArchiveThirdparty = "archive/thirdparty/";
constexpr std::string_view kLocalPrefix = "airports/";

// References are Windows path texts; '/' is taken as a separator as well on this platform, so both
// are brought to '/' before the text is taken apart.
std::string lf_slashed(std::string_view text) {
    std::string result(text);
    std::replace(result.begin(), result.end(), '\\', '/');
    return result;
}

bool lf_climbsOut(std::string_view slashedText) {
    std::size_t start = 0;
    while (start <= slashedText.size()) {
        const std::size_t end = std::min(slashedText.find('/', start), slashedText.size());
        if (slashedText.substr(start, end - start) == "..") return true;
        start = end + 1;
    }
    return false;
}

// A leading separator or a drive letter: such a reference would leave the folder it is joined to.
bool lf_isRooted(std::string_view slashedText) {
    if (slashedText.starts_with('/')) return true;
    return slashedText.size() >= 2 && slashedText[1] == ':' &&
           std::isalpha(static_cast<unsigned char>(slashedText[0]));
}

// The path, once normalised, names something below airports/learned (a rooted rest joined to the
// folder would discard it).
bool lf_insideLearnedFolder(const std::filesystem::path& path) {
    const std::filesystem::path normal = path.lexically_normal();
    if (normal.has_root_path()) return false;
    const auto [folderEnd, rest] =
        std::mismatch(g_learnedFolder.begin(), g_learnedFolder.end(), normal.begin(), normal.end());
    return folderEnd == g_learnedFolder.end() && rest != normal.end() && *rest != "..";
}

bool lf_endsWithXml(std::string_view text) {
    if (text.size() < 4) return false;
    std::string ending(text.substr(text.size() - 4));
    std::transform(ending.begin(), ending.end(), ending.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return ending == ".xml";
}

std::string_view lf_lastComponent(std::string_view slashedText) {
    const std::size_t slash = slashedText.rfind('/');
    return slash == std::string_view::npos ? slashedText : slashedText.substr(slash + 1);
}

std::string lf_pathText(const std::filesystem::path& path) {
    return path.generic_string();
}

// The reference of a link file when the link is valid.
std::optional<std::string> lf_linkReference(const std::filesystem::path& folder, FixedCode<4> code) {
    std::string reference;
    if (gf_readApfLink(folder / gf_icaoTxtPath(code), reference)) return reference;
    return std::nullopt;
}

std::optional<std::string> lf_localFile(const std::filesystem::path& folder, FixedCode<4> code) {
    const std::filesystem::path file = folder / gf_icaoXmlPath(code);
    if (std::filesystem::exists(file)) return lf_pathText(file);
    return std::nullopt;
}

bool lf_hasStockFile(FixedCode<4> code) {
    const Airport* airport = gf_findAirport(code);
    return airport != nullptr && airport->s >= 1;
}

std::filesystem::path lf_learnedThirdparty(std::string_view publisher, std::string_view fileName) {
    const std::optional<std::string> folder = gf_publisherFolderName(publisher);
    if (!folder) return {};
    return g_learnedThirdpartyFolder / *folder / fileName;
}

std::filesystem::path lf_learnedOfLocal(std::string_view rest, std::string_view publisher,
                                        std::string_view fileName) {
    if (rest.starts_with("my_thirdparty2024/") || rest.starts_with("my_thirdparty/"))
        return lf_learnedThirdparty(publisher, fileName);
    if (rest.starts_with("my_simaddon/")) return g_learnedSimaddonFolder / fileName;
    return g_learnedFolder / rest;
}

std::filesystem::path lf_learnedOfArchivedThirdparty(std::string_view text, std::size_t at,
                                                     std::string_view fileName) {
    const std::string_view afterMarker = text.substr(at + kArchiveThirdparty.size());
    const std::size_t slash = afterMarker.find('/');
    if (slash == std::string_view::npos) return {};
    // Built anew rather than replaced in place: every "%20" becomes a blank.
    const std::string_view encoded = afterMarker.substr(0, slash);
    std::string publisher;
    for (std::size_t i = 0; i < encoded.size();) {
        if (encoded.substr(i, 3) == "%20") {
            publisher += ' ';
            i += 3;
        } else {
            publisher += encoded[i++];
        }
    }
    return lf_learnedThirdparty(publisher, fileName);
}

std::filesystem::path lf_learnedApfPath(std::string_view reference, std::string_view publisher) {
    if (reference.empty()) return {};
    const std::string text = lf_slashed(reference);
    const std::string_view fileName = lf_lastComponent(text);
    const std::size_t dot = fileName.rfind('.');
    if (dot == std::string_view::npos || !lf_endsWithXml(fileName.substr(dot))) return {};
    // A learned file always lies inside airports/learned.
    if (lf_climbsOut(text)) return {};
    if (text.starts_with(kArchiveStock)) return g_learnedStockFolder / fileName;
    if (text.starts_with(kArchiveSimaddon)) return g_learnedSimaddonFolder / fileName;
    if (const std::size_t at = text.find(kArchiveThirdparty); at != std::string::npos)
        return lf_learnedOfArchivedThirdparty(text, at, fileName);
    if (text.starts_with(kLocalPrefix))
        return lf_learnedOfLocal(std::string_view(text).substr(kLocalPrefix.size()), publisher, fileName);
    return {};
}

}  // namespace

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
    // Taken apart as text: a reference with '\' is one file name to std::filesystem here.
    const std::string text = path_to_utf8(path);
    const std::size_t separator = text.find_last_of("/\\");
    const std::size_t nameStart = separator == std::string::npos ? 0 : separator + 1;
    const std::string name = text.substr(nameStart);
    if (name.size() <= 4) return path;
    const std::size_t dot = name.rfind('.');
    const std::string extension = dot == std::string::npos || dot == 0 ? std::string() : name.substr(dot);
    return utf8_to_path(text.substr(0, nameStart) + name.substr(0, 4) + extension);
}

std::string gf_trimBlanks(std::string_view text) {
    const auto first = text.find_first_not_of(' ');
    if (first == std::string_view::npos) return {};
    const auto last = text.find_last_not_of(' ');
    return std::string(text.substr(first, last - first + 1));
}

bool gf_hasAirportFile(FixedCode<4> code) {
    for (const auto& folder : {g_myThirdpartyFolder, g_mySimaddonFolder}) {
        if (std::filesystem::exists(folder / gf_icaoXmlPath(code))) return true;
        if (std::filesystem::exists(folder / gf_icaoTxtPath(code))) return true;
    }
    return lf_hasStockFile(code);
}

std::string gf_apfFileName(FixedCode<4> code) {
    for (const auto& folder : {g_myThirdpartyFolder, g_mySimaddonFolder}) {
        if (auto reference = lf_linkReference(folder, code)) return *reference;
        if (auto file = lf_localFile(folder, code)) return *file;
    }
    if (lf_hasStockFile(code)) return std::string(kArchiveStock) + gf_icaoXmlName(code);
    return {};
}

bool gf_isLocalApfReference(std::string_view reference) {
    return reference.starts_with("airports");
}

bool gf_readApfLink(const std::filesystem::path& linkFile, std::string& reference) {
    reference.clear();
    if (!std::filesystem::exists(linkFile)) return false;
    TextFile file(linkFile);
    const auto read = file.readLines(1);
    if (!std::holds_alternative<const LineList*>(read)) return false;
    const LineList& lines = *std::get<const LineList*>(read);
    if (lines.empty()) return false;
    std::string line = lines.front();
    while (!line.empty() && std::string_view(" \t\n\v\f\r").find(line.back()) != std::string_view::npos)
        line.pop_back();
    if (!lf_endsWithXml(line)) return false;
    // A link names a file inside the program folder or the download folder, never above it or
    // elsewhere on the disk.
    const std::string slashed = lf_slashed(line);
    if (lf_climbsOut(slashed) || lf_isRooted(slashed)) return false;
    reference = std::move(line);
    return true;
}

std::string gf_downloadApf(std::string_view reference, const std::filesystem::path& target) {
    const std::string url = fmt::format("{}{}{}", gf_downloadsUrl(),
                                        g_msfs2020.load() ? "MSFS/" : "MSFS2024/", lf_slashed(reference));
    Downloader downloader;
    if (downloader.download(url, target, false)) return {};
    // The target may hold an earlier airport's file, which must not be read in its place.
    if (std::filesystem::exists(target)) std::filesystem::remove(target);
    std::string error = fmt::format("failed to download: '{}'", url);
    gf_logLine(error);
    return error;
}

std::optional<std::string> gf_publisherFolderName(std::string_view publisher) {
    std::string name(publisher);
    std::replace_if(
        name.begin(), name.end(), [](char c) { return c == '/' || c == '\\'; }, ' ');
    name = gf_trimBlanks(name);
    if (name.empty() || name == "." || name == "..") return std::nullopt;
    return name;
}

std::optional<std::filesystem::path> gf_learnedFolderOfPublisher(std::string_view publisher) {
    if (publisher == "stock") return g_learnedStockFolder;
    if (publisher == "simaddon") return g_learnedSimaddonFolder;
    const std::optional<std::string> folder = gf_publisherFolderName(publisher);
    if (!folder) return std::nullopt;
    return g_learnedThirdpartyFolder / *folder;
}

std::filesystem::path gf_learnedApfPath(std::string_view reference, std::string_view publisher) {
    const std::filesystem::path learned = lf_learnedApfPath(reference, publisher);
    if (learned.empty() || lf_insideLearnedFolder(learned)) return learned;
    return {};
}

}  // namespace mrw

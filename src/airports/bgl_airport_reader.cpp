#include "airports/bgl_airport_reader.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <exception>
#include <fstream>
#include <numbers>
#include <set>
#include <stdexcept>
#include <utility>
#include <vector>

#include <fmt/format.h>

#include "airports/airport_file_generation.h"
#include "airports/airports_scan_report.h"
#include "airports/bgl_airport_reader_internal.h"
#include "airports/package_manifest.h"
#include "foundation/file_names.h"
#include "foundation/file_system.h"
#include "foundation/log.h"
#include "foundation/text_encoding.h"

namespace mrw {
namespace {

constexpr std::uint16_t kAirportRecord = 0x56;
constexpr std::uint16_t kHelipadRecord = 0x26;
constexpr std::uint16_t kParkingListRecord = 0xE7;
constexpr std::uint32_t kAirportSection = 3;
constexpr std::uint32_t kExcludedSectionFlag = 0x10000;
constexpr double kDegToRad = 0.017453292519943295;
constexpr double kMetresToFeet = 3.2808399;
constexpr double kSamePosition = 1e-8;
constexpr double kNearZero = 1e-4;
constexpr int kStepLimit = 9000;

std::uint16_t lf_recordId(const BglWords& words, std::size_t a) {
    return static_cast<std::uint16_t>(words[a] & 0xFFFF);
}

// The record size in bytes (bytes 2 to 5, across the word boundary); nothing when its second half
// lies past `end`.
std::optional<std::uint32_t> lf_recordBytes(const BglWords& words, std::size_t a, std::size_t end) {
    if (a + 1 >= end) return std::nullopt;
    return (words[a] >> 16) | (words[a + 1] << 16);
}

void lf_needWords(std::size_t last, std::size_t end, std::string_view what) {
    if (last >= end) throw std::out_of_range(fmt::format("BGL {} record runs past its data", what));
}

double lf_longitude(std::uint32_t v) {
    return static_cast<double>(v) * 360.0 / (3.0 * 268435456.0) - 180.0;
}
double lf_latitude(std::uint32_t v) {
    return 90.0 - static_cast<double>(v) * 180.0 / 536870912.0;
}
float lf_float(std::uint32_t bits) {
    float value = 0.0F;
    std::memcpy(&value, &bits, sizeof value);
    return value;
}

bool lf_validPosition(const Lalo& p) {
    if (!std::isfinite(p.latitude) || !std::isfinite(p.longitude)) return false;
    if (p.latitude < -90.0 || p.latitude > 90.0 || p.longitude < -180.0 || p.longitude > 180.0) return false;
    return !(std::fabs(p.latitude) <= kNearZero && std::fabs(p.longitude) <= kNearZero);
}

std::string lf_positionText(const Lalo& p) {
    return fmt::format("{:.6f},{:.6f}", p.latitude, p.longitude);
}

std::string lf_namePrefix(unsigned code) {
    static constexpr std::array<const char*, 11> kNamed{"",   "r",   "p",  "np",  "ep", "sep",
                                                        "sp", "swp", "wp", "nwp", "g"};
    if (code < kNamed.size()) return kNamed[code];
    if (code >= 12 && code <= 37) return std::string(1, static_cast<char>('A' + (code - 12)));
    return {};
}

// The words of the first sub-section's data of section i, bounded by the file; nothing when the
// section is not a usable airport section or its table lies outside the file.
std::optional<BglRecordSpan> lf_airportSubsection(const BglWords& words, std::size_t i) {
    const std::size_t n = words.size();
    const std::size_t entry = 14 + 5 * i;
    if (entry + 3 >= n) return std::nullopt;
    if (words[entry] != kAirportSection || (words[entry + 1] & kExcludedSectionFlag) != 0)
        return std::nullopt;
    const std::size_t q = words[entry + 3] / 4 + 2;
    if (q + 1 >= n) return std::nullopt;
    const std::uint64_t firstByte = words[q];
    const std::uint64_t endByte = firstByte + words[q + 1];
    return BglRecordSpan{static_cast<std::size_t>(firstByte / 4),
                         static_cast<std::size_t>(std::min<std::uint64_t>(endByte / 4, n))};
}

// The work of one BGL file. Whatever the number of its airport records and of the sections that
// point at the same sub-section, the manifest is searched once, each sub-section is walked once and
// each airport record is processed once, so the work stays proportional to the file's size.
class BglFileReader {
  public:
    // `processedAny` becomes true once an airport was linked or generated (the file counts then
    // need showing).
    BglFileReader(const std::filesystem::path& path, const BglWords& words, bool& processedAny)
        : m_path(path), m_words(words), m_processed(words.size(), false), m_processedAny(processedAny) {}

    void walkSubsection(BglRecordSpan data) {
        if (!m_walked.insert({data.first, data.end}).second) return;
        int steps = 0;
        for (std::size_t a = data.first; a < data.end;) {
            if (steps > kStepLimit - 1) {
                gf_logError(
                    fmt::format("Error: maximum loop iterations {} reached (2) — possible corrupt BGL or "
                                "malformed input in:\n'{}'",
                                kStepLimit, path_to_utf8(m_path)));
                return;
            }
            const auto bytes = lf_recordBytes(m_words, a, data.end);
            const std::size_t step = bytes ? *bytes / 4 : 0;
            if (lf_recordId(m_words, a) == kAirportRecord) {
                if (step == 0) {
                    gf_logError(fmt::format("   Warning: decodeSizeAtBoundary returned {} at o2 = {}", 0, a));
                    return;
                }
                if (a + 10 < data.end && !m_processed[a]) processAirport({a, std::min(a + step, data.end)});
            }
            if (step == 0) return;
            ++steps;
            a += step;
        }
    }

  private:
    void processAirport(BglRecordSpan record) {
        m_processed[record.first] = true;
        bool ok = false;
        const std::string text = gf_decodeBglIcao(m_words[record.first + 10], ok);
        if (!ok) return;
        if (!m_manifestSearched) {
            m_manifest = gf_searchManifest(m_path);
            m_manifestSearched = true;
        }
        m_processedAny = true;
        lf_processBglAirport(record, m_words, FixedCode<4>(text), m_path, m_manifest);
    }

    const std::filesystem::path& m_path;
    const BglWords& m_words;
    std::vector<bool> m_processed;  // per word: an airport record starting there was processed
    std::set<std::pair<std::size_t, std::size_t>> m_walked;
    std::optional<ManifestData> m_manifest;
    bool m_manifestSearched = false;
    bool& m_processedAny;
};

// The stands of the airport's sub-records; the helipad count is returned.
int lf_readBglStands(BglRecordSpan record, const BglWords& words, AirportFile& file,
                     const std::filesystem::path& path) {
    int helipadNumber = 1;
    std::set<std::string> ids;
    std::vector<Lalo> helipads;
    int steps = 0;
    for (std::size_t v = record.first + 17; v < record.end;) {
        if (steps > kStepLimit - 1) {
            gf_logError(
                "Error: Maximum loop iterations reached (1) — possible corrupt SIA or malformed input");
            break;
        }
        const auto bytes = lf_recordBytes(words, v, record.end);
        if (!bytes) {
            gf_logLine(
                fmt::format("   Error: o3={} exceeded data buffer size ({}), aborting.", v, words.size()));
            break;
        }
        const std::size_t step = *bytes / 4;
        const std::uint16_t id = lf_recordId(words, v);
        if (id == kParkingListRecord) {
            lf_readBglParkings(v, record.end, words, file, ids, path);
            break;
        }
        if (step == 0) {
            const std::string warning =
                fmt::format("   Warning: decodeSizeAtBoundary returned 0 at o3 = {}", v);
            id == kHelipadRecord ? gf_logError(warning) : gf_logLine(warning);
            break;
        }
        if (id == kHelipadRecord) {
            lf_readBglHelipad(v, record.end, words, file, helipads, helipadNumber);
        } else {
            ++steps;
        }
        v += step;
    }
    return helipadNumber - 1;
}

}  // namespace

AirportFile lf_apfFromBglHeader(std::size_t a, const BglWords& words) {
    AirportFile file;
    if (a + 5 >= words.size()) return file;
    const auto millimetres = static_cast<std::int32_t>(words[a + 5]);
    const auto feet = static_cast<std::int32_t>(std::lround(millimetres * kMetresToFeet / 1000.0));
    file.altitude = feet < -20 || feet > 10000 ? 0 : feet;
    return file;
}

void lf_readBglHelipad(std::size_t h, std::size_t end, const BglWords& words, AirportFile& file,
                       std::vector<Lalo>& helipads, int& helipadNumber) {
    lf_needWords(h + 7, end, "helipad");
    const Lalo position{lf_latitude(words[h + 4]), lf_longitude(words[h + 3])};
    if (!lf_validPosition(position)) {
        g_scanReport.push_back("lat/lon helipad incorrect (skipped): " + lf_positionText(position));
        return;
    }
    for (const Lalo& known : helipads) {
        if (std::fabs(known.latitude - position.latitude) <= kSamePosition &&
            std::fabs(known.longitude - position.longitude) <= kSamePosition) {
            g_scanReport.push_back("double helipad " + file.airportName + " (skipped) " +
                                   lf_positionText(position));
            return;
        }
    }
    helipads.push_back(position);
    const double width = lf_float(words[h + 7]);
    file.stands.emplace_back(std::vector<StandOption>{}, fmt::format("helipad{}", helipadNumber),
                             position.latitude, position.longitude, 0.0, width * 0.5, std::int16_t{0}, false,
                             false, true);
    ++helipadNumber;
}

void lf_readBglParkings(std::size_t t, std::size_t end, const BglWords& words, AirportFile& file,
                        std::set<std::string>& ids, const std::filesystem::path& path) {
    lf_needWords(t + 1, end, "parking list");
    const std::uint32_t count = (words[t + 1] >> 16) & 0xFFFF;
    std::size_t e = t + 2;
    for (std::uint32_t entry = 0; entry < count; ++entry) {
        lf_needWords(e + 1, end, "parking");
        const std::uint32_t head = words[e];
        const unsigned nameCode = head & 0x3F;
        const auto type = static_cast<std::int16_t>((head >> 8) & 0x0F);
        const std::uint32_t number = (head >> 12) & 0xFFF;
        const std::size_t extraWords = head >> 24;
        if (type != 0 && type != 13) {
            lf_needWords(e + 8, end, "parking");
            const Lalo position{lf_latitude(words[e + 8]), lf_longitude(words[e + 7])};
            if (!lf_validPosition(position)) {
                g_scanReport.push_back(fmt::format("LatLon {} invalid (skipped)", lf_positionText(position)));
            } else if (auto id =
                           lf_uniqueStandId(lf_namePrefix(nameCode) + std::to_string(number), ids, path)) {
                const double headingDeg = lf_float(words[e + 2]);
                const double heading = headingDeg == 0.0 ? 2.0 * std::numbers::pi : headingDeg * kDegToRad;
                file.stands.emplace_back(std::vector<StandOption>{}, std::move(*id), position.latitude,
                                         position.longitude, heading, lf_float(words[e + 1]), type, false,
                                         false, false);
            }
        }
        e += 14 + extraWords;
    }
}

std::optional<std::string> lf_uniqueStandId(const std::string& id, std::set<std::string>& ids,
                                            const std::filesystem::path& path) {
    if (ids.insert(id).second) return id;
    for (char suffix = 'a'; suffix <= 'j'; ++suffix) {
        std::string candidate = id + suffix;
        if (ids.insert(candidate).second) return candidate;
    }
    g_scanReport.push_back(
        fmt::format("{}Warning: more than 10 duplicate IDs {} in {}", "===> ", id, path_to_utf8(path)));
    return std::nullopt;
}

void lf_processBglAirport(BglRecordSpan record, const BglWords& words, FixedCode<4> code,
                          const std::filesystem::path& path, const std::optional<ManifestData>& manifest) {
    AirportFile file;
    file.code = code;
    file.sourcePath = path;
    file.bglPathText = path_to_utf8(path);
    file.manifest = manifest;
    file.manifestSearched = true;
    if (lf_linkArchivedApf(file)) return;
    if (gf_isAnonymousPackage(file)) return;
    file.altitude = lf_apfFromBglHeader(record.first, words).altitude;
    const int helipads = lf_readBglStands(record, words, file, path);
    lf_writeGeneratedApf(file, helipads);
}

void lf_processBGLfile(const std::filesystem::path& path) {
    bool processed = false;
    // The airport file counts are shown once per BGL file, also when a record ended it early.
    const auto showCounts = [&] {
        if (processed) gf_showAirportFileCounts();
    };
    try {
        std::ifstream in(path, std::ios::binary);
        if (!in.is_open()) return;
        const BglWords words = gf_readFileWords(in);
        const std::size_t n = words.size();
        if (n < 15 || words[1] != 56 || words[5] == 0) return;
        const std::uint64_t sections = words[5];
        if (n < 14 + 5 * sections) return;
        BglFileReader reader(path, words, processed);
        for (std::size_t i = 0; i < sections; ++i) {
            if (const auto data = lf_airportSubsection(words, i)) reader.walkSubsection(*data);
        }
    } catch (const std::exception& e) {
        showCounts();
        gf_logError(
            fmt::format("Exception in lf_processBGLfile (std::ex): {} — {}", path_to_utf8(path), e.what()));
        throw;
    } catch (...) {
        showCounts();
        gf_logError(fmt::format("Exception in lf_processBGLfile: {}", path_to_utf8(path)));
        throw;
    }
    showCounts();
}

}  // namespace mrw

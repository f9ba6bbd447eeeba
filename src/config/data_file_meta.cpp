#include "config/data_file_meta.h"

#include "foundation/log.h"
#include "foundation/time_texts.h"
#include "foundation/xml_helpers.h"

#include <array>
#include <string_view>

namespace mrw {

namespace {

// Appends info with name and, when that worked, value; true when all three were appended.
template <typename Value>
bool lf_appendEntry(pugi::xml_node& meta, const char* name, const Value& value) {
    pugi::xml_node info = meta.append_child("info");
    if (!info || !gf_appendAttribute(info, "name", std::string_view(name))) return false;
    pugi::xml_attribute attribute = info.append_attribute("value");
    return attribute && attribute.set_value(value);
}

// The entries a reader knows, in the order in which a name is compared with them.
enum Entry { kCopyright, kAuthor, kDate, kVersion, kSim, kP3d, kMsfs, kEntryCount };
constexpr std::array<std::string_view, kEntryCount> kEntryNames = {"copyright", "author", "date", "version",
                                                                   "sim",       "P3D",    "MSFS"};

}  // namespace

bool gf_writeMeta(pugi::xml_document& document, const DataFileMeta& meta) {
    pugi::xml_node root = document.child("root");
    if (!root) root = document.append_child("root");
    if (!root) return false;
    pugi::xml_node element = root.append_child("meta");
    if (!element) return false;

    const std::string date = gf_utcDate();
    bool complete = lf_appendEntry(element, "author", "Merrowvale");
    complete = lf_appendEntry(element, "version", meta.version.c_str()) && complete;
    complete = lf_appendEntry(element, "date", date.c_str()) && complete;
    complete = lf_appendEntry(element, "copyright", kCopyrightText) && complete;
    if (!lf_appendEntry(element, "sim", static_cast<int>(meta.sim))) return false;
    return complete;
}

std::optional<DataFileMeta> gf_readMeta(const pugi::xml_document& document, bool waiveSim) {
    pugi::xml_node root = document.child("root");
    if (!root) root = document;
    const pugi::xml_node element = root.child("meta");
    if (!element) return std::nullopt;

    DataFileMeta meta;
    std::array<bool, kEntryCount> seen{};
    for (const pugi::xml_node info : element.children("info")) {
        const std::string_view name = info.attribute("name").value();
        if (name.empty()) continue;
        std::size_t entry = 0;
        while (entry < kEntryCount && (seen[entry] || kEntryNames[entry] != name))
            ++entry;
        if (entry == kEntryCount) continue;

        const pugi::xml_attribute value = info.attribute("value");
        switch (entry) {
            case kCopyright:
                if (*value.value() == '\0') {
                    gf_logError("no copyright info in the file?");
                    return std::nullopt;
                }
                break;
            case kAuthor:
                meta.author = value.value();
                break;
            case kDate:
                meta.date = value.value();
                break;
            case kVersion:
                meta.version = value.value();
                break;
            case kSim:
                meta.sim = value.as_int(0);
                break;
            case kP3d:
                meta.P3D = value.value();
                break;
            case kMsfs:
                meta.MSFS = value.value();
                break;
        }
        seen[entry] = true;
    }
    const bool hasSim = seen[kSim] || seen[kP3d] || seen[kMsfs];
    if (!seen[kCopyright] || (!waiveSim && !hasSim)) return std::nullopt;
    return meta;
}

}  // namespace mrw

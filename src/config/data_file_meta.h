#pragma once
// The meta element of the XML data files the program generates (airport files, LiveriesScanned.xml):
// root/meta with one info element (attributes name, value) per entry: author, version, date,
// copyright and sim. Readers accept a file only when it carries a non-empty copyright entry and,
// unless they waive it, a simulator entry (sim, or the P3D and MSFS entries of older files).

#include <cstdint>
#include <optional>
#include <string>

#include <pugixml.hpp>

namespace mrw {

// The product's copyright line, written into every generated data file.
inline constexpr const char* kCopyrightText =
    "Copyright (c) 2026 the Merrowvale developers. All rights reserved.";

struct DataFileMeta {
    std::string author;
    std::string version;
    std::string date;
    std::string P3D;
    std::string MSFS;
    // -1 without a sim entry; 0 when the entry has no value or the value is no number.
    std::int32_t sim = -1;
};

// Appends a meta element under root (creating root when missing; a second meta when one exists)
// with the author "Merrowvale", meta.version, today's UTC date, the copyright text and meta.sim.
// True when all five entries were written completely.
bool gf_writeMeta(pugi::xml_document& document, const DataFileMeta& meta);

// The first meta element of the document (under root, or at the top). Empty when there is none,
// when its copyright entry is missing or empty (the latter logged), or, unless waiveSim, when it has
// no sim, P3D or MSFS entry. The first entry of each name counts.
std::optional<DataFileMeta> gf_readMeta(const pugi::xml_document& document, bool waiveSim);

}  // namespace mrw

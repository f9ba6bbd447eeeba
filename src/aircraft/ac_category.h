#pragma once
// The aircraft category of a model, which selects every per-category behaviour and table, and the
// category sets of model indexes that the aircraft database reader fills.

#include "aircraft/code_table.h"

#include <cstdint>
#include <string_view>
#include <unordered_set>

namespace mrw {

enum class AcCategory : std::uint8_t {
    Light = 0,
    Buzjets = 1,
    Large = 2,
    Heavy = 3,
    HighPerf = 4,
    Rotorcraft = 5
};

inline constexpr int kAcCategoryCount = 6;

// "Light", "Buzjets", "Large", "Heavy", "HighPerf" or "Rotorcraft": the text log lines show;
// std::out_of_range for any other value.
std::string_view gf_categoryName(AcCategory category);

using ModelSet = std::unordered_set<CodeIndex>;

// Filled by the aircraft database reader from its category sections; read-only afterwards.
// Created on first use and never destroyed (detached threads ask for categories).
ModelSet& g_largeModelSet();
ModelSet& g_heavyModelSet();
ModelSet& g_buzjetModelSet();
ModelSet& g_highPerfModelSet();
ModelSet& g_rotorcraftModelSet();

// The first set (large, heavy, buzjet, rotorcraft, high performance) that holds the model; Light
// when none does (also for index 0).
AcCategory gf_acCategory(CodeIndex model);
// gf_acCategory of gf_modelIndex of the text (which interns a code not yet in the table).
AcCategory gf_acCategoryOfCode(std::string_view modelCode);

}  // namespace mrw

#pragma once
// The registration-code store: which livery title belongs to a registration (regcode), which regcode
// an installed title carries, which titles are special liveries (kept out of random choices) and
// which regcodes belong to a special livery of one single aircraft; plus the don't-use titles that
// the liveries scan skips.
//
// Filled on the main worker while the livery catalogue is built and emptied together with it: every
// title held here is a view into the catalogue (a title that is not installed never enters). No lock.

#include <set>
#include <string>
#include <unordered_map>
#include <vector>

#include "aircraft/livery_catalogue.h"

namespace mrw {

// Created on first use and never destroyed.
// Regcode -> the title to give an aircraft with that registration (in-line and offline regcodes).
std::unordered_map<std::string, TitleView>& g_regcodeTitles();
// Title -> the registration its aircraft.cfg gives (in-line regcodes only).
std::unordered_map<TitleView, std::string>& g_titleRegcodes();
// One entry per installed special title of the offline lists, in merge order (repeats possible).
std::vector<TitleView>& g_specialTitles();
// Every regcode of a special entry that lists exactly one regcode.
std::set<std::string>& g_uniqueRegcodes();

// Titles the liveries scan skips: entries without regcodes in the AIG list and the user's lists.
// Own copies; filled before the scan's workers start and only read by them.
std::vector<std::string>& g_dontUseTitles();
// The content of output/info/OfflineRegcodes.txt, written by the offline processing.
std::vector<std::string>& g_offlineRegcodeLines();

// Empties the four maps and lists that hold catalogue views; part of emptying the catalogue.
void gf_clearRegcodeStore();

}  // namespace mrw

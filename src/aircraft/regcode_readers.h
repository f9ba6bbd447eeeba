#pragma once
// Readers of the registration-code lists: the shipped AIG regcode XML and the user's own .TXT files.
// They tie livery titles to the registrations of the aircraft that wear them, or name titles not to
// use at all. Main worker only; they change no global, everything goes into the caller's vector.

#include <filesystem>
#include <list>
#include <string>
#include <vector>

namespace mrw {

struct RegcodeEntry {
    std::string liveryTitle;
    std::list<std::string> regcodes;  // ascending, each once; empty: a don't-use title
    bool special = false;             // a special livery, kept out of random choices
};

// Appends the entries of input/AIG-regcodes.xml (decrypted by the caller) in document order. False
// when the file does not parse, has no valid meta or no aig element, or repeats a title; the plain
// file is removed on every way out.
bool gf_readAigRegcodes(std::vector<RegcodeEntry>& result);
// Appends the entries of every .TXT file (any case) directly inside the folder, files in name
// order. False when a regcode has a wrong length or the folder cannot be read.
bool gf_readRegcodeFiles(const std::filesystem::path& folder, std::vector<RegcodeEntry>& result);

}  // namespace mrw

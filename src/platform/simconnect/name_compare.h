#pragma once
// The simulator compares variable, event and facility item names without regard to ASCII case.

#include <algorithm>
#include <string>
#include <string_view>

namespace standin {

inline char gf_upperAscii(char c) {
    return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
}

inline bool gf_sameName(std::string_view a, std::string_view b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return gf_upperAscii(x) == gf_upperAscii(y);
           });
}

inline std::string gf_upperName(std::string_view name) {
    std::string upper(name);
    std::transform(upper.begin(), upper.end(), upper.begin(), gf_upperAscii);
    return upper;
}

}  // namespace standin

#pragma once
// The park airport's quality factors: how well its stands are covered by known uses, in percent,
// one factor for real uses and one for soft uses.

#include <cstdint>
#include <string>

namespace mrw {

struct QualityFactors {
    std::int32_t real = 0;  // percent 0 to 100; -1 in both = no stand has any use
    std::int32_t soft = 0;
    friend bool operator==(const QualityFactors&, const QualityFactors&) = default;
};

// The park airport's factors, shown in the window and the log. Main worker only.
inline QualityFactors g_qualityFactors;

// The factors of the stands in g_parkStands. Helipads and fuel stands (type 12) are not rated;
// inactive uses (sequence 0) only count for telling "no uses at all" ({-1, -1}).
QualityFactors gf_qualityFactors();

// Text of g_qualityFactors: two blanks when unset, "{:2}/{:2}" below 45 % real, else "{:2}".
std::string gf_qualityFactorText();

}  // namespace mrw

#pragma once
// The line splitter, exposed for its tests.

#include <string_view>

#include "foundation/text_file.h"

namespace mrw {

// Drops a leading UTF-8 mark, cuts at "\n" (a non-empty tail is a line), drops one trailing "\r".
void lf_splitLines(std::string_view text, LineList& lines);

}  // namespace mrw

#pragma once
// Internal: the display list of the paint in progress on this thread. Paints nest (a control
// painted while its parent paints), so each thread keeps a stack of them.

#include "platform/win32/display_list.h"

#include <vector>

namespace win32_internal {

void gf_beginRecording();
std::vector<standin::PaintOp> gf_endRecording();
// Appends to the innermost paint of this thread; outside a paint nothing is recorded.
void gf_record(standin::PaintOp op);

}  // namespace win32_internal

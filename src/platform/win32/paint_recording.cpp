#include "platform/win32/paint_recording.h"

#include <utility>

namespace win32_internal {

namespace {
thread_local std::vector<std::vector<standin::PaintOp>> t_recordings;
}

void gf_beginRecording() {
    t_recordings.emplace_back();
}

std::vector<standin::PaintOp> gf_endRecording() {
    if (t_recordings.empty()) return {};
    std::vector<standin::PaintOp> ops = std::move(t_recordings.back());
    t_recordings.pop_back();
    return ops;
}

void gf_record(standin::PaintOp op) {
    if (!t_recordings.empty()) t_recordings.back().push_back(std::move(op));
}

}  // namespace win32_internal

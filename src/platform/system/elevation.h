#pragma once
// Whether the process runs with administrator rights (root on Linux), with a test seam: CI runs
// as root, so the answer must be replaceable.

namespace platform {

bool isProcessElevated();

// While it lives, isProcessElevated gives the scripted answer. One at a time.
class ScopedElevationOverride {
  public:
    explicit ScopedElevationOverride(bool elevated);
    ~ScopedElevationOverride();
    ScopedElevationOverride(const ScopedElevationOverride&) = delete;
    ScopedElevationOverride& operator=(const ScopedElevationOverride&) = delete;
};

}  // namespace platform

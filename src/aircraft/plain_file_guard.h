#pragma once
// Removes a decrypted plain data file (input/dbase.xml, input/AIG-regcodes.xml) on every way out
// of its reader, so that an exception never leaves the plain text behind in the input folder.

#include <filesystem>

namespace mrw {

class PlainFileGuard {
  public:
    explicit PlainFileGuard(std::filesystem::path path) : path(std::move(path)) {}
    PlainFileGuard(const PlainFileGuard&) = delete;
    PlainFileGuard& operator=(const PlainFileGuard&) = delete;
    // Removes the file unless removeNow has run; never throws (a failure is only logged).
    ~PlainFileGuard();

    // Removes the file now with gf_removeFile, whose exceptions reach the caller.
    void removeNow();

  private:
    std::filesystem::path path;
    bool removed = false;
};

}  // namespace mrw

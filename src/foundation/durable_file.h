#pragma once
// The platform's part of replacing a file whole: writing bytes that are on the disk before the call
// returns, and renaming over a target so that the new name reaches the disk too. One file per
// platform implements it (durable_file_posix.cpp, durable_file_windows.cpp).

#include <filesystem>
#include <string_view>

namespace mrw {

// Creates or truncates the file, writes the bytes and flushes them to the disk: after a power cut
// the new name must never stand for a file without its content. False on any failure.
bool gf_writeDurably(const std::filesystem::path& path, std::string_view bytes);

// Renames `from` over `target` (replacing it) and makes the rename itself durable. False on failure,
// with `from` left in place.
bool gf_renameDurably(const std::filesystem::path& from, const std::filesystem::path& target);

// The id of this process, for names unique among processes.
unsigned long gf_processId();

}  // namespace mrw

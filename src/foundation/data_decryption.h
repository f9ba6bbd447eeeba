#pragma once
// Decryption of the shipped data files (input/dbase.enc, input/airports.enc, input/AIG-regcodes.enc):
// libsodium's secret stream (XChaCha20-Poly1305), a 24-byte header followed by chunks of 4096 plain
// bytes (4113 encrypted), the last one tagged final. No additional data.

#include <array>
#include <cstddef>
#include <filesystem>
#include <string>

namespace mrw {

inline constexpr std::size_t kDataHeaderBytes = 24;
inline constexpr std::size_t kDataPlainChunkBytes = 4096;
inline constexpr std::size_t kDataChunkOverheadBytes = 17;
inline constexpr std::size_t kDataCipherChunkBytes = kDataPlainChunkBytes + kDataChunkOverheadBytes;

using DataKey = std::array<unsigned char, 32>;

// Fills `key` with the one key of all data files. The encryption tool shares it; callers wipe the
// buffer (sodium_memzero) as soon as they are done, and never write it anywhere.
void gf_assembleDataKey(DataKey& key);

// Decrypts the input file into the output file, replacing it. Every failure is logged as
// "gf_streamDecrypt exception: {}", the output file is removed and the result is false.
bool gf_streamDecrypt(const std::filesystem::path& input, const std::filesystem::path& output);

// The worker: throws std::runtime_error on every failure, also for an input that is shorter than
// its header or that ends without a chunk tagged final. Bytes after the final chunk are ignored.
// The output is written to a temporary sibling and renamed over the output file on success.
void gf_decryptFile(const DataKey& key, const std::string& inputPath, const std::string& outputPath);

}  // namespace mrw

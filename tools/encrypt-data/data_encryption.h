#pragma once
// Encrypts plain text (an XML data file) into the .enc format that gf_streamDecrypt reads: the
// 24-byte secret-stream header, then the plain text in chunks of `chunkSize` bytes, the last chunk
// tagged final.

#include <cstddef>
#include <filesystem>
#include <string>
#include <string_view>

#include "foundation/data_decryption.h"

namespace mrw {

// How the stream ends. LastPiece: the last piece of plain text is the final chunk (a full one when the
// size is a multiple of the chunk size; an empty one only for empty plain text). Empty: the same,
// except that plain text ending at a chunk boundary is followed by a final chunk without plain text.
// Every chunk before the final one is full either way, as the reader expects.
enum class FinalChunk { LastPiece, Empty };

// The encrypted bytes, with the program's key. Another chunk size than kDataPlainChunkBytes gives a
// file the program cannot read (tests use it). Throws std::runtime_error for a chunk size of 0 or
// when libsodium fails.
std::string gf_encryptData(std::string_view plain, std::size_t chunkSize = kDataPlainChunkBytes,
                           FinalChunk finalChunk = FinalChunk::LastPiece);

// Encrypts the plain file into the encrypted file (written whole through a temporary sibling).
// Throws std::runtime_error naming the file that could not be read or written.
void gf_encryptDataFile(const std::filesystem::path& plainFile, const std::filesystem::path& encryptedFile);

}  // namespace mrw

#include "tools/encrypt-data/data_encryption.h"

#include "foundation/file_replace.h"
#include "foundation/text_encoding.h"

#include <sodium.h>

#include <algorithm>
#include <array>
#include <fstream>
#include <iterator>
#include <stdexcept>

namespace mrw {

namespace {

// Wipes the key when the encryption ends, also by an exception.
class ScopedKey {
  public:
    ScopedKey() { gf_assembleDataKey(m_key); }
    ~ScopedKey() { sodium_memzero(m_key.data(), m_key.size()); }
    ScopedKey(const ScopedKey&) = delete;
    ScopedKey& operator=(const ScopedKey&) = delete;
    const unsigned char* data() const { return m_key.data(); }

  private:
    DataKey m_key{};
};

void lf_pushChunk(crypto_secretstream_xchacha20poly1305_state& state, std::string_view plain,
                  unsigned char tag, std::string& out) {
    const std::size_t begin = out.size();
    out.resize(begin + plain.size() + crypto_secretstream_xchacha20poly1305_ABYTES);
    unsigned long long written = 0;
    if (crypto_secretstream_xchacha20poly1305_push(
            &state, reinterpret_cast<unsigned char*>(out.data() + begin), &written,
            reinterpret_cast<const unsigned char*>(plain.data()), plain.size(), nullptr, 0, tag) != 0) {
        throw std::runtime_error("Encryption failed");
    }
    out.resize(begin + written);
}

}  // namespace

std::string gf_encryptData(std::string_view plain, std::size_t chunkSize, FinalChunk finalChunk) {
    if (chunkSize == 0) throw std::runtime_error("The chunk size must be at least 1");
    if (sodium_init() < 0) throw std::runtime_error("libsodium could not be initialised");
    const ScopedKey key;
    crypto_secretstream_xchacha20poly1305_state state;
    std::array<unsigned char, crypto_secretstream_xchacha20poly1305_HEADERBYTES> header{};
    if (crypto_secretstream_xchacha20poly1305_init_push(&state, header.data(), key.data()) != 0) {
        throw std::runtime_error("Encryption failed");
    }
    std::string out(header.begin(), header.end());
    out.reserve(header.size() + plain.size() + (plain.size() / chunkSize + 1) * kDataChunkOverheadBytes);
    // What may be left for the final chunk: up to a whole chunk (LastPiece), or less than one (Empty),
    // so that plain text ending at a chunk boundary is followed by an empty final chunk.
    const std::size_t finalPieceMax = finalChunk == FinalChunk::LastPiece ? chunkSize : chunkSize - 1;
    while (plain.size() > finalPieceMax) {
        const std::size_t take = std::min(chunkSize, plain.size());
        lf_pushChunk(state, plain.substr(0, take), crypto_secretstream_xchacha20poly1305_TAG_MESSAGE, out);
        plain.remove_prefix(take);
    }
    lf_pushChunk(state, plain, crypto_secretstream_xchacha20poly1305_TAG_FINAL, out);
    sodium_memzero(&state, sizeof state);
    return out;
}

void gf_encryptDataFile(const std::filesystem::path& plainFile, const std::filesystem::path& encryptedFile) {
    std::ifstream in(plainFile, std::ios::binary);
    if (!in.is_open()) throw std::runtime_error("Could not open input file: " + path_to_utf8(plainFile));
    const std::string plain{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    if (in.bad()) throw std::runtime_error("Could not read input file: " + path_to_utf8(plainFile));
    if (!gf_replaceFile(encryptedFile, gf_encryptData(plain))) {
        throw std::runtime_error("Could not write output file: " + path_to_utf8(encryptedFile));
    }
}

}  // namespace mrw

#include "foundation/data_decryption.h"

#include "foundation/file_replace.h"
#include "foundation/file_system.h"
#include "foundation/log.h"
#include "foundation/text_encoding.h"

#include <fmt/format.h>
#include <sodium.h>

#include <exception>
#include <fstream>
#include <stdexcept>
#include <system_error>

namespace mrw {

namespace fs = std::filesystem;

static_assert(kDataHeaderBytes == crypto_secretstream_xchacha20poly1305_HEADERBYTES);
static_assert(kDataChunkOverheadBytes == crypto_secretstream_xchacha20poly1305_ABYTES);
static_assert(std::tuple_size_v<DataKey> == crypto_secretstream_xchacha20poly1305_KEYBYTES);

namespace {

// Removes the temporary file unless the decryption got as far as renaming it.
class TemporaryOutput {
  public:
    explicit TemporaryOutput(fs::path path) : m_path(std::move(path)) {}
    ~TemporaryOutput() {
        std::error_code ec;
        if (!m_kept) fs::remove(m_path, ec);
    }
    TemporaryOutput(const TemporaryOutput&) = delete;
    TemporaryOutput& operator=(const TemporaryOutput&) = delete;

    const fs::path& path() const { return m_path; }
    void keep() { m_kept = true; }

  private:
    fs::path m_path;
    bool m_kept = false;
};

std::size_t lf_read(std::ifstream& in, unsigned char* buffer, std::size_t size) {
    in.read(reinterpret_cast<char*>(buffer), static_cast<std::streamsize>(size));
    return static_cast<std::size_t>(in.gcount());
}

// Decrypts chunk after chunk until the chunk tagged final; throws when the input ends before it.
void lf_decryptChunks(crypto_secretstream_xchacha20poly1305_state& state, std::ifstream& in,
                      std::ofstream& out) {
    std::array<unsigned char, kDataCipherChunkBytes> cipher{};
    std::array<unsigned char, kDataPlainChunkBytes> plain{};
    for (;;) {
        const std::size_t got = lf_read(in, cipher.data(), cipher.size());
        if (got == 0) throw std::runtime_error("Input file ends without a final chunk");
        unsigned long long plainLength = 0;
        unsigned char tag = 0;
        if (crypto_secretstream_xchacha20poly1305_pull(&state, plain.data(), &plainLength, &tag,
                                                       cipher.data(), got, nullptr, 0) != 0) {
            throw std::runtime_error("Decryption failed");
        }
        out.write(reinterpret_cast<const char*>(plain.data()), static_cast<std::streamsize>(plainLength));
        if (!out) throw std::runtime_error("Could not write output file");
        if (tag == crypto_secretstream_xchacha20poly1305_TAG_FINAL) return;
    }
}

}  // namespace

void gf_decryptFile(const DataKey& key, const std::string& inputPath, const std::string& outputPath) {
    if (sodium_init() < 0) throw std::runtime_error("libsodium could not be initialised");
    std::ifstream in(utf8_to_path(inputPath), std::ios::binary);
    if (!in.is_open()) throw std::runtime_error("Could not open input file: " + inputPath);
    TemporaryOutput temporary(gf_temporarySibling(utf8_to_path(outputPath)));
    {
        std::ofstream out(temporary.path(), std::ios::binary | std::ios::trunc);
        if (!out.is_open()) throw std::runtime_error("Could not open output file: " + outputPath);

        std::array<unsigned char, kDataHeaderBytes> header{};
        if (lf_read(in, header.data(), header.size()) != header.size()) {
            throw std::runtime_error("Input file is shorter than its header");
        }
        crypto_secretstream_xchacha20poly1305_state state;
        if (crypto_secretstream_xchacha20poly1305_init_pull(&state, header.data(), key.data()) != 0) {
            throw std::runtime_error("Invalid header or key");
        }
        lf_decryptChunks(state, in, out);
        sodium_memzero(&state, sizeof state);
        out.close();
        if (!out) throw std::runtime_error("Could not write output file: " + outputPath);
    }
    std::error_code ec;
    fs::rename(temporary.path(), utf8_to_path(outputPath), ec);
    if (ec)
        throw std::runtime_error(
            fmt::format("Could not write output file: {} ({})", outputPath, ec.message()));
    temporary.keep();
}

bool gf_streamDecrypt(const fs::path& input, const fs::path& output) {
    DataKey key{};
    gf_assembleDataKey(key);
    bool ok = true;
    try {
        gf_decryptFile(key, path_to_utf8(input), path_to_utf8(output));
    } catch (const std::exception& e) {
        gf_logLine(fmt::format("{} exception: {}", "gf_streamDecrypt", e.what()));
        ok = false;
    }
    sodium_memzero(key.data(), key.size());
    if (!ok) gf_removeFile(output);
    return ok;
}

}  // namespace mrw

// The data files' key on its own, so that the encryption tool built for the build machine (when the
// program is cross-built) needs nothing else of the product.
#include "foundation/data_decryption.h"

#include <cstdint>

namespace mrw {

namespace {

// The key in four parts, so it never stands in the binary as one run of 32 bytes.
constexpr std::uint64_t kKeyParts[4] = {0x2419ea6e7dcadc3aULL, 0x8a8495ecbab0816fULL, 0x070070ac4c16ae6aULL,
                                        0x06f81cbc2b0d995cULL};

}  // namespace

void gf_assembleDataKey(DataKey& key) {
    for (std::size_t part = 0; part < 4; ++part) {
        for (std::size_t byte = 0; byte < 8; ++byte) {
            key[part * 8 + byte] = static_cast<unsigned char>(kKeyParts[part] >> (8 * byte));
        }
    }
}

}  // namespace mrw

#include "foundation/network_text.h"

#include "foundation/text_encoding.h"

namespace mrw {

std::string gf_quotedNetworkText(std::string_view text) {
    if (text.size() <= kMaxQuotedBytes) return std::string(text);
    return gf_utf8Prefix(text, kMaxQuotedBytes) + "...";
}

}  // namespace mrw

#pragma once
// Text that arrived from the network (RealTraffic's datagrams and answers, the callsigns and other
// names they carry), cut before it goes into a log line so that the line stays small.

#include <cstddef>
#include <string>
#include <string_view>

namespace mrw {

// A log line quotes at most this many bytes of a text from the network.
inline constexpr std::size_t kMaxQuotedBytes = 200;

// The text, or its first kMaxQuotedBytes bytes (never half a UTF-8 character) followed by "...".
std::string gf_quotedNetworkText(std::string_view text);

}  // namespace mrw

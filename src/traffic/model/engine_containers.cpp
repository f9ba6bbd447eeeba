#include "traffic/model/engine_containers.h"

#include <algorithm>

namespace mrw {

bool gf_withdrawCreateRequest(std::deque<CreateRequest>& queue, std::string_view callsign) {
    if (callsign.empty()) return false;
    const auto before = queue.size();
    std::erase_if(queue, [&](const CreateRequest& request) { return request.callsign == callsign; });
    return queue.size() != before;
}

}  // namespace mrw

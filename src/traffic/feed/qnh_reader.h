#pragma once
// The reader of RealTraffic's weather datagrams (the QNH Reader thread): a JSON object whose "QNH"
// member gives the QNH at the user's position.

#include <atomic>
#include <cstdint>
#include <optional>
#include <string_view>

#include <nlohmann/json_fwd.hpp>

#include "traffic/feed/udp_reader.h"

namespace mrw {

class QnhReader : public UdpReader {
  public:
    // Reads the QNH and publishes it to this reader, the Traffic Reader, the engine and the window.
    void onDatagram(std::string_view datagram) override;
    // "QNH Reader has stopped".
    void onStopped() override;

    // The last published QNH in hPa; 0 at program start, 1013 after a reset.
    std::atomic<std::int32_t> qnh{0};

  private:
    std::optional<std::int32_t> qnhValue(const nlohmann::json& member, std::string_view datagram);
};

}  // namespace mrw

#pragma once
// Our RealTraffic peer: sends traffic and weather datagrams (a replayed recording and generated
// aircraft) and is the TCP client of the program's RealTraffic link. It prints what it sends and
// receives through its print function. Sends only to the host it is given (127.0.0.1 by default).

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

#include "platform/winsock/winsock.h"
#include "tools/realtraffic-peer/realtraffic_records.h"

namespace rtpeer {

struct PeerOptions {
    std::string host = "127.0.0.1";
    std::uint16_t trafficPort = 49005;
    std::uint16_t weatherPort = 49004;
    // The program's TCP port; no link when nothing.
    std::optional<std::uint16_t> linkPort = 10747;

    // The recording to replay (none: no replay), its pacing factor (2 = twice as fast) and whether it
    // starts again at its end.
    std::filesystem::path recording;
    double speed = 1.0;
    bool loop = false;

    // Generated aircraft, sent every `generateIntervalSeconds`, with a weather datagram holding
    // `generatedQnh` when set.
    std::vector<GeneratedAircraft> aircraft;
    double generateIntervalSeconds = 2.0;
    std::optional<std::string> generatedQnh;

    // The answer to "Qs999=version": {"level": level, "version": version}; or exactly `answerText`;
    // or nothing when `silent`.
    int level = 1;
    std::string version = "9.0.0";
    std::optional<std::string> answerText;
    bool silent = false;
    // Close the link this many seconds after it was set up, and connect again after the delay.
    std::optional<double> dropAfterSeconds;
    double reconnectDelaySeconds = 2.0;

    // Where the peer says what it sends and receives (standard output by default); called from the
    // peer's threads, one line at a time.
    std::function<void(std::string_view)> print;
    // Print every datagram (else only counts and the link's messages).
    bool verbose = true;
};

class Peer {
  public:
    explicit Peer(PeerOptions options);
    ~Peer();
    Peer(const Peer&) = delete;
    Peer& operator=(const Peer&) = delete;

    // Starts the sender and link threads.
    void start();
    // Stops and joins them; the link is closed.
    void stop();
    // The replay has sent its last record (never with `loop`), and generated aircraft are not used.
    bool finished() const { return m_finished.load(); }
    // Waits until finished or stopped.
    void waitUntilFinished();

    // Every message received on the link, in order, without its CR LF.
    std::vector<std::string> linkMessages() const;
    // Waits at most the timeout until `count` received messages begin with the prefix.
    bool waitForMessages(std::string_view prefix, std::size_t count, std::chrono::milliseconds timeout) const;
    // Links set up so far (each connect that was accepted).
    int connections() const { return m_connections.load(); }
    // Closes the link now; it connects again after the reconnect delay.
    void dropLink() { m_dropRequested = true; }

    std::size_t trafficSent() const { return m_trafficSent.load(); }
    std::size_t weatherSent() const { return m_weatherSent.load(); }

  private:
    void senderLoop();
    void replayOnce(const std::vector<RecordingEntry>& entries, std::chrono::steady_clock::time_point start,
                    double wallStart);
    void sendGenerated(double elapsedSeconds);
    void linkLoop();
    void serveLink(SOCKET link);
    void sendDatagram(bool weather, const std::string& text);
    bool waitUntil(std::chrono::steady_clock::time_point deadline);
    void say(std::string_view line);

    PeerOptions m_options;
    SOCKET m_udp = INVALID_SOCKET;
    bool m_winsockStarted = false;
    std::thread m_sender;
    std::thread m_link;
    std::atomic<bool> m_stop{false};
    std::atomic<bool> m_finished{false};
    std::atomic<bool> m_dropRequested{false};
    std::atomic<int> m_connections{0};
    std::atomic<std::size_t> m_trafficSent{0};
    std::atomic<std::size_t> m_weatherSent{0};
    mutable std::mutex m_mutex;
    mutable std::condition_variable m_changed;
    std::vector<std::string> m_messages;  // m_mutex
    std::mutex m_printMutex;
};

}  // namespace rtpeer

#pragma once
// A small HTTP/1.1 server on 127.0.0.1 for tests of downloads: a thread of the test program on a port
// the system chooses, one connection at a time, every answer closes its connection.

#include "platform/winsock/winsock.h"
#include "support/winsock_session.h"

#include <condition_variable>
#include <cstddef>
#include <map>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace mrwtest {

class HttpTestServer {
  public:
    struct Answer {
        int status = 200;
        std::string body;
        std::string headers;    // extra header lines, each ended by "\r\n"
        bool stall = false;     // send the headers and a first byte of the body, then nothing more
        bool truncate = false;  // announce the body's length, send half of it, then close
    };

    // Paths without an answer get 404.
    explicit HttpTestServer(std::map<std::string, Answer> answers);
    ~HttpTestServer();
    HttpTestServer(const HttpTestServer&) = delete;
    HttpTestServer& operator=(const HttpTestServer&) = delete;

    // "http://127.0.0.1:<port>"
    std::string site() const;
    std::string url(const std::string& path) const { return site() + path; }

    // The request lines' paths so far, and a wait (generous bound) until there are at least `count`.
    std::vector<std::string> requests() const;
    bool waitForRequests(std::size_t count) const;
    // The request headers of the last request.
    std::string lastRequestHeaders() const;

  private:
    void serve();
    void answer(SOCKET client);
    bool stopping() const;

    WinsockSession m_winsock;
    std::map<std::string, Answer> m_answers;
    SOCKET m_listener = INVALID_SOCKET;
    int m_port = 0;
    bool m_stop = false;  // guarded by m_mutex
    mutable std::mutex m_mutex;
    mutable std::condition_variable m_changed;
    std::vector<std::string> m_requests;
    std::string m_lastHeaders;
    std::thread m_thread;
};

}  // namespace mrwtest

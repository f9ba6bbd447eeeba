#include "support/http_test_server.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <chrono>
#include <stdexcept>
#include <string_view>

namespace mrwtest {

namespace {

constexpr int kPollMs = 20;

bool lf_sendAll(int fd, std::string_view bytes) {
    while (!bytes.empty()) {
        const ssize_t sent = ::send(fd, bytes.data(), bytes.size(), MSG_NOSIGNAL);
        if (sent <= 0) return false;
        bytes.remove_prefix(static_cast<std::size_t>(sent));
    }
    return true;
}

std::string lf_reason(int status) {
    switch (status) {
        case 200:
            return "OK";
        case 301:
            return "Moved Permanently";
        case 404:
            return "Not Found";
        case 500:
            return "Internal Server Error";
        default:
            return "Status";
    }
}

}  // namespace

HttpTestServer::HttpTestServer(std::map<std::string, Answer> answers) : m_answers(std::move(answers)) {
    m_listener = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    address.sin_port = 0;
    socklen_t length = sizeof address;
    if (m_listener < 0 || ::bind(m_listener, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 ||
        ::listen(m_listener, 8) != 0 ||
        ::getsockname(m_listener, reinterpret_cast<sockaddr*>(&address), &length) != 0) {
        if (m_listener >= 0) ::close(m_listener);
        throw std::runtime_error("HttpTestServer: no listening socket on 127.0.0.1");
    }
    m_port = ntohs(address.sin_port);
    m_thread = std::thread([this] { serve(); });
}

HttpTestServer::~HttpTestServer() {
    {
        std::lock_guard lock(m_mutex);
        m_stop = true;
    }
    m_thread.join();
    ::close(m_listener);
}

std::string HttpTestServer::site() const {
    return "http://127.0.0.1:" + std::to_string(m_port);
}

std::vector<std::string> HttpTestServer::requests() const {
    std::lock_guard lock(m_mutex);
    return m_requests;
}

bool HttpTestServer::waitForRequests(std::size_t count) const {
    std::unique_lock lock(m_mutex);
    return m_changed.wait_for(lock, std::chrono::seconds(30), [&] { return m_requests.size() >= count; });
}

std::string HttpTestServer::lastRequestHeaders() const {
    std::lock_guard lock(m_mutex);
    return m_lastHeaders;
}

void HttpTestServer::serve() {
    for (;;) {
        {
            std::lock_guard lock(m_mutex);
            if (m_stop) return;
        }
        pollfd listener{m_listener, POLLIN, 0};
        if (::poll(&listener, 1, kPollMs) <= 0) continue;
        const int client = ::accept(m_listener, nullptr, nullptr);
        if (client < 0) continue;
        answer(client);
        ::close(client);
    }
}

void HttpTestServer::answer(int client) {
    // Read the request head; give up when the client goes or the server stops.
    std::string head;
    char buffer[4096];
    while (head.find("\r\n\r\n") == std::string::npos) {
        pollfd in{client, POLLIN, 0};
        if (::poll(&in, 1, kPollMs) == 0) {
            std::lock_guard lock(m_mutex);
            if (m_stop) return;
            continue;
        }
        const ssize_t got = ::recv(client, buffer, sizeof buffer, 0);
        if (got <= 0) return;
        head.append(buffer, static_cast<std::size_t>(got));
    }
    const std::size_t pathBegin = head.find(' ') + 1;
    const std::string path = head.substr(pathBegin, head.find(' ', pathBegin) - pathBegin);
    {
        std::lock_guard lock(m_mutex);
        m_requests.push_back(path);
        m_lastHeaders = head;
    }
    m_changed.notify_all();

    const auto found = m_answers.find(path);
    const Answer answer =
        found != m_answers.end() ? found->second : Answer{404, "not here", {}, false, false};
    const std::string statusLine =
        "HTTP/1.1 " + std::to_string(answer.status) + " " + lf_reason(answer.status);
    const std::size_t announced = answer.stall ? 1000 : answer.body.size();
    if (!lf_sendAll(client, statusLine + "\r\nContent-Length: " + std::to_string(announced) +
                                "\r\nConnection: close\r\n" + answer.headers + "\r\n")) {
        return;
    }
    if (answer.truncate) {
        lf_sendAll(client, std::string_view(answer.body).substr(0, answer.body.size() / 2));
        return;
    }
    if (!answer.stall) {
        lf_sendAll(client, answer.body);
        return;
    }
    // Stalled: one byte, then nothing until the client gives up or the server stops.
    lf_sendAll(client, "x");
    for (;;) {
        pollfd in{client, POLLIN, 0};
        if (::poll(&in, 1, kPollMs) > 0 && ::recv(client, buffer, sizeof buffer, 0) <= 0) return;
        std::lock_guard lock(m_mutex);
        if (m_stop) return;
    }
}

}  // namespace mrwtest

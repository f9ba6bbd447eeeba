#include "support/http_test_server.h"

#include <chrono>
#include <stdexcept>
#include <string_view>

namespace mrwtest {

namespace {

// The server's sockets never block: between tries it waits this long and looks whether it is
// stopping. (The Winsock calls the product uses have no poll of their own.)
constexpr auto kRetry = std::chrono::milliseconds(20);

bool lf_wouldBlock() {
    return WSAGetLastError() == WSAEWOULDBLOCK;
}

bool lf_setNonBlocking(SOCKET s) {
    u_long on = 1;
    return ioctlsocket(s, FIONBIO, &on) == 0;
}

bool lf_sendAll(SOCKET s, std::string_view bytes) {
    while (!bytes.empty()) {
        const int sent = ::send(s, bytes.data(), static_cast<int>(bytes.size()), 0);
        if (sent == SOCKET_ERROR && lf_wouldBlock()) {
            std::this_thread::sleep_for(kRetry);
            continue;
        }
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
    m_listener = ::socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    address.sin_port = 0;
    int length = sizeof address;
    if (m_listener == INVALID_SOCKET ||
        ::bind(m_listener, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 ||
        ::listen(m_listener, 8) != 0 ||
        ::getsockname(m_listener, reinterpret_cast<sockaddr*>(&address), &length) != 0 ||
        !lf_setNonBlocking(m_listener)) {
        if (m_listener != INVALID_SOCKET) ::closesocket(m_listener);
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
    ::closesocket(m_listener);
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

bool HttpTestServer::stopping() const {
    std::lock_guard lock(m_mutex);
    return m_stop;
}

void HttpTestServer::serve() {
    while (!stopping()) {
        const SOCKET client = ::accept(m_listener, nullptr, nullptr);
        if (client == INVALID_SOCKET) {
            std::this_thread::sleep_for(kRetry);
            continue;
        }
        // Not inherited from the listener on Linux; inherited on Windows: set either way.
        if (lf_setNonBlocking(client)) answer(client);
        ::closesocket(client);
    }
}

void HttpTestServer::answer(SOCKET client) {
    // Read the request head; give up when the client goes or the server stops.
    std::string head;
    char buffer[4096];
    while (head.find("\r\n\r\n") == std::string::npos) {
        const int got = ::recv(client, buffer, sizeof buffer, 0);
        if (got == SOCKET_ERROR && lf_wouldBlock()) {
            if (stopping()) return;
            std::this_thread::sleep_for(kRetry);
            continue;
        }
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
    while (!stopping()) {
        const int got = ::recv(client, buffer, sizeof buffer, 0);
        if (got == 0 || (got == SOCKET_ERROR && !lf_wouldBlock())) return;
        if (got == SOCKET_ERROR) std::this_thread::sleep_for(kRetry);
    }
}

}  // namespace mrwtest

#include "DatabaseProxy.h"
#include "PrivateDatabase.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <stdexcept>
#include <string>
#include <vector>

namespace {

sockaddr_in local(int port)
{
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(static_cast<uint16_t>(port));
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    return address;
}

bool writeAll(int fd, const char* data, size_t size)
{
    while (size > 0) {
        const ssize_t n = ::write(fd, data, size);
        if (n <= 0)
            return false;
        data += n;
        size -= static_cast<size_t>(n);
    }
    return true;
}

// A COMMIT travels alone, so the piece that carries it ends with the query command byte and the
// statement.
bool isCommit(const char* data, size_t size)
{
    static const std::string command("\x03" "COMMIT");
    return size >= command.size() && std::equal(command.begin(), command.end(), data + size - command.size());
}

// A statement starts a packet of its own: the packet's length and number, the query command byte and
// the statement.
bool startsStatement(const char* data, size_t size, const std::string& start)
{
    return !start.empty() && size >= 5 + start.size() && data[4] == '\x03' &&
           std::equal(start.begin(), start.end(), data + 5);
}

struct Link {
    int client;
    int server;
    bool dropReply = false;
    bool held = false;
};

} // namespace

DatabaseProxy::DatabaseProxy()
{
    m_serverPort = PrivateDatabase::Port();
    m_listener = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address = local(0);
    socklen_t length = sizeof address;
    if (m_listener < 0 || ::bind(m_listener, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 ||
        ::listen(m_listener, 16) != 0 ||
        ::getsockname(m_listener, reinterpret_cast<sockaddr*>(&address), &length) != 0 || ::pipe(m_wake) != 0)
        throw std::runtime_error("the database proxy cannot listen");
    m_port = ntohs(address.sin_port);
    m_thread = std::thread([this] { run(); });
}

DatabaseProxy::~DatabaseProxy()
{
    (void)::write(m_wake[1], "x", 1);
    m_thread.join();
    ::close(m_listener);
    ::close(m_wake[0]);
    ::close(m_wake[1]);
}

QString DatabaseProxy::ConnectionString() const
{
    return PrivateDatabase::ConnectionString(m_port);
}

void DatabaseProxy::LoseNext(Loss loss, bool thenRefuse)
{
    m_refuseAfter = thenRefuse;
    m_loss = loss;
}

void DatabaseProxy::HoldNext(const QString& start)
{
    const std::lock_guard lock(m_holdMutex);
    m_holdStart = start.toStdString();
    m_holding = false;
}

bool DatabaseProxy::takesHold(const char* data, size_t size)
{
    const std::lock_guard lock(m_holdMutex);
    if (!startsStatement(data, size, m_holdStart))
        return false;
    m_holdStart.clear();
    m_holding = true;
    return true;
}

void DatabaseProxy::run()
{
    std::vector<Link> links;
    auto cut = [&](size_t i) {
        ::close(links[i].client);
        ::close(links[i].server);
        links.erase(links.begin() + static_cast<std::ptrdiff_t>(i));
    };
    // The station must find the server gone as soon as it notices the broken connection.
    auto lose = [&](size_t i) {
        if (m_refuseAfter)
            m_refusing = true;
        cut(i);
    };
    char buffer[65536];
    for (;;) {
        std::vector<pollfd> fds{{m_wake[0], POLLIN, 0}, {m_listener, POLLIN, 0}};
        for (const Link& link : links) {
            fds.push_back({link.client, POLLIN, 0});
            fds.push_back({link.server, POLLIN, 0});
        }
        if (::poll(fds.data(), fds.size(), -1) < 0)
            continue;
        if (fds[0].revents)
            break;
        // Links are looked at from the last, so that cutting one leaves the others' places.
        for (size_t i = links.size(); i-- > 0;) {
            const pollfd& client = fds[2 + 2 * i];
            const pollfd& server = fds[3 + 2 * i];
            Link& link = links[i];
            if (server.revents) {
                const ssize_t n = ::read(link.server, buffer, sizeof buffer);
                if (n <= 0) {
                    cut(i);
                    continue;
                }
                if (link.dropReply) {
                    lose(i);
                    continue;
                }
                if (!writeAll(link.client, buffer, static_cast<size_t>(n))) {
                    cut(i);
                    continue;
                }
            }
            if (client.revents) {
                const ssize_t n = ::read(link.client, buffer, sizeof buffer);
                if (n <= 0) {
                    cut(i);
                    continue;
                }
                link.held = link.held || takesHold(buffer, static_cast<size_t>(n));
                if (link.held)
                    continue;
                Loss loss = Loss::None;
                if (isCommit(buffer, static_cast<size_t>(n)))
                    loss = m_loss.exchange(Loss::None);
                if (loss == Loss::Commit) {
                    lose(i);
                    continue;
                }
                link.dropReply = loss == Loss::CommitReply;
                if (!writeAll(link.server, buffer, static_cast<size_t>(n)))
                    cut(i);
            }
        }
        if (fds[1].revents) {
            const int client = ::accept(m_listener, nullptr, nullptr);
            if (client < 0)
                continue;
            const int server = ::socket(AF_INET, SOCK_STREAM, 0);
            const sockaddr_in address = local(m_serverPort);
            if (m_refusing || server < 0 ||
                ::connect(server, reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0) {
                ::close(client);
                if (server >= 0)
                    ::close(server);
                continue;
            }
            links.push_back({client, server});
        }
    }
    while (!links.empty())
        cut(links.size() - 1);
}

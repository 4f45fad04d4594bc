#pragma once

#include <QString>

#include <atomic>
#include <cstddef>
#include <mutex>
#include <string>
#include <thread>

// A TCP proxy on 127.0.0.1 between the program and the private server, which loses what a link
// can lose: the server's reply to the next COMMIT (the server committed, the station never heard)
// or the COMMIT itself (the server never got it), with that connection broken after. It can also
// refuse every new connection, as a server that has gone away, or hold a statement back while the
// server keeps the connection, as a link that lost it or a station that stopped just before it.
class DatabaseProxy {
public:
    DatabaseProxy();
    ~DatabaseProxy();
    DatabaseProxy(const DatabaseProxy&) = delete;
    DatabaseProxy& operator=(const DatabaseProxy&) = delete;

    // The private server's connection string, through the proxy, and the proxy's port.
    QString ConnectionString() const;
    int Port() const { return m_port; }

    enum class Loss { None, CommitReply, Commit };
    // The next COMMIT of any connection loses what is named; then new connections are refused
    // when asked.
    void LoseNext(Loss loss, bool thenRefuse = false);
    void SetRefusing(bool refusing) { m_refusing = refusing; }
    // Whether the armed loss has happened.
    bool Lost() const { return m_loss == Loss::None; }
    // The next statement of any connection that begins with start never reaches the server, nor does
    // anything more of that connection; the link stays open until the server ends it.
    void HoldNext(const QString& start);
    // Whether the statement armed to be held has come.
    bool Holding() const { return m_holding; }

private:
    void run();
    // Whether the piece a client sent is the statement armed to be held; it is held then.
    bool takesHold(const char* data, size_t size);

    int m_listener = -1;
    int m_wake[2] = {-1, -1};
    int m_port = 0;
    int m_serverPort = 0;
    std::atomic<Loss> m_loss{Loss::None};
    std::atomic<bool> m_refuseAfter{false};
    std::atomic<bool> m_refusing{false};
    std::mutex m_holdMutex;
    std::string m_holdStart;
    std::atomic<bool> m_holding{false};
    std::thread m_thread;
};

#pragma once

#include <QObject>

#include <csignal>
#include <functional>
#include <iterator>

class QSocketNotifier;

// The system's requests that the program end: SIGTERM (the desktop's shutdown or log-out), SIGHUP
// (its terminal gone) and SIGINT (Ctrl+C). By default each ends the process at once, which leaves
// the file a camera records without its index. While this lives, each is handed to the event loop
// instead, which calls end. A signal the program was started with ignored (nohup) stays ignored.
class EndRequests : public QObject {
public:
    explicit EndRequests(std::function<void()> end);
    ~EndRequests() override;
    EndRequests(const EndRequests&) = delete;
    EndRequests& operator=(const EndRequests&) = delete;

private:
    static constexpr int Requests[] = {SIGTERM, SIGHUP, SIGINT};

    std::function<void()> m_end;
    QSocketNotifier* m_notifier = nullptr;
    struct sigaction m_before[std::size(Requests)] = {};
};

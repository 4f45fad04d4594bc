#include "EndRequests.h"

#include <QSocketNotifier>

#include <cerrno>
#include <fcntl.h>
#include <unistd.h>

namespace {

// The pipe through which a signal reaches the event loop: all a signal handler may safely do is
// write() into it.
int pipeEnds[2] = {-1, -1};

void requested(int)
{
    const int saved = errno;
    const char request = 0;
    // A pipe that is full already holds requests the loop has yet to read.
    [[maybe_unused]] const ssize_t written = write(pipeEnds[1], &request, 1);
    errno = saved;
}

} // namespace

EndRequests::EndRequests(std::function<void()> end) : m_end(std::move(end))
{
    for (size_t i = 0; i < std::size(Requests); ++i)
        sigaction(Requests[i], nullptr, &m_before[i]);
    // Without the pipe the signals end the program at once, as they did before.
    if (pipe2(pipeEnds, O_CLOEXEC | O_NONBLOCK) != 0)
        return;
    m_notifier = new QSocketNotifier(pipeEnds[0], QSocketNotifier::Read, this);
    connect(m_notifier, &QSocketNotifier::activated, this, [this] {
        char requests[16];
        while (read(pipeEnds[0], requests, sizeof requests) > 0) {
        }
        m_end();
    });
    struct sigaction action = {};
    action.sa_handler = requested;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (size_t i = 0; i < std::size(Requests); ++i)
        if (m_before[i].sa_handler != SIG_IGN)
            sigaction(Requests[i], &action, nullptr);
}

EndRequests::~EndRequests()
{
    for (size_t i = 0; i < std::size(Requests); ++i)
        sigaction(Requests[i], &m_before[i], nullptr);
    if (!m_notifier)
        return;
    delete m_notifier;
    for (int& end : pipeEnds) {
        close(end);
        end = -1;
    }
}

#pragma once

#include <QObject>
#include <QSocketNotifier>

#include <functional>
#include <memory>

namespace veldrane {

// Ends the program, as "Exit" does, when the process is asked to terminate (SIGTERM at the end
// of a session, SIGINT from a terminal), so that it still leaves cleanly: the signal handler only
// notes the request and writes a byte to a pipe, which the event loop reads and hands to the
// handler (by default the end of the event loop). The note stays, so that a request that came
// while no event loop could end the program (a message box at start-up) is not lost.
class TerminationSignals : public QObject
{
public:
    TerminationSignals();
    ~TerminationSignals() override;
    TerminationSignals(const TerminationSignals&) = delete;
    TerminationSignals& operator=(const TerminationSignals&) = delete;

    void SetHandler(std::function<void()> handler) { m_handler = std::move(handler); }
    // Whether a termination signal has arrived since the start.
    static bool Requested();

private:
    std::unique_ptr<QSocketNotifier> m_notifier;
    std::function<void()> m_handler;
};

} // namespace veldrane

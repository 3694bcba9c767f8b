#pragma once

#include <QObject>
#include <QSocketNotifier>

#include <memory>

namespace veldrane {

// Ends the event loop, as "Exit" does, when the process is asked to terminate (SIGTERM at the end
// of a session, SIGINT from a terminal), so that the program still leaves cleanly: the signal
// handler only writes a byte to a pipe, which the event loop reads.
class TerminationSignals : public QObject
{
public:
    TerminationSignals();
    ~TerminationSignals() override;
    TerminationSignals(const TerminationSignals&) = delete;
    TerminationSignals& operator=(const TerminationSignals&) = delete;

private:
    std::unique_ptr<QSocketNotifier> m_notifier;
};

} // namespace veldrane

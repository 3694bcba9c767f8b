#pragma once

#include <string>
#include <sys/types.h>

namespace veldrane::test {

// A private Xvfb server for one test suite. Xvfb picks a free display number itself and writes
// it to a pipe once it accepts connections, so nothing has to guess a number or poll for the
// socket; the wait for it is bounded. It does not reset when its last client leaves, so each test
// finds it up and holding what the test before it set.
class XvfbServer
{
public:
    // Whether an Xvfb program is on PATH.
    static bool Installed();

    // `screen` is Xvfb's WIDTHxHEIGHTxDEPTH of screen 0.
    explicit XvfbServer(std::string screen = "640x480x24");
    ~XvfbServer();
    XvfbServer(const XvfbServer&) = delete;
    XvfbServer& operator=(const XvfbServer&) = delete;

    // ":N", or empty when the server did not come up.
    const std::string& Display() const { return m_display; }

private:
    pid_t m_pid = -1;
    std::string m_display;
};

} // namespace veldrane::test

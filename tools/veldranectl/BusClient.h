#pragma once

#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

using GVariant = struct _GVariant;

namespace veldrane::ctl {

// The running configurator on the session bus, as a caller of its interface
// io.github.veldrane.Veldrane1 (data/io.github.veldrane.Veldrane1.xml).
class BusClient
{
public:
    // How a call ended: done, the program is not on the bus, or an error with its name.
    struct Answer
    {
        bool done = false;
        bool absent = false;   // nobody owns the program's name (or there is no session bus)
        std::string errorName; // "io.github.veldrane.Veldrane1.Error.NoMouse", ...
        std::string message;   // the error's words
        std::string text;      // a method's string answer
    };

    // The program's properties that the profile commands need.
    struct State
    {
        std::vector<std::string> profiles;
        int activeProfile = 0;
        bool simulated = false;
    };

    BusClient();
    ~BusClient();
    BusClient(const BusClient&) = delete;
    BusClient& operator=(const BusClient&) = delete;

    // The program's properties; `answer.absent` when the program does not run (the bus never
    // starts it for the caller).
    std::optional<State> ReadState(Answer& answer);

    Answer SwitchProfile(int index);
    Answer NextProfile();
    Answer PreviousProfile();
    Answer ExportProfile(int index);
    Answer ImportProfile(int index, std::string_view json);

private:
    struct Connection;
    // Calls `method` of the interface (or of the properties interface); `reply`, when given,
    // receives the answer, which the caller then owns.
    Answer Call(const char* interface, const char* method, GVariant* arguments, GVariant** reply = nullptr);

    std::unique_ptr<Connection> m_connection;
};

// The exit status of a bus error, and the error line's words: NoMouse is 4, any other 1.
int ExitStatusOf(const BusClient::Answer& answer);

} // namespace veldrane::ctl

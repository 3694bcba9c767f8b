#pragma once

namespace veldrane {

// Turns the wheel's angle deltas into whole notches and carries what is left of a notch over to
// the next turn, so that a wheel reporting fine steps scrolls as far as one that clicks.
class WheelNotches
{
public:
    // One notch, in the eighths of a degree the window system reports.
    static constexpr int kNotch = 120;

    // The whole notches completed with this delta; positive away from the user.
    int Add(int delta)
    {
        m_rest += delta;
        const int notches = m_rest / kNotch;
        m_rest -= notches * kNotch;
        return notches;
    }
    void Reset() { m_rest = 0; }

private:
    int m_rest = 0;
};

} // namespace veldrane

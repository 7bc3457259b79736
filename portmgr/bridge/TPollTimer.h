#pragma once

namespace tessaron {

// The bridge pump's timer TmrKeypadPoll: the tray program's is a QTimer, the
// headless bridge's a loop that sleeps Interval() between ticks.
class TPollTimer
{
public:
    virtual ~TPollTimer() = default;
    virtual void SetInterval(int milliseconds) = 0;
    virtual void SetEnabled(bool enabled) = 0;
};

// A timer that only remembers its settings; its owner runs the ticks.
class TPlainPollTimer : public TPollTimer
{
public:
    void SetInterval(int milliseconds) override { m_interval = milliseconds; }
    void SetEnabled(bool enabled) override { m_enabled = enabled; }
    int Interval() const { return m_interval; }
    bool Enabled() const { return m_enabled; }

private:
    int m_interval = 2000;
    bool m_enabled = false;
};

} // namespace tessaron

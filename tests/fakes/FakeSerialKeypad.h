#pragma once

#include "KeypadCommandParser.h"

#include <condition_variable>
#include <mutex>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

namespace tessaron::test {

// A serial keypad on a pseudo-terminal whose other end is linked as linkPath
// (normally ports/COMn of the suite folder). It answers the type query "@" 0x05
// with its type ('R' RS232, 'v' CDC), the identification query "@" 0x06 with
// its identification text (16 characters for a good keypad; any length can be
// chosen), records every "@C" message and can type bytes.
class FakeSerialKeypad
{
public:
    struct Options
    {
        char Type = 'R';
        std::string Identification = "Simulated RS232 ";
        // Type queries left unanswered before the first answer (a keypad that
        // answers only the second attempt has 1).
        int IgnoredTypeQueries = 0;
        // false: a device that never answers (not a keypad).
        bool Answers = true;
    };

    // Throws std::runtime_error when no pseudo-terminal can be made or linked.
    FakeSerialKeypad(std::string linkPath, Options options);
    explicit FakeSerialKeypad(std::string linkPath);
    ~FakeSerialKeypad();
    FakeSerialKeypad(const FakeSerialKeypad&) = delete;
    FakeSerialKeypad& operator=(const FakeSerialKeypad&) = delete;

    const std::string& LinkPath() const { return m_linkPath; }
    // The terminal the link points at (/dev/pts/N).
    const std::string& TerminalPath() const { return m_terminalPath; }

    // The keypad types bytes.
    void Type(std::string_view bytes);

    std::vector<std::string> Messages();
    // Every byte received, commands included.
    std::string Received();
    int TypeQueries();
    int IdentificationQueries();
    // Wait (at most timeoutMs) until that many messages, or received bytes, are there.
    bool WaitForMessages(size_t count, int timeoutMs);
    bool WaitForReceived(size_t count, int timeoutMs);

    // Called by the program: messages are printed as they arrive.
    void SetEcho(bool echo) { m_echo = echo; }

private:
    void run();
    void handle(const unsigned char* bytes, size_t n);
    void send(std::string_view bytes);

    std::string m_linkPath;
    Options m_options;
    std::string m_terminalPath;
    int m_master = -1;
    int m_slave = -1;
    int m_watch = -1; // inotify: the terminal is opened
    int m_wake = -1;
    bool m_echo = false;

    std::mutex m_mutex;
    std::condition_variable m_changed;
    KeypadCommandParser m_parser;
    std::string m_received;
    int m_typeQueriesSeen = 0;
    size_t m_messagesEchoed = 0;
    std::thread m_thread;
};

} // namespace tessaron::test

#pragma once

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace tessaron::test {

// What a simulated keypad makes of the bytes the PC sends it: the host commands
// "@" 0x05 (type query), "@" 0x06 (identification query) and "@C" with up to 16
// characters (a message for the keypad's user; "@C" alone ends it).
//
// A message has no terminator on the line, so it ends after 16 characters, at
// the next "@", when 100 ms pass without a byte, or at Flush().
class KeypadCommandParser
{
public:
    using Clock = std::chrono::steady_clock;
    static constexpr int QuietGapMs = 100;

    enum class Query
    {
        Type,
        Identification
    };

    // Feeds bytes received at now; the queries found are appended to queries.
    void Feed(const std::uint8_t* bytes, std::size_t n, Clock::time_point now,
              std::vector<Query>& queries);
    // Ends a message in progress once the line has been quiet long enough.
    void FlushIfQuiet(Clock::time_point now);
    // Ends a message in progress at once.
    void Flush();
    bool MessagePending() const { return m_state == State::Message; }

    // Every "@C" message, without the "@C" ("" for "@C" alone).
    const std::vector<std::string>& Messages() const { return m_messages; }
    // Bytes that were no part of a command.
    const std::string& Data() const { return m_data; }
    int TypeQueries() const { return m_typeQueries; }
    int IdentificationQueries() const { return m_identificationQueries; }
    void Clear();

private:
    enum class State
    {
        Idle,
        Prefix,
        Message
    };

    State m_state = State::Idle;
    std::string m_message;
    Clock::time_point m_last{};
    std::vector<std::string> m_messages;
    std::string m_data;
    int m_typeQueries = 0;
    int m_identificationQueries = 0;
};

} // namespace tessaron::test

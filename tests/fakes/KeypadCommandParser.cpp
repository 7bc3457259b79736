#include "KeypadCommandParser.h"

namespace tessaron::test {

namespace {

constexpr std::size_t MessageLength = 16;

} // namespace

void KeypadCommandParser::Feed(const std::uint8_t* bytes, std::size_t n, Clock::time_point now,
                               std::vector<Query>& queries)
{
    if (n > 0) {
        FlushIfQuiet(now);
    }
    for (std::size_t i = 0; i < n; ++i) {
        const char c = static_cast<char>(bytes[i]);
        switch (m_state) {
        case State::Idle:
            if (c == '@') {
                m_state = State::Prefix;
            } else {
                m_data += c;
            }
            break;
        case State::Prefix:
            if (c == 0x05) {
                ++m_typeQueries;
                queries.push_back(Query::Type);
                m_state = State::Idle;
            } else if (c == 0x06) {
                ++m_identificationQueries;
                queries.push_back(Query::Identification);
                m_state = State::Idle;
            } else if (c == 'C') {
                m_message.clear();
                m_state = State::Message;
            } else {
                m_data += '@';
                m_data += c;
                m_state = State::Idle;
            }
            break;
        case State::Message:
            if (c == '@') {
                Flush();
                m_state = State::Prefix;
            } else {
                m_message += c;
                if (m_message.size() == MessageLength) {
                    Flush();
                }
            }
            break;
        }
    }
    if (n > 0) {
        m_last = now;
    }
}

void KeypadCommandParser::FlushIfQuiet(Clock::time_point now)
{
    if (m_state == State::Message && now - m_last >= std::chrono::milliseconds(QuietGapMs)) {
        Flush();
    }
}

void KeypadCommandParser::Flush()
{
    if (m_state == State::Message) {
        m_messages.push_back(m_message);
        m_message.clear();
        m_state = State::Idle;
    }
}

void KeypadCommandParser::Clear()
{
    *this = KeypadCommandParser();
}

} // namespace tessaron::test

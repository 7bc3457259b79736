#include "DownloadStream.h"

#include <cstdio>

namespace tessaron {

using namespace download;

namespace {

std::string hexByte(std::uint8_t b)
{
    char text[8];
    std::snprintf(text, sizeof text, "0x%02X", b);
    return text;
}

// The fixed bytes of the parameter record: kind, count and the two lengths.
bool fixedParameter(int at, std::uint8_t& expected)
{
    switch (at) {
    case KindByte:
        expected = ParameterRecord;
        return true;
    case CountByte:
        expected = ParameterCount;
        return true;
    case MacroLengthByte:
        expected = MacroLength;
        return true;
    case Level1LengthByte:
        expected = Level1Length;
        return true;
    default:
        return false;
    }
}

} // namespace

bool TDownloadStream::fail(std::string why)
{
    m_state = State::Malformed;
    m_error = "byte " + std::to_string(m_taken + 1) + " (" + where() + "): " + why;
    return false;
}

std::string TDownloadStream::where() const
{
    switch (m_part) {
    case Part::Parameters:
        return "parameter record";
    case Part::KeyHead:
        return "record of key " + std::to_string(m_key);
    case Part::BlockCount:
    case Part::BlockBytes:
        return "key " + std::to_string(m_key) + ", level " + std::to_string(m_level + 1);
    case Part::Done:
        break;
    }
    return "after the last key";
}

bool TDownloadStream::Feed(std::uint8_t byte)
{
    if (m_state != State::Receiving) {
        return false;
    }
    bool taken = false;
    switch (m_part) {
    case Part::Parameters:
        taken = takeParameter(byte);
        break;
    case Part::KeyHead:
        taken = takeKeyHead(byte);
        break;
    case Part::BlockCount:
        taken = takeBlockCount(byte);
        break;
    case Part::BlockBytes:
        taken = takeBlockByte(byte);
        break;
    case Part::Done:
        break;
    }
    if (taken) {
        ++m_taken;
    }
    return taken;
}

TDownloadStream::State TDownloadStream::FeedAll(const std::uint8_t* bytes, std::size_t n)
{
    for (std::size_t i = 0; i < n && m_state == State::Receiving; ++i) {
        Feed(bytes[i]);
    }
    return m_state;
}

bool TDownloadStream::takeParameter(std::uint8_t byte)
{
    std::uint8_t expected = 0;
    if (fixedParameter(m_at, expected) && byte != expected) {
        return fail("not a download image: " + hexByte(byte) + " where " + hexByte(expected) +
                    " (" + ParameterByteNames[static_cast<size_t>(m_at)] + ") belongs");
    }
    m_parameters[static_cast<size_t>(m_at++)] = byte;
    if (m_at == ParameterRecordLength) {
        m_part = Part::KeyHead;
        m_at = 0;
    }
    return true;
}

bool TDownloadStream::takeKeyHead(std::uint8_t byte)
{
    switch (m_at) {
    case 0:
        if (byte != Prefix()) {
            return fail(hexByte(byte) + " where the command prefix " + hexByte(Prefix()) +
                        " starts the record");
        }
        break;
    case 1:
        if (byte != KeyRecord) {
            return fail("record kind " + hexByte(byte) + ", " + hexByte(KeyRecord) + " expected");
        }
        break;
    case 2:
    case 5:
        if (byte != m_key) {
            return fail("key number " + std::to_string(byte) + ", " + std::to_string(m_key) +
                        " expected");
        }
        break;
    default: // level flags: 0, or 1 plus 2 and 4
        if (byte > (LevelUsed | LevelAutoRepeat | LevelSendLineEditKeyASAP)) {
            return fail("level flags " + hexByte(byte) + " out of range");
        }
        break;
    }
    m_head[static_cast<size_t>(m_at++)] = byte;
    if (m_at == KeyRecordHeadLength) {
        Key& key = m_keys[static_cast<size_t>(m_key)];
        key.Levels[1].Flags = m_head[3];
        key.Levels[0].Flags = m_head[4];
        m_part = Part::BlockCount;
        m_level = 0;
        m_at = 0;
    }
    return true;
}

bool TDownloadStream::takeBlockCount(std::uint8_t byte)
{
    if (byte > MaxBlockBytes) {
        return fail("a macro of " + std::to_string(byte) + " bytes (at most " +
                    std::to_string(MaxBlockBytes) + ")");
    }
    m_blockCount = byte;
    m_at = 0;
    if (m_blockCount == 0) {
        nextBlock();
    } else {
        m_part = Part::BlockBytes;
    }
    return true;
}

bool TDownloadStream::takeBlockByte(std::uint8_t byte)
{
    m_block[static_cast<size_t>(m_at++)] = byte;
    if (m_at < m_blockCount) {
        return true;
    }
    // A count below 100 covers the macro and its terminating 0; a count of 100
    // is a full macro of 100 bytes, or 99 bytes and the 0.
    int length = m_blockCount;
    if (m_block[static_cast<size_t>(length - 1)] == 0) {
        --length;
    } else if (m_blockCount < MaxBlockBytes) {
        --m_at;
        return fail("the macro does not end with its terminating 0");
    }
    Level& level = m_keys[static_cast<size_t>(m_key)].Levels[static_cast<size_t>(m_level)];
    level.Length = length;
    for (int i = 0; i < length; ++i) {
        level.Bytes[static_cast<size_t>(i)] = m_block[static_cast<size_t>(i)];
    }
    nextBlock();
    return true;
}

void TDownloadStream::nextBlock()
{
    m_at = 0;
    if (m_level == 0) {
        m_level = 1;
        m_part = Part::BlockCount;
        return;
    }
    ++m_key;
    if (m_key == download::Keys) {
        m_part = Part::Done;
        m_state = State::Complete;
    } else {
        m_part = Part::KeyHead;
    }
}

std::string TDownloadStream::Check(const std::uint8_t* bytes, std::size_t n)
{
    if (n == 0) {
        return "the image is empty";
    }
    TDownloadStream stream;
    for (std::size_t i = 0; i < n; ++i) {
        if (!stream.Feed(bytes[i])) {
            if (stream.Complete()) {
                return std::to_string(n - i) + " bytes follow the end of the image (after byte " +
                       std::to_string(i) + ")";
            }
            return stream.Error();
        }
    }
    if (!stream.Complete()) {
        return "the image ends early, after " + std::to_string(n) + " bytes (" + stream.where() +
               ")";
    }
    return {};
}

} // namespace tessaron

#pragma once

#include "editor/model/DownloadImageLayout.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>

namespace tessaron {

// Reads a download image's byte stream one byte at a time, the way a keypad
// takes it in: the parameter record, then the key records of keys 0 to 19. The
// loader checks a whole image with it before sending anything; the simulated
// keypads decode what they receive with it.
//
// The stream is complete after the level 2 block of key 19. A byte that breaks
// the layout makes it malformed (Error() says where and why); later bytes are
// refused.
class TDownloadStream
{
public:
    enum class State
    {
        Receiving,
        Complete,
        Malformed,
    };

    struct Level
    {
        std::uint8_t Flags = 0;
        // The macro's bytes as the keypad stores them (no count, no terminator).
        std::array<std::uint8_t, download::MaxBlockBytes> Bytes{};
        int Length = 0;
    };

    struct Key
    {
        std::array<Level, 2> Levels; // index 0 = level 1
    };

    // Takes one byte; false when it is refused (the stream is complete or
    // malformed, or this byte made it malformed).
    bool Feed(std::uint8_t byte);
    // Feeds all bytes; the state afterwards.
    State FeedAll(const std::uint8_t* bytes, std::size_t n);

    State Status() const { return m_state; }
    bool Complete() const { return m_state == State::Complete; }
    const std::string& Error() const { return m_error; }
    // Bytes taken so far (a refused byte is not counted).
    int BytesTaken() const { return m_taken; }

    // The parameter record as received (download::ParameterByte indexes it).
    const std::array<std::uint8_t, download::ParameterRecordLength>& Parameters() const
    {
        return m_parameters;
    }
    std::uint8_t Prefix() const { return m_parameters[download::PrefixByte]; }
    // Every key; those not yet received are empty.
    const std::array<Key, download::Keys>& Keys() const { return m_keys; }

    // Checks a whole image: "" when bytes are exactly one complete download
    // image, otherwise what is wrong with it.
    static std::string Check(const std::uint8_t* bytes, std::size_t n);

private:
    enum class Part
    {
        Parameters,
        KeyHead,
        BlockCount,
        BlockBytes,
        Done,
    };

    bool fail(std::string why);
    bool takeParameter(std::uint8_t byte);
    bool takeKeyHead(std::uint8_t byte);
    bool takeBlockCount(std::uint8_t byte);
    bool takeBlockByte(std::uint8_t byte);
    void nextBlock();
    std::string where() const;

    State m_state = State::Receiving;
    Part m_part = Part::Parameters;
    std::string m_error;
    int m_taken = 0;
    int m_at = 0; // position inside the current part
    int m_key = 0;
    int m_level = 0; // block being read: 0 = level 1, 1 = level 2
    int m_blockCount = 0;
    std::array<std::uint8_t, download::KeyRecordHeadLength> m_head{};
    std::array<std::uint8_t, download::MaxBlockBytes> m_block{};
    std::array<std::uint8_t, download::ParameterRecordLength> m_parameters{};
    std::array<Key, download::Keys> m_keys{};
};

} // namespace tessaron

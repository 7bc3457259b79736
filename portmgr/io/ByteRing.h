#pragma once

#include <array>
#include <cstdint>

namespace tessaron {

constexpr int RingSize = 1024;

// The fixed byte ring of a bridge thread. A batch is taken only when all of it
// fits while the count stays below RingSize, so a ring never holds more than
// 1023 bytes; a batch that does not fit is dropped whole and the ring keeps what
// it had. Not locked: the owning thread object guards it.
class TByteRing
{
public:
    int Count() const { return m_count; }

    // Appends n bytes if count + n < RingSize; false (nothing stored) otherwise.
    bool Append(const std::uint8_t* bytes, int n);
    // The oldest byte, or 0 when the ring is empty.
    std::uint8_t PopByte();
    // Moves up to n of the oldest bytes to out; returns how many were moved.
    int Take(std::uint8_t* out, int n);
    void Clear();

private:
    std::array<std::uint8_t, RingSize> m_buffer{};
    int m_count = 0;
    int m_writeIndex = 0;
    int m_readIndex = 0;
};

} // namespace tessaron

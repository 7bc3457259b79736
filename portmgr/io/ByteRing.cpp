#include "ByteRing.h"

namespace tessaron {

bool TByteRing::Append(const std::uint8_t* bytes, int n)
{
    if (n < 0 || (n > 0 && bytes == nullptr) || m_count + n >= RingSize) {
        return false;
    }
    for (int i = 0; i < n; ++i) {
        m_buffer[m_writeIndex] = bytes[i];
        m_writeIndex = (m_writeIndex + 1) % RingSize;
    }
    m_count += n;
    return true;
}

std::uint8_t TByteRing::PopByte()
{
    if (m_count == 0) {
        return 0;
    }
    const std::uint8_t byte = m_buffer[m_readIndex];
    m_readIndex = (m_readIndex + 1) % RingSize;
    --m_count;
    return byte;
}

int TByteRing::Take(std::uint8_t* out, int n)
{
    int taken = 0;
    while (taken < n && m_count > 0) {
        out[taken++] = PopByte();
    }
    return taken;
}

void TByteRing::Clear()
{
    m_count = 0;
    m_writeIndex = 0;
    m_readIndex = 0;
}

} // namespace tessaron

#include "TextProgress.h"

#include <cstdio>

namespace tessaron {

std::string TTextProgress::Bar(int sent, int total)
{
    if (total <= 0) {
        total = 1;
        sent = 1;
    }
    if (sent < 0) {
        sent = 0;
    } else if (sent > total) {
        sent = total;
    }
    const int filled = static_cast<int>(static_cast<long long>(sent) * Width / total);
    const int percent = static_cast<int>(static_cast<long long>(sent) * 100 / total);
    std::string bar = "[" + std::string(static_cast<size_t>(filled), '#') +
                      std::string(static_cast<size_t>(Width - filled), '.') + "]";
    char tail[64];
    std::snprintf(tail, sizeof tail, " %4d/%d bytes %3d%%", sent, total, percent);
    return bar + tail;
}

void TTextProgress::Show(int sent, int total)
{
    const std::string bar = Bar(sent, total);
    if (m_terminal) {
        if (bar != m_last) {
            m_out("\r" + bar);
            m_last = bar;
            m_drawn = true;
        }
        return;
    }
    const int tenth = total > 0 ? static_cast<int>(static_cast<long long>(sent) * 10 / total) : 10;
    if (tenth != m_lastTenth) {
        m_out(bar + "\n");
        m_lastTenth = tenth;
    }
}

void TTextProgress::Finish()
{
    if (m_terminal && m_drawn) {
        m_out("\n");
        m_drawn = false;
    }
}

} // namespace tessaron

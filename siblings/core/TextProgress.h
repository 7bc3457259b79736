#pragma once

#include <functional>
#include <string>
#include <string_view>

namespace tessaron {

// Where terminal text goes: each piece is written and flushed at once.
using TTextSink = std::function<void(std::string_view)>;

// The loader's progress in a terminal: "[##########..........]  94/188 bytes  50%",
// redrawn in place on a terminal; elsewhere (a log, a pipe) one line per tenth.
class TTextProgress
{
public:
    static constexpr int Width = 40;

    TTextProgress(TTextSink out, bool terminal) : m_out(std::move(out)), m_terminal(terminal) {}

    void Show(int sent, int total);
    // Ends the line of a terminal's bar.
    void Finish();

    static std::string Bar(int sent, int total);

private:
    TTextSink m_out;
    bool m_terminal;
    std::string m_last;
    int m_lastTenth = -1;
    bool m_drawn = false;
};

} // namespace tessaron

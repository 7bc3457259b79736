#pragma once

#include "editor/model/KeypadClass.h"
#include "editor/model/MessageSink.h"

#include <csignal>
#include <initializer_list>
#include <string>
#include <sys/resource.h>
#include <vector>

namespace tessaron::test {

// Lines joined with CRLF, the way the INI layer writes a new file.
inline std::string CrlfLines(std::initializer_list<std::string> lines)
{
    std::string text;
    for (const std::string& line : lines) {
        text += line;
        text += "\r\n";
    }
    return text;
}

inline std::string CrlfLines(const std::vector<std::string>& lines)
{
    std::string text;
    for (const std::string& line : lines) {
        text += line;
        text += "\r\n";
    }
    return text;
}

// The 20 key sections of a document whose macros are all empty.
inline void AddEmptyKeySections(std::vector<std::string>& lines)
{
    for (int k = 0; k < MaxKeys; ++k) {
        for (const char* line : {"KeyType=0", "L1_AutoRepeat=0", "L1_SendLineEditKeyASAP=0",
                                 "Level_1_Codes=", "Level_1_Name=", "L2_AutoRepeat=0",
                                 "L2_SendLineEditKeyASAP=0", "Level_2_Codes=", "Level_2_Name="}) {
            if (line[0] == 'K') {
                lines.push_back("[KEY" + std::to_string(k) + "]");
            }
            lines.emplace_back(line);
        }
    }
}

class RecordingMessages : public TMessageSink
{
public:
    void ShowInformation(const std::string& text) override { shown.push_back(text); }
    std::vector<std::string> shown;
};

// Inserts a text form into a level of a key.
inline void SetMacro(TKeypadClass& k, int key, int level, const std::string& text)
{
    k.ClearMacro(key, level);
    k.AppendMacroText(key, level, text);
}

// While alive, this process cannot write files beyond a few bytes: a save
// then fails half-way even for root, for whom no folder is read-only.
class FileSizeLimit
{
public:
    explicit FileSizeLimit(rlim_t bytes)
    {
        m_oldHandler = std::signal(SIGXFSZ, SIG_IGN);
        ::getrlimit(RLIMIT_FSIZE, &m_old);
        rlimit limit = m_old;
        limit.rlim_cur = bytes;
        ::setrlimit(RLIMIT_FSIZE, &limit);
    }
    ~FileSizeLimit()
    {
        ::setrlimit(RLIMIT_FSIZE, &m_old);
        std::signal(SIGXFSZ, m_oldHandler);
    }
    FileSizeLimit(const FileSizeLimit&) = delete;
    FileSizeLimit& operator=(const FileSizeLimit&) = delete;

private:
    rlimit m_old{};
    void (*m_oldHandler)(int) = nullptr;
};

} // namespace tessaron::test

#include "FakeSerialKeypad.h"

#include <cerrno>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <poll.h>
#include <pty.h>
#include <stdexcept>
#include <sys/eventfd.h>
#include <sys/inotify.h>
#include <termios.h>
#include <unistd.h>

namespace tessaron::test {

namespace fs = std::filesystem;
using Clock = KeypadCommandParser::Clock;

FakeSerialKeypad::FakeSerialKeypad(std::string linkPath)
    : FakeSerialKeypad(std::move(linkPath), Options())
{
}

FakeSerialKeypad::FakeSerialKeypad(std::string linkPath, Options options)
    : m_linkPath(std::move(linkPath)), m_options(std::move(options))
{
    char name[128] = {};
    if (::openpty(&m_master, &m_slave, name, nullptr, nullptr) != 0) {
        throw std::runtime_error("openpty failed");
    }
    m_terminalPath = name;
    // Raw until the program under test sets the line: no echo of what the keypad
    // sends back to it.
    termios line;
    if (::tcgetattr(m_slave, &line) == 0) {
        ::cfmakeraw(&line);
        ::tcsetattr(m_slave, TCSANOW, &line);
    }
    std::error_code error;
    const fs::path link(m_linkPath);
    if (link.has_parent_path()) {
        fs::create_directories(link.parent_path(), error);
    }
    if (fs::is_symlink(fs::symlink_status(link, error))) {
        fs::remove(link, error);
    }
    if (::symlink(m_terminalPath.c_str(), m_linkPath.c_str()) != 0) {
        ::close(m_master);
        ::close(m_slave);
        throw std::runtime_error("cannot link " + m_linkPath + " to " + m_terminalPath);
    }
    // Like a real serial device, the port is held by nobody until a program
    // opens it (a probe passes over ports that others hold). The master then
    // reports a hang-up until the slave is opened: that open is waited for.
    ::close(m_slave);
    m_slave = -1;
    m_watch = ::inotify_init1(IN_CLOEXEC | IN_NONBLOCK);
    ::inotify_add_watch(m_watch, m_terminalPath.c_str(), IN_OPEN);
    m_wake = ::eventfd(0, EFD_CLOEXEC);
    m_thread = std::thread(&FakeSerialKeypad::run, this);
}

FakeSerialKeypad::~FakeSerialKeypad()
{
    const std::uint64_t one = 1;
    [[maybe_unused]] ssize_t written = ::write(m_wake, &one, sizeof one);
    m_thread.join();
    std::error_code error;
    if (fs::read_symlink(m_linkPath, error) == fs::path(m_terminalPath)) {
        fs::remove(m_linkPath, error);
    }
    ::close(m_wake);
    ::close(m_watch);
    ::close(m_master);
}

void FakeSerialKeypad::run()
{
    unsigned char buffer[256];
    for (;;) {
        bool pending;
        bool downloading;
        {
            std::lock_guard<std::mutex> lock(m_mutex);
            m_parser.FlushIfQuiet(Clock::now());
            pending = m_parser.MessagePending();
            if (m_download.ExpireIfQuiet(Clock::now())) {
                m_changed.notify_all();
            }
            downloading = m_download.Receiving();
        }
        echoDownloads();
        pollfd fds[2] = {{m_master, POLLIN, 0}, {m_wake, POLLIN, 0}};
        // A message or a download in progress ends on a quiet line: look again soon.
        const int quietMs = pending ? 20 : (downloading ? 200 : -1);
        const int ready = ::poll(fds, 2, quietMs);
        if (ready < 0 && errno != EINTR) {
            return;
        }
        if (fds[1].revents) {
            return;
        }
        if (ready <= 0) {
            continue;
        }
        if (fds[0].revents & POLLIN) {
            const ssize_t got = ::read(m_master, buffer, sizeof buffer);
            if (got > 0) {
                handle(buffer, static_cast<size_t>(got));
            }
        } else if (fds[0].revents & (POLLHUP | POLLERR)) {
            // Nobody has the port open: wait until somebody opens it.
            pollfd opened[2] = {{m_watch, POLLIN, 0}, {m_wake, POLLIN, 0}};
            if (::poll(opened, 2, quietMs) > 0 && (opened[1].revents & POLLIN)) {
                return;
            }
            char events[4096];
            while (::read(m_watch, events, sizeof events) > 0) {
            }
        }
    }
}

void FakeSerialKeypad::handle(const unsigned char* bytes, size_t n)
{
    std::string reply;
    std::vector<std::string> fresh;
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_received.append(reinterpret_cast<const char*>(bytes), n);
        std::string commands;
        m_download.Feed(bytes, n, Clock::now(), commands);
        std::vector<KeypadCommandParser::Query> queries;
        m_parser.Feed(reinterpret_cast<const std::uint8_t*>(commands.data()), commands.size(),
                      Clock::now(), queries);
        for (KeypadCommandParser::Query q : queries) {
            if (!m_options.Answers) {
                continue;
            }
            if (q == KeypadCommandParser::Query::Type) {
                if (++m_typeQueriesSeen > m_options.IgnoredTypeQueries) {
                    reply += m_options.Type;
                }
            } else {
                reply += m_options.Identification;
            }
        }
        if (m_echo) {
            const auto& messages = m_parser.Messages();
            for (; m_messagesEchoed < messages.size(); ++m_messagesEchoed) {
                fresh.push_back(messages[m_messagesEchoed]);
            }
        }
        m_changed.notify_all();
    }
    for (const std::string& m : fresh) {
        std::printf("message: \"%s\"\n", m.c_str());
        std::fflush(stdout);
    }
    echoDownloads();
    send(reply);
}

void FakeSerialKeypad::echoDownloads()
{
    std::string text;
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        if (!m_echo) {
            return;
        }
        const auto& downloads = m_download.Downloads();
        for (; m_downloadsEchoed < downloads.size(); ++m_downloadsEchoed) {
            const DownloadDecoder::Download& d = downloads[m_downloadsEchoed];
            if (!d.Ended()) {
                break; // still receiving
            }
            text += "download: " + DownloadDecoder::Summary(d);
        }
    }
    if (!text.empty()) {
        std::fputs(text.c_str(), stdout);
        std::fflush(stdout);
    }
}

std::vector<DownloadDecoder::Download> FakeSerialKeypad::Downloads()
{
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_download.Downloads();
}

std::string FakeSerialKeypad::DownloadReport()
{
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_download.Report();
}

bool FakeSerialKeypad::WaitForDownloads(size_t count, int timeoutMs)
{
    std::unique_lock<std::mutex> lock(m_mutex);
    return m_changed.wait_for(lock, std::chrono::milliseconds(timeoutMs), [&] {
        size_t ended = 0;
        for (const DownloadDecoder::Download& d : m_download.Downloads()) {
            ended += d.Ended() ? 1 : 0;
        }
        return ended >= count;
    });
}

void FakeSerialKeypad::send(std::string_view bytes)
{
    size_t sent = 0;
    while (sent < bytes.size()) {
        const ssize_t n = ::write(m_master, bytes.data() + sent, bytes.size() - sent);
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n <= 0) {
            return;
        }
        sent += static_cast<size_t>(n);
    }
}

void FakeSerialKeypad::Type(std::string_view bytes)
{
    send(bytes);
}

std::vector<std::string> FakeSerialKeypad::Messages()
{
    std::lock_guard<std::mutex> lock(m_mutex);
    m_parser.FlushIfQuiet(Clock::now());
    return m_parser.Messages();
}

std::string FakeSerialKeypad::Received()
{
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_received;
}

int FakeSerialKeypad::TypeQueries()
{
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_parser.TypeQueries();
}

int FakeSerialKeypad::IdentificationQueries()
{
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_parser.IdentificationQueries();
}

bool FakeSerialKeypad::WaitForMessages(size_t count, int timeoutMs)
{
    std::unique_lock<std::mutex> lock(m_mutex);
    const auto deadline = Clock::now() + std::chrono::milliseconds(timeoutMs);
    for (;;) {
        m_parser.FlushIfQuiet(Clock::now());
        if (m_parser.Messages().size() >= count) {
            return true;
        }
        if (Clock::now() >= deadline) {
            return false;
        }
        m_changed.wait_for(lock, std::chrono::milliseconds(20));
    }
}

bool FakeSerialKeypad::WaitForReceived(size_t count, int timeoutMs)
{
    std::unique_lock<std::mutex> lock(m_mutex);
    return m_changed.wait_for(lock, std::chrono::milliseconds(timeoutMs),
                              [&] { return m_received.size() >= count; });
}

} // namespace tessaron::test

#pragma once

#include <array>
#include <functional>
#include <string>

namespace tessaron {

// The listening end of the command channel (see CommandSocket.h), without Qt,
// for both front ends. Each connection of this user carries one pair of
// characters; the handler acts on it and gives the reply line. Connections of
// other users are closed unread.
//
// Like TBridgeControl it is one pollable descriptor, PollFd(), and Dispatch(),
// which handles what is ready without blocking: a client that connects and
// sends nothing holds no front end up. Dispatch may be entered again from the
// handler (a modal box's event loop).
class TCommandListener
{
public:
    using Handler = std::function<std::string(char first, char second)>;

    explicit TCommandListener(Handler handler);
    ~TCommandListener();
    TCommandListener(const TCommandListener&) = delete;
    TCommandListener& operator=(const TCommandListener&) = delete;

    // Listens on path; a socket left by a run that died is replaced (the
    // caller holds the single-instance lock). False with error set.
    bool Listen(const std::string& path, std::string& error);
    // Stops listening and drops the connections waiting for their pair.
    void Close();
    bool Listening() const { return m_listen >= 0; }

    // Readable whenever Dispatch has something to do; -1 when the descriptor
    // could not be made (Listen then fails).
    int PollFd() const { return m_epoll; }
    void Dispatch();

    // Connections that may wait for their pair at once; one more closes the oldest.
    static constexpr int MaxWaiting = 8;

private:
    struct TWaiting
    {
        int Fd = -1;
        char Pair[2] = {};
        int Have = 0;
        unsigned long Serial = 0; // age: the smallest is the oldest
    };

    // False when a connection waiting could not be taken (no descriptor left).
    bool accept();
    void receive(int index);
    void drop(int index);

    Handler m_handler;
    int m_epoll = -1;
    int m_listen = -1;
    std::string m_path;
    std::array<TWaiting, MaxWaiting> m_waiting{};
    unsigned long m_serial = 0;
};

} // namespace tessaron

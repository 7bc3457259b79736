#include "ChildProcess.h"

#include <algorithm>
#include <chrono>
#include <csignal>
#include <fcntl.h>
#include <poll.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace tessaron::test {

namespace {

using Clock = std::chrono::steady_clock;

int remaining(Clock::time_point end)
{
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(end - Clock::now());
    return static_cast<int>(std::max<std::chrono::milliseconds::rep>(left.count(), 0));
}

void closeFd(int& fd)
{
    if (fd >= 0) {
        ::close(fd);
        fd = -1;
    }
}

} // namespace

std::vector<std::string> ChildEnvironment(std::vector<std::string> own)
{
    const size_t count = own.size();
    for (char** e = environ; *e != nullptr; ++e) {
        const std::string entry = *e;
        const std::string key = entry.substr(0, entry.find('=') + 1);
        const auto mine = [&key](const std::string& m) {
            return m.compare(0, key.size(), key) == 0;
        };
        if (std::none_of(own.begin(), own.begin() + static_cast<std::ptrdiff_t>(count), mine)) {
            own.push_back(entry);
        }
    }
    return own;
}

std::vector<char*> Pointers(std::vector<std::string>& strings)
{
    std::vector<char*> pointers;
    for (std::string& s : strings) {
        pointers.push_back(s.data());
    }
    pointers.push_back(nullptr);
    return pointers;
}

ChildProcess::~ChildProcess()
{
    // The whole group: also what the program started.
    if (m_pid > 0) {
        ::kill(-m_pid, SIGKILL);
    }
    if (m_pid > 0 && !m_ended) {
        ::waitpid(m_pid, nullptr, 0);
    }
    closeFd(m_stdin);
    closeFd(m_stdout);
    closeFd(m_stderr);
}

bool ChildProcess::start(std::vector<std::string> argv, std::vector<std::string> env)
{
    int in[2];
    int out[2];
    int err[2];
    if (::pipe2(in, O_CLOEXEC) != 0 || ::pipe2(out, O_CLOEXEC) != 0 ||
        ::pipe2(err, O_CLOEXEC) != 0) {
        return false;
    }
    std::vector<char*> args = Pointers(argv);
    std::vector<char*> envp = Pointers(env);
    const pid_t parent = ::getpid();
    m_pid = ::fork();
    if (m_pid == 0) {
        ::setpgid(0, 0);
        ::prctl(PR_SET_PDEATHSIG, SIGKILL);
        if (::getppid() != parent) {
            ::_exit(127);
        }
        ::dup2(in[0], 0);
        ::dup2(out[1], 1);
        ::dup2(err[1], 2);
        ::execve(args[0], args.data(), envp.data());
        ::_exit(127);
    }
    // Also here, so that a kill of the group right after start reaches it.
    ::setpgid(m_pid, m_pid);
    ::close(in[0]);
    ::close(out[1]);
    ::close(err[1]);
    m_stdin = in[1];
    m_stdout = out[0];
    m_stderr = err[0];
    return m_pid > 0;
}

bool ChildProcess::write(std::string_view text)
{
    while (!text.empty()) {
        const ssize_t n = ::write(m_stdin, text.data(), text.size());
        if (n <= 0) {
            return false;
        }
        text.remove_prefix(static_cast<size_t>(n));
    }
    return true;
}

bool ChildProcess::pump(int milliseconds)
{
    pollfd fds[2] = {{m_stdout, POLLIN, 0}, {m_stderr, POLLIN, 0}};
    if (m_stdout < 0 && m_stderr < 0) {
        return false;
    }
    if (::poll(fds, 2, milliseconds) <= 0) {
        return true;
    }
    int* const pipes[2] = {&m_stdout, &m_stderr};
    std::string* const texts[2] = {&m_out, &m_err};
    for (int i = 0; i < 2; ++i) {
        if (fds[i].revents == 0) {
            continue;
        }
        char buffer[4096];
        const ssize_t n = ::read(*pipes[i], buffer, sizeof buffer);
        if (n > 0) {
            texts[i]->append(buffer, static_cast<size_t>(n));
        } else {
            closeFd(*pipes[i]);
        }
    }
    return true;
}

bool ChildProcess::readLine(std::string& line, int milliseconds)
{
    const auto end = Clock::now() + std::chrono::milliseconds(milliseconds);
    size_t at = m_out.find('\n');
    while (at == std::string::npos && remaining(end) > 0 && pump(remaining(end))) {
        at = m_out.find('\n');
    }
    if (at == std::string::npos) {
        return false;
    }
    line = m_out.substr(0, at);
    m_out.erase(0, at + 1);
    return true;
}

int ChildProcess::wait(int milliseconds)
{
    const auto end = Clock::now() + std::chrono::milliseconds(milliseconds);
    while (!m_ended) {
        int raw = 0;
        if (::waitpid(m_pid, &raw, WNOHANG) == m_pid) {
            m_ended = true;
            m_status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
            break;
        }
        if (remaining(end) == 0) {
            return -1;
        }
        if (!pump(std::min(remaining(end), 10))) {
            ::usleep(1000);
        }
    }
    // What it wrote last, until the pipes close or stay quiet (a program it
    // started may hold them).
    while (remaining(end) > 0) {
        const size_t before = m_out.size() + m_err.size();
        const int open = (m_stdout >= 0) + (m_stderr >= 0);
        if (!pump(std::min(remaining(end), 100)) ||
            (m_out.size() + m_err.size() == before && (m_stdout >= 0) + (m_stderr >= 0) == open)) {
            break;
        }
    }
    return m_status;
}

} // namespace tessaron::test

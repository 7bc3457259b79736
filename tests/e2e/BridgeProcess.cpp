#include "BridgeProcess.h"

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <linux/capability.h>
#include <poll.h>
#include <sstream>
#include <sys/prctl.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <sys/wait.h>
#include <unistd.h>

#include "tests/support/TempHome.h"

namespace tessaron::test {

BridgeProcess::BridgeProcess(std::string home, std::string runtime)
    : m_home(std::move(home)), m_runtime(std::move(runtime)), m_setup(m_home + "/fakehid-setup"),
      m_control(m_runtime + "/fakehid.sock")
{
    WriteFile(m_setup, "");
}

BridgeProcess::~BridgeProcess()
{
    if (m_pid > 0 && wait(0) == -1 && !m_ended) {
        ::kill(m_pid, SIGKILL);
        wait(10000);
    }
    if (m_outReader.joinable()) {
        m_outReader.join();
    }
    if (m_errReader.joinable()) {
        m_errReader.join();
    }
}

void BridgeProcess::setUp(const std::vector<std::string>& lines)
{
    std::string text;
    for (const std::string& l : lines) {
        text += l + "\n";
    }
    WriteFile(m_setup, text);
}

bool BridgeProcess::start(const std::string& hidapi, bool closedOutput)
{
    int out[2];
    int err[2];
    if (::pipe2(out, O_CLOEXEC) != 0 || ::pipe2(err, O_CLOEXEC) != 0) {
        return false;
    }
    // Everything the child needs is made before fork(): after it, only calls
    // that are safe in a child of a threaded process.
    std::vector<std::string> env = {
        "TESSARON_HOME=" + m_home,
        "TESSARON_LOCK_DIR=" + m_runtime,
        "TESSARON_HIDAPI=" + hidapi,
        "TESSARON_FAKEHID_SETUP=" + m_setup,
        "TESSARON_FAKEHID_CONTROL=" + m_control,
    };
    env = ChildEnvironment(std::move(env));
    std::vector<char*> envp = Pointers(env);
    char* argv[] = {const_cast<char*>(TESSARON_TOOL), const_cast<char*>("bridge"), nullptr};
    sigset_t none;
    sigemptyset(&none);

    m_pid = ::fork();
    if (m_pid == 0) {
        ::dup2(out[1], 1);
        ::dup2(err[1], 2);
        // The test may run with stop signals blocked; the bridge must see them.
        ::sigprocmask(SIG_SETMASK, &none, nullptr);
        if (withoutSysAdmin) {
            ::prctl(PR_CAPBSET_DROP, CAP_SYS_ADMIN, 0, 0, 0);
        }
        ::execve(TESSARON_TOOL, argv, envp.data());
        ::_exit(127);
    }
    ::close(out[1]);
    ::close(err[1]);
    if (m_pid < 0) {
        ::close(out[0]);
        ::close(err[0]);
        return false;
    }
    if (closedOutput) {
        ::close(out[0]);
    } else {
        m_outReader = std::thread(&BridgeProcess::collect, this, out[0], false);
    }
    m_errReader = std::thread(&BridgeProcess::collect, this, err[0], true);
    return true;
}

void BridgeProcess::collect(int fd, bool errorStream)
{
    char buffer[4096];
    for (;;) {
        const ssize_t n = ::read(fd, buffer, sizeof buffer);
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n <= 0) {
            break;
        }
        std::lock_guard<std::mutex> lock(m_mutex);
        if (errorStream) {
            m_stderr.append(buffer, static_cast<size_t>(n));
            continue;
        }
        m_partial.append(buffer, static_cast<size_t>(n));
        size_t end;
        while ((end = m_partial.find('\n')) != std::string::npos) {
            m_lines.push_back(m_partial.substr(0, end));
            m_partial.erase(0, end + 1);
        }
        m_changed.notify_all();
    }
    ::close(fd);
}

bool BridgeProcess::waitForLine(const std::string& text, int milliseconds, int count)
{
    std::unique_lock<std::mutex> lock(m_mutex);
    return m_changed.wait_for(lock, std::chrono::milliseconds(milliseconds), [&] {
        int found = 0;
        for (const std::string& l : m_lines) {
            found += l.find(text) != std::string::npos ? 1 : 0;
        }
        return found >= count;
    });
}

std::vector<std::string> BridgeProcess::lines(size_t from)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    return std::vector<std::string>(
        m_lines.begin() + static_cast<long>(std::min(from, m_lines.size())), m_lines.end());
}

std::string BridgeProcess::errorOutput()
{
    if (m_errReader.joinable() && m_ended) {
        m_errReader.join();
    }
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_stderr;
}

void BridgeProcess::signal(int number)
{
    if (m_pid > 0 && !m_ended) {
        ::kill(m_pid, number);
    }
}

int BridgeProcess::wait(int milliseconds)
{
    if (m_pid <= 0) {
        return -1;
    }
    const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(milliseconds);
    while (!m_ended) {
        int status = 0;
        const pid_t r = ::waitpid(m_pid, &status, WNOHANG);
        if (r == m_pid) {
            m_ended = true;
            m_status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
            // Its output may still be in the pipes: take all of it first.
            if (m_outReader.joinable()) {
                m_outReader.join();
            }
            if (m_errReader.joinable()) {
                m_errReader.join();
            }
            break;
        }
        if (std::chrono::steady_clock::now() >= end) {
            return -1;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    return m_status;
}

FakeHidClient::~FakeHidClient()
{
    if (m_fd >= 0) {
        ::close(m_fd);
    }
}

std::string FakeHidClient::outputText(int id, size_t count, int milliseconds)
{
    const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(milliseconds);
    std::string text;
    while (true) {
        text.clear();
        for (const auto& r : outputs(id)) {
            if (r.size() >= 2 && r[1] <= 7 && r.size() >= 2u + r[1]) {
                text.append(r.begin() + 2, r.begin() + 2 + r[1]);
            }
        }
        if (text.size() >= count || std::chrono::steady_clock::now() >= end) {
            return text;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
}

bool FakeHidClient::connect()
{
    if (m_fd >= 0) {
        return true;
    }
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    if (m_path.size() >= sizeof address.sun_path) {
        return false;
    }
    std::strcpy(address.sun_path, m_path.c_str());
    // The bridge's hidapi starts listening once it is loaded.
    const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (std::chrono::steady_clock::now() < end) {
        const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
        if (::connect(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0) {
            m_fd = fd;
            return true;
        }
        ::close(fd);
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return false;
}

std::vector<std::string> FakeHidClient::command(const std::string& line)
{
    if (!connect()) {
        ADD_FAILURE() << "no control socket at " << m_path;
        return {};
    }
    const std::string sent = line + "\n";
    if (::write(m_fd, sent.data(), sent.size()) != static_cast<ssize_t>(sent.size())) {
        ADD_FAILURE() << "control socket write failed";
        return {};
    }
    std::string reply;
    std::vector<std::string> lines;
    char buffer[4096];
    for (;;) {
        size_t end;
        while ((end = reply.find('\n')) != std::string::npos) {
            const std::string l = reply.substr(0, end);
            reply.erase(0, end + 1);
            if (l == "ok") {
                return lines;
            }
            if (l.rfind("error:", 0) == 0) {
                ADD_FAILURE() << line << ": " << l;
                return {};
            }
            lines.push_back(l);
        }
        pollfd p{m_fd, POLLIN, 0};
        if (::poll(&p, 1, 10000) <= 0) {
            ADD_FAILURE() << line << ": no reply";
            return {};
        }
        const ssize_t n = ::read(m_fd, buffer, sizeof buffer);
        if (n <= 0) {
            ADD_FAILURE() << line << ": control socket closed";
            return {};
        }
        reply.append(buffer, static_cast<size_t>(n));
    }
}

std::vector<std::vector<unsigned char>> FakeHidClient::outputs(int id, bool drain)
{
    std::vector<std::vector<unsigned char>> reports;
    for (const std::string& line : command((drain ? "drain " : "outputs ") + std::to_string(id))) {
        std::istringstream in(line);
        std::vector<unsigned char> bytes;
        unsigned value;
        while (in >> std::hex >> value) {
            bytes.push_back(static_cast<unsigned char>(value));
        }
        reports.push_back(bytes);
    }
    return reports;
}

} // namespace tessaron::test

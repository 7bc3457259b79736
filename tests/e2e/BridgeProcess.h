#pragma once

#include "tests/support/ChildProcess.h"

#include <chrono>
#include <condition_variable>
#include <mutex>
#include <string>
#include <sys/types.h>
#include <thread>
#include <vector>

namespace tessaron::test {

// A real `tessaron bridge` process on a suite folder of the caller's, with the
// simulated USB keypad library as its hidapi: the keypads listed in its set-up
// file exist from the start, and FakeHidClient drives them through the control
// socket while the bridge runs. Its standard output is collected line by line.
class BridgeProcess
{
public:
    // home: the suite folder; runtime: the folder of the single-instance lock.
    BridgeProcess(std::string home, std::string runtime);
    ~BridgeProcess(); // SIGKILLs a bridge still running
    BridgeProcess(const BridgeProcess&) = delete;
    BridgeProcess& operator=(const BridgeProcess&) = delete;

    // Started without CAP_SYS_ADMIN, as an ordinary user's bridge runs even
    // when the tests run as root: a host that leaves its port in exclusive
    // mode then has the bridge make the port afresh.
    bool withoutSysAdmin = false;

    // Lines of the simulated library's set-up file, e.g. "add 16c0:0604 sim-1".
    void setUp(const std::vector<std::string>& lines);
    // hidapi: the library the bridge loads as hidapi. closedOutput: its
    // standard output is a pipe that nobody reads (closed at once).
    bool start(const std::string& hidapi = TESSARON_FAKEHID_LIBRARY, bool closedOutput = false);

    // Waits until count lines of standard output contain text.
    bool waitForLine(const std::string& text, int milliseconds, int count = 1);
    // The lines of standard output from index from on.
    std::vector<std::string> lines(size_t from = 0);
    std::string errorOutput();

    void signal(int number);
    // Waits for the process to end; its exit status, -1 when it did not end in
    // time (or ended by a signal).
    int wait(int milliseconds);
    bool running() { return wait(0) == -1 && !m_ended; }
    pid_t pid() const { return m_pid; }
    const std::string& controlSocket() const { return m_control; }

private:
    void collect(int fd, bool errorStream);

    std::string m_home;
    std::string m_runtime;
    std::string m_setup;
    std::string m_control;
    pid_t m_pid = -1;
    int m_status = -1;
    bool m_ended = false;
    std::mutex m_mutex;
    std::condition_variable m_changed;
    std::vector<std::string> m_lines;
    std::string m_partial;
    std::string m_stderr;
    std::thread m_outReader;
    std::thread m_errReader;
};

// Commands to the simulated keypads of a running bridge (see the library's help).
class FakeHidClient
{
public:
    explicit FakeHidClient(std::string socketPath) : m_path(std::move(socketPath)) {}
    ~FakeHidClient();
    FakeHidClient(const FakeHidClient&) = delete;
    FakeHidClient& operator=(const FakeHidClient&) = delete;

    // Sends one command; returns the reply lines before "ok", or fails the
    // calling test (an empty result) on "error: ...".
    std::vector<std::string> command(const std::string& line);
    // The bytes of every output report the keypad received, as written; drain:
    // only those since the last drain, which are then forgotten.
    std::vector<std::vector<unsigned char>> outputs(int id, bool drain = false);
    // The data bytes of the keypad's output reports, once count of them came
    // or milliseconds passed.
    std::string outputText(int id, size_t count, int milliseconds);

private:
    bool connect();

    std::string m_path;
    int m_fd = -1;
};

} // namespace tessaron::test

#pragma once

#include <string>
#include <string_view>
#include <sys/types.h>
#include <vector>

namespace tessaron::test {

// own ("NAME=value" each) followed by the variables of this process that own
// does not set: the environment of a child program of a test.
std::vector<std::string> ChildEnvironment(std::vector<std::string> own);
// The strings' texts and a null at the end, as exec takes them.
std::vector<char*> Pointers(std::vector<std::string>& strings);

// A program that a test runs and talks to: pipes to its standard input,
// output and error, read without threads; in a process group of its own that
// the destructor kills, and killed with the test when the test dies first.
class ChildProcess
{
public:
    ChildProcess() = default;
    ~ChildProcess();
    ChildProcess(const ChildProcess&) = delete;
    ChildProcess& operator=(const ChildProcess&) = delete;

    // argv[0] is the program's path; env its whole environment ({}: none at
    // all, see ChildEnvironment for the test's own).
    bool start(std::vector<std::string> argv, std::vector<std::string> env);
    bool write(std::string_view text);
    // The next line of standard output without its '\n'; false when none
    // came within milliseconds.
    bool readLine(std::string& line, int milliseconds);
    // Its exit status once it ended (reading its output meanwhile); -1 when
    // it did not end within milliseconds or ended by a signal.
    int wait(int milliseconds);
    // What it wrote and no readLine took.
    const std::string& output() const { return m_out; }
    const std::string& errorOutput() const { return m_err; }
    pid_t pid() const { return m_pid; }

private:
    // Reads what arrives within milliseconds; false when both pipes are closed.
    bool pump(int milliseconds);

    pid_t m_pid = -1;
    int m_status = -1;
    bool m_ended = false;
    int m_stdin = -1;
    int m_stdout = -1;
    int m_stderr = -1;
    std::string m_out;
    std::string m_err;
};

} // namespace tessaron::test

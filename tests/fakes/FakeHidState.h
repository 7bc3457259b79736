#pragma once

// Inside of the simulated USB keypad library, shared by its hidapi entry points
// and its control functions.

#include "KeypadCommandParser.h"

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace tessaron::test::fakehid {

using Clock = std::chrono::steady_clock;

struct Report
{
    std::uint8_t bytes[16] = {};
    int length = 0;
};

struct Device
{
    int id = 0;
    unsigned short vendorId = 0;
    unsigned short productId = 0;
    std::string path;
    bool plugged = true;
    int generation = 0; // handles opened before the last unplug are dead
    std::string identification = "Simulated USB KP";
    int idleMs = 100;
    int reportId = -1;
    int openError = 0;
    int collections = 1;

    std::deque<Report> input;
    Clock::time_point nextIdle{};

    std::vector<std::vector<std::uint8_t>> outputs;
    std::vector<std::vector<std::uint8_t>> features;
    int featureReads = 0;
    KeypadCommandParser parser;
    int openHandles = 0;
    int totalOpens = 0;

    bool stallWrites = false;
    int writesStalled = 0;

    bool holdReads = false;
    int releasedReads = 0;
    int readsEntered = 0;

    // One input report carrying up to 7 data bytes.
    void queueData(const std::uint8_t* bytes, int n);
    void queueIdleReport() { queueData(nullptr, 0); }
    void queueRaw(const std::uint8_t* bytes, int n);
    // Data bytes of an output report: answers the identification query.
    void receive(const std::uint8_t* bytes, std::size_t n, Clock::time_point now);
    void flushQuietMessage(Clock::time_point now) { parser.FlushIfQuiet(now); }
};

class State
{
public:
    std::mutex mutex;
    std::condition_variable changed;
    std::vector<std::unique_ptr<Device>> devices;
    int nextId = 1;
    // Callers of fakehid_wait_reads: only they need a wake-up when a read starts
    // (waking every reader of every device for it would cost the bridge's
    // process far more than real hidraw does).
    int readWatchers = 0;
    std::wstring globalError;
    // Calls that entered the library on a device while another call was inside.
    std::atomic<int> overlappingCalls{0};

    Device* find(int id);

    void init();
    void exit();

private:
    void startServer(const std::string& path);
    void stopServer();
    void serve();
    void serveConnection(int fd);

    std::mutex m_serverMutex;
    bool m_setupDone = false;
    int m_listenFd = -1;
    int m_wakeFd = -1;
    std::string m_socketPath;
    std::thread m_server;
};

// The one state of the library (never destroyed: a thread may still be inside
// hid_read_timeout when the process ends).
State& TheState();

// Runs one control command; reply gets the reply lines. Returns 0 or -1.
int RunCommand(const std::string& line, std::string& reply);

} // namespace tessaron::test::fakehid

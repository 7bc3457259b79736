#pragma once

// Helpers for the bridge thread tests: a simulated USB keypad opened through the
// fake hidapi library (linked directly), and a pseudo-terminal standing for a
// serial keypad's port.

#include "FakeHid.h"
#include "portmgr/io/DeviceHandle.h"
#include "tests/support/WaitFor.h"

#include <memory>
#include <pthread.h>
#include <string>

namespace tessaron::test {

inline const THidCalls* FakeHidCalls()
{
    static const THidCalls calls = [] {
        THidCalls c;
        c.ReadTimeout = &hid_read_timeout;
        c.Write = &hid_write;
        c.SendFeatureReport = &hid_send_feature_report;
        c.GetFeatureReport = &hid_get_feature_report;
        c.Close = &hid_close;
        return c;
    }();
    return &calls;
}

// A simulated keypad, opened.
struct FakeUsbKeypad
{
    int id = -1;
    std::unique_ptr<TDeviceHandle> handle;

    explicit FakeUsbKeypad(const char* path = "/dev/hidraw-bridge")
    {
        fakehid_reset();
        id = fakehid_add_device(0x16C0, 0x0604, path);
        handle = TDeviceHandle::ForHid(hid_open_path(path), hid_open_path(path), FakeHidCalls());
    }
    ~FakeUsbKeypad() { fakehid_reset(); }
};

// The two ends of a pseudo-terminal; the bridge threads use the slave end, as
// they would use ports/COMn.
struct PtyPair
{
    int master = -1;
    std::unique_ptr<TDeviceHandle> slave;

    PtyPair();
    ~PtyPair();
    void Write(const std::string& bytes);
    // Reads what has arrived within timeoutMs, up to max bytes.
    std::string Read(size_t max, int timeoutMs);
};

} // namespace tessaron::test

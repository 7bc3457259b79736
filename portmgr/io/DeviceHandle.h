#pragma once

#include "OpenPort.h"

#include "common/SingleInstanceLock.h"

#include <hidapi/hidapi.h>

#include <cstddef>
#include <memory>
#include <mutex>

namespace tessaron {

// A keypad's reports: byte 0 report ID, byte 1 the count n, bytes 2 to 8 data.
constexpr int ReportSize = 9;
constexpr int MaxReportData = 7;

// The hidapi calls that an open USB keypad needs, resolved at run time by the
// HID layer (hidapi is loaded with dlopen, never linked).
struct THidCalls
{
    int (*ReadTimeout)(hid_device*, unsigned char*, size_t, int) = nullptr;
    int (*Write)(hid_device*, const unsigned char*, size_t) = nullptr;
    int (*SendFeatureReport)(hid_device*, const unsigned char*, size_t) = nullptr;
    int (*GetFeatureReport)(hid_device*, unsigned char*, size_t) = nullptr;
    void (*Close)(hid_device*) = nullptr;
};

// A keypad's open device: hidapi devices for a USB keypad, or the file
// descriptor of a serial port. The slot owns it and destroying it closes the
// device; the bridge threads only use it, and are joined before it goes.
//
// Debian 12's hidapi (0.13) must never be entered by two threads on one
// hid_device: every call frees and replaces the device's error text, so two
// failing at once free the same pointer. A USB keypad is therefore opened
// twice: the read thread alone reads on the first hid_device; writes and
// feature reports (write thread, main thread) share the second under a lock
// that reads never wait for. hidraw gives each open every input report; those
// of the second, never read, are dropped by the kernel once its queue is full.
class TDeviceHandle
{
public:
    // Takes ownership of both devices (closed with calls->Close); calls must
    // outlive them. Null when either is missing (the other is closed).
    static std::unique_ptr<TDeviceHandle> ForHid(hid_device* reader, hid_device* writer,
                                                 const THidCalls* calls);
    // Takes ownership of fd (closed with close()).
    static std::unique_ptr<TDeviceHandle> ForFd(int fd);
    // Takes ownership of an open serial port, which closes itself. Null when
    // port is null or closed.
    static std::unique_ptr<TDeviceHandle> ForPort(std::unique_ptr<TOpenPort> port);

    ~TDeviceHandle();
    TDeviceHandle(const TDeviceHandle&) = delete;
    TDeviceHandle& operator=(const TDeviceHandle&) = delete;

    bool IsHid() const { return m_reader != nullptr; }
    // Keeps a lock (see LockKeypad) until the device is closed.
    void AdoptLock(std::unique_ptr<SingleInstanceLock> lock) { m_lock = std::move(lock); }
    int Fd() const { return m_fd; }

    // One input report as hidapi delivers it, waiting at most milliseconds:
    // its length, 0 on timeout, -1 on failure (also when this is not a HID device).
    int ReadReport(unsigned char* data, size_t length, int milliseconds);
    // An output report, report ID first; bytes written or -1.
    int WriteReport(const unsigned char* data, size_t length);
    int SendFeature(const unsigned char* data, size_t length);
    int GetFeature(unsigned char* data, size_t length);

private:
    TDeviceHandle() = default;

    hid_device* m_reader = nullptr;
    hid_device* m_writer = nullptr;
    const THidCalls* m_calls = nullptr;
    int m_fd = -1;
    std::unique_ptr<TOpenPort> m_port;
    std::unique_ptr<SingleInstanceLock> m_lock;
    std::mutex m_callLock;
};

} // namespace tessaron

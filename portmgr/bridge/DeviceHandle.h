#pragma once

#include <hidapi/hidapi.h>

#include <cstddef>
#include <memory>
#include <mutex>

namespace tessaron {

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

// A keypad's open device: a hidapi device for a USB keypad, or the file
// descriptor of a serial port. The slot owns it and destroying it closes the
// device; the bridge threads only use it, and are joined before it goes.
//
// hidapi allows hid_read_timeout() on a thread of its own while every other call
// on the same device is serialised, so reads run unlocked and writes and feature
// reports share one lock.
class TDeviceHandle
{
public:
    // Takes ownership of device (closed with calls->Close); calls must outlive it.
    static std::unique_ptr<TDeviceHandle> ForHid(hid_device* device, const THidCalls* calls);
    // Takes ownership of fd (closed with close()).
    static std::unique_ptr<TDeviceHandle> ForFd(int fd);

    ~TDeviceHandle();
    TDeviceHandle(const TDeviceHandle&) = delete;
    TDeviceHandle& operator=(const TDeviceHandle&) = delete;

    bool IsHid() const { return m_hid != nullptr; }
    hid_device* Hid() const { return m_hid; }
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

    hid_device* m_hid = nullptr;
    const THidCalls* m_calls = nullptr;
    int m_fd = -1;
    std::mutex m_callLock;
};

} // namespace tessaron

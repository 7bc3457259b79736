#include "DeviceHandle.h"

#include <sys/ioctl.h>
#include <unistd.h>

namespace tessaron {

std::unique_ptr<TDeviceHandle> TDeviceHandle::ForHid(hid_device* device, const THidCalls* calls)
{
    if (device == nullptr || calls == nullptr) {
        return nullptr;
    }
    std::unique_ptr<TDeviceHandle> handle(new TDeviceHandle);
    handle->m_hid = device;
    handle->m_calls = calls;
    return handle;
}

std::unique_ptr<TDeviceHandle> TDeviceHandle::ForFd(int fd)
{
    if (fd < 0) {
        return nullptr;
    }
    std::unique_ptr<TDeviceHandle> handle(new TDeviceHandle);
    handle->m_fd = fd;
    return handle;
}

TDeviceHandle::~TDeviceHandle()
{
    if (m_hid != nullptr && m_calls->Close != nullptr) {
        m_calls->Close(m_hid);
    }
    if (m_fd >= 0) {
        // A terminal's exclusive mode outlives this descriptor while anything
        // else holds the terminal open; give it up (harmless on other files).
        ::ioctl(m_fd, TIOCNXCL);
        ::close(m_fd);
    }
}

int TDeviceHandle::ReadReport(unsigned char* data, size_t length, int milliseconds)
{
    if (m_hid == nullptr || m_calls->ReadTimeout == nullptr) {
        return -1;
    }
    return m_calls->ReadTimeout(m_hid, data, length, milliseconds);
}

int TDeviceHandle::WriteReport(const unsigned char* data, size_t length)
{
    if (m_hid == nullptr || m_calls->Write == nullptr) {
        return -1;
    }
    std::lock_guard<std::mutex> lock(m_callLock);
    return m_calls->Write(m_hid, data, length);
}

int TDeviceHandle::SendFeature(const unsigned char* data, size_t length)
{
    if (m_hid == nullptr || m_calls->SendFeatureReport == nullptr) {
        return -1;
    }
    std::lock_guard<std::mutex> lock(m_callLock);
    return m_calls->SendFeatureReport(m_hid, data, length);
}

int TDeviceHandle::GetFeature(unsigned char* data, size_t length)
{
    if (m_hid == nullptr || m_calls->GetFeatureReport == nullptr) {
        return -1;
    }
    std::lock_guard<std::mutex> lock(m_callLock);
    return m_calls->GetFeatureReport(m_hid, data, length);
}

} // namespace tessaron

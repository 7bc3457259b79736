#include "DeviceHandle.h"

#include <sys/ioctl.h>
#include <unistd.h>

namespace tessaron {

std::unique_ptr<TDeviceHandle> TDeviceHandle::ForHid(hid_device* reader, hid_device* writer,
                                                     const THidCalls* calls)
{
    if (reader == nullptr || writer == nullptr || calls == nullptr) {
        for (hid_device* d : {reader, writer}) {
            if (d != nullptr && calls != nullptr && calls->Close != nullptr) {
                calls->Close(d);
            }
        }
        return nullptr;
    }
    std::unique_ptr<TDeviceHandle> handle(new TDeviceHandle);
    handle->m_reader = reader;
    handle->m_writer = writer;
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

std::unique_ptr<TDeviceHandle> TDeviceHandle::ForPort(std::unique_ptr<TOpenPort> port)
{
    if (port == nullptr || port->Fd() < 0) {
        return nullptr;
    }
    std::unique_ptr<TDeviceHandle> handle(new TDeviceHandle);
    handle->m_fd = port->Fd();
    handle->m_port = std::move(port);
    return handle;
}

TDeviceHandle::~TDeviceHandle()
{
    if (m_reader != nullptr && m_calls->Close != nullptr) {
        m_calls->Close(m_reader);
        m_calls->Close(m_writer);
    }
    if (m_port != nullptr) {
        m_port.reset();
    } else if (m_fd >= 0) {
        // A terminal's exclusive mode outlives this descriptor while anything
        // else holds the terminal open; give it up (harmless on other files).
        ::ioctl(m_fd, TIOCNXCL);
        ::close(m_fd);
    }
    m_lock.reset(); // only once the device is closed
}

int TDeviceHandle::ReadReport(unsigned char* data, size_t length, int milliseconds)
{
    if (m_reader == nullptr || m_calls->ReadTimeout == nullptr) {
        return -1;
    }
    return m_calls->ReadTimeout(m_reader, data, length, milliseconds);
}

int TDeviceHandle::WriteReport(const unsigned char* data, size_t length)
{
    if (m_writer == nullptr || m_calls->Write == nullptr) {
        return -1;
    }
    std::lock_guard<std::mutex> lock(m_callLock);
    return m_calls->Write(m_writer, data, length);
}

int TDeviceHandle::SendFeature(const unsigned char* data, size_t length)
{
    if (m_writer == nullptr || m_calls->SendFeatureReport == nullptr) {
        return -1;
    }
    std::lock_guard<std::mutex> lock(m_callLock);
    return m_calls->SendFeatureReport(m_writer, data, length);
}

int TDeviceHandle::GetFeature(unsigned char* data, size_t length)
{
    if (m_writer == nullptr || m_calls->GetFeatureReport == nullptr) {
        return -1;
    }
    std::lock_guard<std::mutex> lock(m_callLock);
    return m_calls->GetFeatureReport(m_writer, data, length);
}

} // namespace tessaron

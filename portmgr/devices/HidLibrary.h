#pragma once

#include "portmgr/io/DeviceHandle.h"

#include <hidapi/hidapi.h>

#include <string>

namespace tessaron {

// hidapi, opened at run time: either every entry point resolves or the library
// is not loaded at all, so a machine without hidapi takes the same failure path
// as one without HID support.
class THidLibrary
{
public:
    // The library loaded when TESSARON_HIDAPI names none.
    static constexpr const char* DefaultName = "libhidapi-hidraw.so.0";

    THidLibrary() = default;
    ~THidLibrary();
    THidLibrary(const THidLibrary&) = delete;
    THidLibrary& operator=(const THidLibrary&) = delete;

    // Loads name (nothing happens when a library is loaded already). Returns
    // true on failure, with the reason in Error().
    bool Load(const std::string& name);
    // hid_exit(), then the library is closed and every entry point cleared.
    void Unload();

    bool Loaded() const { return m_library != nullptr; }
    const std::string& Name() const { return m_name; }
    const std::string& Error() const { return m_error; }

    // The calls that open keypads make (ReadTimeout, Write, feature reports, Close).
    const THidCalls* Calls() const { return &m_calls; }

    hid_device_info* Enumerate(unsigned short vendorId, unsigned short productId) const;
    void FreeEnumeration(hid_device_info* devices) const;
    hid_device* OpenPath(const char* path) const;
    // hidapi's text for the last failure on device (nullptr: of the last open).
    std::string ErrorText(hid_device* device) const;

private:
    void clear();

    void* m_library = nullptr;
    std::string m_name;
    std::string m_error;

    int (*m_init)() = nullptr;
    int (*m_exit)() = nullptr;
    hid_device_info* (*m_enumerate)(unsigned short, unsigned short) = nullptr;
    void (*m_freeEnumeration)(hid_device_info*) = nullptr;
    hid_device* (*m_openPath)(const char*) = nullptr;
    const wchar_t* (*m_errorText)(hid_device*) = nullptr;
    THidCalls m_calls;
};

} // namespace tessaron

#include "HidLibrary.h"

#include <cwchar>
#include <dlfcn.h>

namespace tessaron {

namespace {

template <typename F>
bool resolve(void* library, const char* name, F& entry)
{
    entry = reinterpret_cast<F>(::dlsym(library, name));
    return entry != nullptr;
}

} // namespace

THidLibrary::~THidLibrary()
{
    Unload();
}

bool THidLibrary::Load(const std::string& name)
{
    if (Loaded()) {
        return false;
    }
    m_error.clear();
    void* library = ::dlopen(name.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (library == nullptr) {
        const char* reason = ::dlerror();
        m_error = reason != nullptr ? reason : "cannot load " + name;
        return true;
    }
    m_library = library;
    const bool all = resolve(library, "hid_init", m_init) && resolve(library, "hid_exit", m_exit) &&
                     resolve(library, "hid_enumerate", m_enumerate) &&
                     resolve(library, "hid_free_enumeration", m_freeEnumeration) &&
                     resolve(library, "hid_open_path", m_openPath) &&
                     resolve(library, "hid_error", m_errorText) &&
                     resolve(library, "hid_read_timeout", m_calls.ReadTimeout) &&
                     resolve(library, "hid_write", m_calls.Write) &&
                     resolve(library, "hid_send_feature_report", m_calls.SendFeatureReport) &&
                     resolve(library, "hid_get_feature_report", m_calls.GetFeatureReport) &&
                     resolve(library, "hid_close", m_calls.Close);
    if (!all) {
        m_error = name + " lacks the hidapi entry points";
        clear();
        return true;
    }
    if (m_init() != 0) {
        m_error = "hid_init failed: " + ErrorText(nullptr);
        clear();
        return true;
    }
    m_name = name;
    return false;
}

void THidLibrary::Unload()
{
    if (!Loaded()) {
        return;
    }
    m_exit();
    clear();
}

void THidLibrary::clear()
{
    if (m_library != nullptr) {
        ::dlclose(m_library);
    }
    m_library = nullptr;
    m_name.clear();
    m_init = nullptr;
    m_exit = nullptr;
    m_enumerate = nullptr;
    m_freeEnumeration = nullptr;
    m_openPath = nullptr;
    m_errorText = nullptr;
    m_calls = THidCalls{};
}

hid_device_info* THidLibrary::Enumerate(unsigned short vendorId, unsigned short productId) const
{
    return Loaded() ? m_enumerate(vendorId, productId) : nullptr;
}

void THidLibrary::FreeEnumeration(hid_device_info* devices) const
{
    if (Loaded() && devices != nullptr) {
        m_freeEnumeration(devices);
    }
}

hid_device* THidLibrary::OpenPath(const char* path) const
{
    return Loaded() && path != nullptr ? m_openPath(path) : nullptr;
}

std::string THidLibrary::ErrorText(hid_device* device) const
{
    if (m_errorText == nullptr) {
        return {};
    }
    const wchar_t* text = m_errorText(device);
    if (text == nullptr) {
        return {};
    }
    // hidapi's texts are plain ASCII in practice; anything else shows as '?'.
    std::string out;
    for (; *text != L'\0'; ++text) {
        out += (*text >= 0x20 && *text < 0x7F) ? static_cast<char>(*text) : '?';
    }
    return out;
}

} // namespace tessaron

// A stand-in for hidapi with simulated USB keypads (see FakeHid.h).
#include "FakeHid.h"

#include "FakeHidState.h"

#include <hidapi/hidapi.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <cstdlib>
#include <cstring>

using tessaron::test::fakehid::Device;
using tessaron::test::fakehid::Report;
using tessaron::test::fakehid::State;
using Clock = std::chrono::steady_clock;

struct hid_device_
{
    int deviceId;
    int generation;
    std::wstring error;
    std::atomic<int> inside{0};
};

namespace {

State& state()
{
    return tessaron::test::fakehid::TheState();
}

std::wstring wide(const char* text)
{
    std::wstring out;
    for (; *text != '\0'; ++text) {
        out += static_cast<wchar_t>(static_cast<unsigned char>(*text));
    }
    return out;
}

wchar_t* wideCopy(const char* text)
{
    const std::wstring w = wide(text);
    wchar_t* copy = static_cast<wchar_t*>(std::calloc(w.size() + 1, sizeof(wchar_t)));
    if (copy != nullptr) {
        std::wmemcpy(copy, w.c_str(), w.size());
    }
    return copy;
}

// The device behind an open handle, when the handle is still good (the device
// has not been unplugged since it was opened).
Device* liveDevice(State& s, hid_device* handle)
{
    if (handle == nullptr) {
        return nullptr;
    }
    Device* d = s.find(handle->deviceId);
    if (d == nullptr || !d->plugged || d->generation != handle->generation) {
        return nullptr;
    }
    return d;
}

// Debian 12's hidapi must never be entered by two threads on one device (both
// would replace its error text): every entry point counts such an overlap.
class Entered
{
public:
    explicit Entered(hid_device* dev) : m_dev(dev)
    {
        if (m_dev != nullptr && m_dev->inside.fetch_add(1) > 0) {
            state().overlappingCalls.fetch_add(1);
        }
    }
    ~Entered()
    {
        if (m_dev != nullptr) {
            m_dev->inside.fetch_sub(1);
        }
    }
    Entered(const Entered&) = delete;
    Entered& operator=(const Entered&) = delete;

private:
    hid_device* m_dev;
};

int deliver(Device& d, unsigned char* data, size_t length)
{
    const Report r = d.input.front();
    d.input.pop_front();
    const size_t n = std::min(length, static_cast<size_t>(r.length));
    std::memcpy(data, r.bytes, n);
    return static_cast<int>(n);
}

} // namespace

extern "C" {

int hid_init(void)
{
    state().init();
    return 0;
}

int hid_exit(void)
{
    state().exit();
    return 0;
}

struct hid_device_info* hid_enumerate(unsigned short vendor_id, unsigned short product_id)
{
    State& s = state();
    std::lock_guard<std::mutex> lock(s.mutex);
    hid_device_info* first = nullptr;
    hid_device_info** next = &first;
    for (const auto& d : s.devices) {
        if (!d->plugged || (vendor_id != 0 && d->vendorId != vendor_id) ||
            (product_id != 0 && d->productId != product_id)) {
            continue;
        }
        for (int c = 0; c < d->collections; ++c) {
            auto* info = static_cast<hid_device_info*>(std::calloc(1, sizeof(hid_device_info)));
            if (info == nullptr) {
                return first;
            }
            info->path = strdup(d->path.c_str());
            info->vendor_id = d->vendorId;
            info->product_id = d->productId;
            info->serial_number = wideCopy("");
            info->manufacturer_string = wideCopy("Tessaron");
            info->product_string = wideCopy("Simulated keypad");
            info->interface_number = 0;
            info->bus_type = HID_API_BUS_USB;
            *next = info;
            next = &info->next;
        }
    }
    return first;
}

void hid_free_enumeration(struct hid_device_info* devs)
{
    while (devs != nullptr) {
        hid_device_info* next = devs->next;
        std::free(devs->path);
        std::free(devs->serial_number);
        std::free(devs->manufacturer_string);
        std::free(devs->product_string);
        std::free(devs);
        devs = next;
    }
}

hid_device* hid_open_path(const char* path)
{
    State& s = state();
    std::lock_guard<std::mutex> lock(s.mutex);
    for (const auto& d : s.devices) {
        if (!d->plugged || path == nullptr || d->path != path) {
            continue;
        }
        if (d->openError != 0) {
            s.globalError = L"Failed to open a device: " + wide(std::strerror(d->openError));
            errno = d->openError;
            return nullptr;
        }
        ++d->openHandles;
        ++d->totalOpens;
        d->nextIdle = Clock::now() + std::chrono::milliseconds(d->idleMs);
        s.changed.notify_all();
        return new hid_device_{d->id, d->generation, L""};
    }
    s.globalError = L"Failed to open a device: no such device";
    errno = ENOENT;
    return nullptr;
}

hid_device* hid_open(unsigned short vendor_id, unsigned short product_id, const wchar_t*)
{
    std::string path;
    {
        State& s = state();
        std::lock_guard<std::mutex> lock(s.mutex);
        for (const auto& d : s.devices) {
            if (d->plugged && d->vendorId == vendor_id && d->productId == product_id) {
                path = d->path;
                break;
            }
        }
    }
    return path.empty() ? nullptr : hid_open_path(path.c_str());
}

int hid_write(hid_device* dev, const unsigned char* data, size_t length)
{
    Entered entered(dev);
    State& s = state();
    std::unique_lock<std::mutex> lock(s.mutex);
    Device* d = liveDevice(s, dev);
    if (d != nullptr && d->stallWrites) {
        ++d->writesStalled;
        s.changed.notify_all();
        const Clock::time_point giveUp = Clock::now() + std::chrono::seconds(10);
        while ((d = liveDevice(s, dev)) != nullptr && d->stallWrites && Clock::now() < giveUp) {
            s.changed.wait_until(lock, giveUp);
        }
        if (Device* known = s.find(dev->deviceId)) {
            --known->writesStalled;
        }
        if (d != nullptr && d->stallWrites) {
            d = nullptr; // timed out, as the kernel's 5 s would
        }
    }
    if (d == nullptr || data == nullptr) {
        if (dev != nullptr) {
            dev->error = L"device unplugged";
        }
        return -1;
    }
    d->outputs.emplace_back(data, data + length);
    if (length >= 2) {
        const size_t n = std::min<size_t>({data[1], 7, length - 2});
        d->receive(data + 2, n, Clock::now());
    }
    s.changed.notify_all();
    return static_cast<int>(length);
}

int hid_read_timeout(hid_device* dev, unsigned char* data, size_t length, int milliseconds)
{
    Entered entered(dev);
    State& s = state();
    std::unique_lock<std::mutex> lock(s.mutex);
    if (dev == nullptr || data == nullptr) {
        return -1;
    }
    // Counted also for a dead handle: tests see how often a thread asks.
    if (Device* known = s.find(dev->deviceId)) {
        ++known->readsEntered;
        if (s.readWatchers > 0) {
            s.changed.notify_all();
        }
    }
    Device* d = liveDevice(s, dev);
    if (d == nullptr) {
        return -1;
    }
    const Clock::time_point start = Clock::now();
    const Clock::time_point deadline = milliseconds < 0
                                           ? Clock::time_point::max()
                                           : start + std::chrono::milliseconds(milliseconds);
    for (;;) {
        d = liveDevice(s, dev);
        if (d == nullptr) {
            return -1;
        }
        d->flushQuietMessage(Clock::now());
        if (!d->input.empty()) {
            const int n = deliver(*d, data, length);
            d->nextIdle = Clock::now() + std::chrono::milliseconds(d->idleMs);
            return n;
        }
        if (d->holdReads) {
            if (d->releasedReads > 0) {
                --d->releasedReads;
                return 0;
            }
            // A test that forgets to end its hold must not hang for ever.
            if (Clock::now() - start > std::chrono::seconds(10)) {
                return 0;
            }
            s.changed.wait_for(lock, std::chrono::milliseconds(100));
            continue;
        }
        const Clock::time_point now = Clock::now();
        if (d->idleMs > 0 && now >= d->nextIdle) {
            d->queueIdleReport();
            continue;
        }
        if (now >= deadline) {
            return 0;
        }
        Clock::time_point wake = deadline;
        if (d->idleMs > 0) {
            wake = std::min(wake, d->nextIdle);
        }
        if (d->parser.MessagePending()) {
            wake = std::min(wake, now + std::chrono::milliseconds(
                                            tessaron::test::KeypadCommandParser::QuietGapMs));
        }
        s.changed.wait_until(lock, wake);
    }
}

int hid_read(hid_device* dev, unsigned char* data, size_t length)
{
    return hid_read_timeout(dev, data, length, -1);
}

int hid_set_nonblocking(hid_device*, int)
{
    return 0;
}

int hid_send_feature_report(hid_device* dev, const unsigned char* data, size_t length)
{
    Entered entered(dev);
    State& s = state();
    std::lock_guard<std::mutex> lock(s.mutex);
    Device* d = liveDevice(s, dev);
    if (d == nullptr || data == nullptr) {
        return -1;
    }
    d->features.emplace_back(data, data + length);
    s.changed.notify_all();
    return static_cast<int>(length);
}

int hid_get_feature_report(hid_device* dev, unsigned char* data, size_t length)
{
    Entered entered(dev);
    State& s = state();
    std::lock_guard<std::mutex> lock(s.mutex);
    Device* d = liveDevice(s, dev);
    if (d == nullptr || data == nullptr || length == 0) {
        return -1;
    }
    ++d->featureReads;
    const int reportId = data[0];
    std::memset(data, 0, length);
    data[0] = static_cast<unsigned char>(reportId);
    if (length > 1) {
        data[1] = d->features.empty() || d->features.back().size() < 2 ? 0 : d->features.back()[1];
    }
    s.changed.notify_all();
    return static_cast<int>(length);
}

void hid_close(hid_device* dev)
{
    if (dev == nullptr) {
        return;
    }
    State& s = state();
    {
        Entered entered(dev);
        std::lock_guard<std::mutex> lock(s.mutex);
        if (Device* d = liveDevice(s, dev)) {
            --d->openHandles;
            d->parser.Flush();
            if (d->openHandles == 0) {
                d->input.clear(); // hidraw keeps reports per open, not for the next one
            }
            s.changed.notify_all();
        }
    }
    delete dev;
}

const wchar_t* hid_error(hid_device* dev)
{
    Entered entered(dev);
    if (dev != nullptr) {
        return dev->error.empty() ? nullptr : dev->error.c_str();
    }
    State& s = state();
    std::lock_guard<std::mutex> lock(s.mutex);
    return s.globalError.empty() ? nullptr : s.globalError.c_str();
}

int hid_get_manufacturer_string(hid_device*, wchar_t* string, size_t maxlen)
{
    if (string != nullptr && maxlen > 0) {
        std::wcsncpy(string, L"Tessaron", maxlen);
        string[maxlen - 1] = L'\0';
    }
    return 0;
}

int hid_get_product_string(hid_device*, wchar_t* string, size_t maxlen)
{
    if (string != nullptr && maxlen > 0) {
        std::wcsncpy(string, L"Simulated keypad", maxlen);
        string[maxlen - 1] = L'\0';
    }
    return 0;
}

} // extern "C"

#include "UsbIdentity.h"

#include "common/AtomicFile.h"

#include <cstdio>
#include <filesystem>
#include <string_view>

namespace tessaron {

namespace fs = std::filesystem;

namespace {

constexpr std::string_view DevFolder = "/dev/";

// "hidraw3" for "/dev/hidraw3", "" for anything else.
std::string hidrawNodeName(const std::string& path)
{
    if (path.compare(0, DevFolder.size(), DevFolder) != 0) {
        return {};
    }
    const std::string name = path.substr(DevFolder.size());
    if (name.compare(0, 6, "hidraw") != 0 || name.size() == 6 ||
        name.find('/') != std::string::npos) {
        return {};
    }
    return name;
}

std::string ueventValue(const std::string& text, std::string_view key)
{
    size_t start = 0;
    while (start < text.size()) {
        size_t end = text.find('\n', start);
        if (end == std::string::npos) {
            end = text.size();
        }
        const std::string_view line(text.data() + start, end - start);
        if (line.size() > key.size() && line.compare(0, key.size(), key) == 0 &&
            line[key.size()] == '=') {
            return std::string(line.substr(key.size() + 1));
        }
        start = end + 1;
    }
    return {};
}

// A USB interface is named "<bus>-<port path>:<configuration>.<interface>".
bool looksLikeUsbInterface(const std::string& name)
{
    const size_t dash = name.find('-');
    const size_t colon = name.find(':');
    return dash != std::string::npos && colon != std::string::npos && dash < colon &&
           name.find('.', colon) != std::string::npos;
}

} // namespace

std::string UsbIdentityOf(const std::string& sysfsRoot, const std::string& path)
{
    const std::string node = hidrawNodeName(path);
    if (node.empty()) {
        return path;
    }
    const std::string device = sysfsRoot + "/class/hidraw/" + node + "/device";
    std::string uevent;
    if (ReadWholeFile(device + "/uevent", uevent)) {
        std::string phys = ueventValue(uevent, "HID_PHYS");
        if (!phys.empty()) {
            return phys;
        }
    }
    std::error_code error;
    const fs::path resolved = fs::canonical(device, error);
    if (!error) {
        const std::string usbInterface = resolved.parent_path().filename().string();
        if (looksLikeUsbInterface(usbInterface)) {
            return "usb-" + usbInterface;
        }
    }
    return path;
}

bool HidNodeIds(const std::string& sysfsRoot, const std::string& node, unsigned& vendorId,
                unsigned& productId)
{
    const std::string name = hidrawNodeName(node);
    std::string uevent;
    if (name.empty() ||
        !ReadWholeFile(sysfsRoot + "/class/hidraw/" + name + "/device/uevent", uevent)) {
        return false;
    }
    unsigned bus = 0;
    return std::sscanf(ueventValue(uevent, "HID_ID").c_str(), "%x:%x:%x", &bus, &vendorId,
                       &productId) == 3;
}

std::string FindHidNode(const std::string& sysfsRoot, const std::string& identity)
{
    std::error_code error;
    for (fs::directory_iterator it(sysfsRoot + "/class/hidraw", error), end; !error && it != end;
         it.increment(error)) {
        const std::string node = std::string(DevFolder) + it->path().filename().string();
        if (hidrawNodeName(node).empty()) {
            continue;
        }
        if (UsbIdentityOf(sysfsRoot, node) == identity) {
            return node;
        }
    }
    return identity;
}

} // namespace tessaron

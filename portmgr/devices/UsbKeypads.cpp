#include "UsbKeypads.h"

#include "KeypadLock.h"
#include "PortManager.h"
#include "UsbIdentity.h"

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <string>
#include <system_error>
#include <unistd.h>
#include <vector>

namespace tessaron {

namespace {

constexpr int FeatureReportSize = 6;
constexpr int FeatureWaitMs = 50;
constexpr int CloseWaitMs = 100;

// hidapi keeps errno from the failed open(); a library that does not is asked
// about the node itself.
bool permissionRefused(int error, const char* node)
{
    if (error == EACCES || error == EPERM) {
        return true;
    }
    return ::access(node, R_OK | W_OK) != 0 && (errno == EACCES || errno == EPERM);
}

// Whether the device at node is a keypad: sysfs's IDs of a hidraw node, else
// hidapi's listing (a path that is no hidraw node, as the simulated keypads
// have). A keypad's socket may hold any other HID device later.
bool isKeypadNode(TPortManager& pm, const std::string& node)
{
    unsigned vendor = 0;
    unsigned product = 0;
    if (HidNodeIds(pm.SysfsRoot, node, vendor, product)) {
        return vendor == KeypadVendorId && product == KeypadProductId;
    }
    hid_device_info* devices = pm.Hid.Enumerate(KeypadVendorId, KeypadProductId);
    bool found = false;
    for (hid_device_info* d = devices; d != nullptr && !found; d = d->next) {
        found = d->path != nullptr && node == d->path && d->vendor_id == KeypadVendorId &&
                d->product_id == KeypadProductId;
    }
    pm.Hid.FreeEnumeration(devices);
    return found;
}

} // namespace

std::string UsbPermissionMessage(const std::string& node)
{
    return "Permission denied opening the USB keypad at " + node +
           ". Install the udev rule udev/70-tessaron-keypad.rules as README.md describes "
           "(\"Keypad access\"), then unplug the keypad and plug it in again.";
}

bool LoadHidLibraries(TPortManager& pm)
{
    if (pm.Hid.Loaded()) {
        return false;
    }
    const char* name = std::getenv("TESSARON_HIDAPI");
    return pm.Hid.Load((name != nullptr && *name != '\0') ? name : THidLibrary::DefaultName);
}

void UnloadHidLibraries(TPortManager& pm)
{
    // The threads of an open USB keypad call into the library.
    for (int i = 0; i < MaxKeypads; ++i) {
        const TKeypadSlot& s = pm.KeypadSlots[i];
        if (s.Handle && s.Handle->IsHid()) {
            CloseSlot(pm, i, 0);
        }
    }
    pm.JoinRetired();
    pm.Hid.Unload();
}

void ListUsbKeypads(TPortManager& pm)
{
    if (!pm.Hid.Loaded() || FilledSlots(pm) >= MaxKeypads) {
        return;
    }
    hid_device_info* devices = pm.Hid.Enumerate(KeypadVendorId, KeypadProductId);
    // hidapi lists a device once for each of its top-level collections.
    std::vector<std::string> seenNodes;
    std::vector<std::string> seenIdentities;
    for (hid_device_info* d = devices; d != nullptr && FilledSlots(pm) < MaxKeypads; d = d->next) {
        if (d->path == nullptr || d->vendor_id != KeypadVendorId ||
            d->product_id != KeypadProductId) {
            continue;
        }
        const std::string node = d->path;
        if (std::find(seenNodes.begin(), seenNodes.end(), node) != seenNodes.end()) {
            continue;
        }
        seenNodes.push_back(node);
        const std::string identity = UsbIdentityOf(pm.SysfsRoot, node);
        if (identity.empty() || identity.size() > static_cast<size_t>(MaxDevicePath) ||
            std::find(seenIdentities.begin(), seenIdentities.end(), identity) !=
                seenIdentities.end()) {
            continue; // an identity cut to fit would be another keypad's
        }
        // Opening tells whether the keypad can be used. One that the user may
        // not open is listed all the same, so that the user learns why.
        std::string problem;
        errno = 0;
        hid_device* device = pm.Hid.OpenPath(node.c_str());
        if (device == nullptr) {
            if (!permissionRefused(errno, node.c_str())) {
                continue;
            }
            problem = UsbPermissionMessage(node);
        } else {
            pm.Hid.Calls()->Close(device);
        }
        for (TKeypadSlot& s : pm.KeypadSlots) {
            if (s.Flags == 0) {
                SetDevicePath(s, identity);
                s.Flags = SlotPresent;
                s.LastError = problem;
                break;
            }
        }
        seenIdentities.push_back(identity);
    }
    pm.Hid.FreeEnumeration(devices);
}

bool UsbKeypadsAttached(TPortManager& pm)
{
    hid_device_info* devices = pm.Hid.Enumerate(KeypadVendorId, KeypadProductId);
    const bool any = devices != nullptr;
    pm.Hid.FreeEnumeration(devices);
    return any;
}

bool OpenUsbKeypad(TPortManager& pm, int slot)
{
    if (!ValidSlot(slot)) {
        return true;
    }
    TKeypadSlot& s = pm.KeypadSlots[slot];
    if ((s.Flags & (SlotRs232 | SlotCdc)) || s.DevicePath[0] == '\0' || (s.Flags & SlotOpen)) {
        return true;
    }
    if (!pm.Hid.Loaded()) {
        return true;
    }
    // The node changes on every replug; the identity does not.
    const std::string node = FindHidNode(pm.SysfsRoot, s.DevicePath);
    if (!isKeypadNode(pm, node)) {
        s.Handle.reset();
        return true; // absent, or another device in the keypad's place
    }
    std::unique_ptr<SingleInstanceLock> lock = LockKeypad(s.DevicePath, s.InUseElsewhere);
    if (s.InUseElsewhere) {
        s.Handle.reset();
        return true;
    }
    errno = 0;
    hid_device* device = pm.Hid.OpenPath(node.c_str());
    if (device == nullptr) {
        const int error = errno;
        s.Handle.reset();
        if (permissionRefused(error, node.c_str())) {
            s.LastError = UsbPermissionMessage(node);
        }
        return true;
    }
    s.LastError.clear();
    // A second open for writes and feature reports (see TDeviceHandle).
    hid_device* writer = pm.Hid.OpenPath(node.c_str());
    std::unique_ptr<TDeviceHandle> handle = TDeviceHandle::ForHid(device, writer, pm.Hid.Calls());
    if (!handle) {
        return true;
    }
    handle->AdoptLock(std::move(lock));
    if (!StartSlotThreads(pm, s, std::move(handle), LinkUsb)) {
        return true;
    }
    SendPortNumber(pm, slot);
    ReadFeature(pm, slot);
    return false;
}

void CloseKeypad(TPortManager& pm, int slot)
{
    CloseSlot(pm, slot, CloseWaitMs);
}

void SendPortNumber(TPortManager& pm, int slot)
{
    if (!ValidSlot(slot)) {
        return;
    }
    TKeypadSlot& s = pm.KeypadSlots[slot];
    if (!(s.Flags & SlotOpen) || (s.Flags & (SlotRs232 | SlotCdc)) || !s.Handle ||
        !s.Handle->IsHid()) {
        return;
    }
    unsigned char report[FeatureReportSize] = {};
    report[0] = 0x00; // report ID
    report[1] = static_cast<unsigned char>(s.ComPort & 0xFF);
    s.Handle->SendFeature(report, sizeof report); // a refused report is ignored
    pm.SleepMs(FeatureWaitMs);
}

void ReadFeature(TPortManager& pm, int slot)
{
    if (!ValidSlot(slot)) {
        return;
    }
    TKeypadSlot& s = pm.KeypadSlots[slot];
    if (!s.Handle || !s.Handle->IsHid()) {
        return;
    }
    unsigned char report[FeatureReportSize] = {};
    s.Handle->GetFeature(report, sizeof report);
}

} // namespace tessaron

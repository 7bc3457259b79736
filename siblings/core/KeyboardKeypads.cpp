#include "KeyboardKeypads.h"

#include "portmgr/devices/PortManager.h"
#include "portmgr/devices/UsbIdentity.h"
#include "portmgr/devices/UsbKeypads.h"

#include <algorithm>

namespace tessaron {

namespace {

constexpr unsigned short GenericDesktopPage = 0x01;
constexpr unsigned short KeyboardUsage = 0x06;

} // namespace

std::vector<std::string> ListKeyboardKeypads(std::string& error)
{
    std::vector<std::string> identities;
    error.clear();
    TPortManager pm;
    if (LoadHidLibraries(pm)) {
        error = pm.Hid.Error();
        return identities;
    }
    hid_device_info* devices = pm.Hid.Enumerate(KeypadVendorId, KeypadProductId);
    for (hid_device_info* d = devices; d != nullptr; d = d->next) {
        if (d->path == nullptr || d->vendor_id != KeypadVendorId ||
            d->product_id != KeypadProductId || d->usage_page != GenericDesktopPage ||
            d->usage != KeyboardUsage) {
            continue;
        }
        const std::string identity = UsbIdentityOf(pm.SysfsRoot, d->path);
        if (std::find(identities.begin(), identities.end(), identity) == identities.end()) {
            identities.push_back(identity);
        }
    }
    pm.Hid.FreeEnumeration(devices);
    return identities;
}

} // namespace tessaron

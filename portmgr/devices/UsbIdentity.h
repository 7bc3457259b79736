#pragma once

#include <string>

namespace tessaron {

// A USB keypad's identity has to stay the same while the keypad stays on the
// same USB port, across replugs and reboots, since saved port assignments
// follow it. hidraw's node (/dev/hidrawN) is numbered afresh on every replug, so
// the identity is the kernel's physical name of the HID device (HID_PHYS in its
// uevent, "usb-<controller>-<port path>/input<interface>"), or, when the kernel
// gives none, "usb-" and the name of the USB interface it sits on
// ("usb-1-1.2:1.0"). A path that is no hidraw node known to sysfs is its own
// identity.
//
// sysfsRoot is normally "/sys"; tests use a folder laid out the same way
// (class/hidraw/<node>/device/uevent, device being a link into devices/).
std::string UsbIdentityOf(const std::string& sysfsRoot, const std::string& path);

// The hidraw node that carries identity now ("/dev/hidraw7"), or identity itself
// when no node does (it may then be a path that hidapi opens directly).
std::string FindHidNode(const std::string& sysfsRoot, const std::string& identity);

// The vendor and product ID of a hidraw node from sysfs (HID_ID in the HID
// device's uevent, "bus:vendor:product" in hexadecimal). False when sysfs does
// not know the node.
bool HidNodeIds(const std::string& sysfsRoot, const std::string& node, unsigned& vendorId,
                unsigned& productId);

} // namespace tessaron

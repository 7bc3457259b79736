#include "PortAssignments.h"

#include "PortManager.h"
#include "portmgr/io/SerialLine.h"

#include "common/IniFile.h"
#include "common/SuiteFolder.h"

namespace tessaron {

namespace {

constexpr const char* AppSection = "Application";
constexpr const char* PortSection = "Port Settings";

std::string portKey(int index)
{
    return "COM_Assignment_" + std::to_string(index + 1);
}

std::string identityKey(int index)
{
    return "GUID_" + std::to_string(index + 1);
}

int findIdentity(const TPortManager& pm, std::string_view identity)
{
    if (identity.empty()) {
        return -1;
    }
    for (int i = 0; i < MaxKeypads; ++i) {
        const std::string& stored = pm.PortAssignments[i].Identity;
        if (!stored.empty() && stored == identity) {
            return i;
        }
    }
    return -1;
}

} // namespace

std::string SettingsPath()
{
    return SuitePath("Corvandelle.ini");
}

void LoadSettings(TPortManager& pm)
{
    const IniFile ini(SettingsPath());
    pm.RetryOnVComFail = ini.readBool(AppSection, "RetryOnVComFail", true);
    for (int i = 0; i < MaxKeypads; ++i) {
        TPortAssignment& a = pm.PortAssignments[i];
        int port = ini.readInt(PortSection, portKey(i), 0);
        std::string identity = ini.readString(PortSection, identityKey(i), "");
        if (identity.size() > static_cast<size_t>(MaxDevicePath)) {
            identity.clear();
            port = 0;
        }
        if (port < 0 || port > MaxComPorts) {
            port = 0;
        }
        a.ComPort = port;
        a.Identity = std::move(identity);
    }
}

void SavePortSettings(TPortManager& pm)
{
    IniFile ini(SettingsPath());
    for (int i = 0; i < MaxKeypads; ++i) {
        ini.writeInt(PortSection, portKey(i), pm.PortAssignments[i].ComPort);
        ini.writeString(PortSection, identityKey(i), pm.PortAssignments[i].Identity);
    }
    ini.save();
}

void SaveAppSettings(TPortManager& pm)
{
    IniFile ini(SettingsPath());
    ini.writeBool(AppSection, "RetryOnVComFail", pm.RetryOnVComFail);
    ini.save();
}

int FindAssignedPort(const TPortManager& pm, std::string_view identity)
{
    const int i = findIdentity(pm, identity);
    return i < 0 ? 0 : pm.PortAssignments[i].ComPort;
}

int ClaimAssignment(TPortManager& pm, std::string_view identity)
{
    const int i = findIdentity(pm, identity);
    if (i >= 0) {
        pm.PortAssignments[i].InUse = true;
    }
    return i;
}

void PlaceRememberedKeypads(TPortManager& pm, bool present)
{
    for (const TPortAssignment& a : pm.PortAssignments) {
        if (a.ComPort == 0 || a.InUse || a.Identity.empty()) {
            continue;
        }
        // Attached, or the same identity twice in the file: one slot is enough.
        bool placed = false;
        for (const TKeypadSlot& s : pm.KeypadSlots) {
            placed = placed || DevicePathOf(s) == a.Identity;
        }
        if (placed) {
            continue;
        }
        for (TKeypadSlot& s : pm.KeypadSlots) {
            if (s.Flags == 0 && s.DevicePath[0] == '\0') {
                if (SetDevicePath(s, a.Identity) && present) {
                    s.Flags = SlotPresent;
                    s.ComPort = FindAssignedPort(pm, a.Identity);
                    ClaimAssignment(pm, a.Identity);
                }
                break;
            }
        }
    }
}

namespace {

enum class TStore
{
    Refused,
    Unchanged,
    Changed,
};

// StoreAssignment on the table alone, nothing saved.
TStore storeInTable(TPortManager& pm, int port, std::string_view identity)
{
    if (identity.empty() || port < 0 || port > MaxComPorts ||
        identity.size() > static_cast<size_t>(MaxDevicePath)) {
        return TStore::Refused;
    }
    auto& table = pm.PortAssignments;
    if (port == 0) {
        const int i = findIdentity(pm, identity);
        if (i < 0) {
            return TStore::Refused;
        }
        table[i].ComPort = 0;
        table[i].Identity.clear();
        return TStore::Changed;
    }
    for (const TPortAssignment& a : table) {
        if (a.ComPort == port) {
            // The first entry holding the port decides: already so, or another keypad's.
            return a.Identity == identity ? TStore::Unchanged : TStore::Refused;
        }
    }
    const int own = findIdentity(pm, identity);
    if (own >= 0) {
        if (table[own].ComPort != 0) {
            return TStore::Refused; // the keypad has another port: remove that one first
        }
        table[own].ComPort = port;
        return TStore::Changed;
    }
    for (TPortAssignment& a : table) {
        if (a.Identity.empty()) {
            a.ComPort = port;
            a.Identity = std::string(identity);
            return TStore::Changed;
        }
    }
    for (TPortAssignment& a : table) {
        if (a.ComPort == 0) {
            a.ComPort = port;
            a.Identity = std::string(identity);
            return TStore::Changed;
        }
    }
    return TStore::Refused;
}

} // namespace

int StoreAssignment(TPortManager& pm, int port, std::string_view identity)
{
    const TStore result = storeInTable(pm, port, identity);
    if (result == TStore::Changed) {
        SavePortSettings(pm);
    }
    return result == TStore::Refused ? 1 : 0;
}

int MoveAssignment(TPortManager& pm, int port, std::string_view identity)
{
    if (identity.empty() || identity.size() > static_cast<size_t>(MaxDevicePath) || port < 0 ||
        port > MaxComPorts) {
        return 1;
    }
    if (FindAssignedPort(pm, identity) == port) {
        return 0; // already so (port 0: no port to remove)
    }
    const auto before = pm.PortAssignments;
    storeInTable(pm, 0, identity);
    if (port != 0 && storeInTable(pm, port, identity) == TStore::Refused) {
        pm.PortAssignments = before;
        return 1;
    }
    SavePortSettings(pm);
    return 0;
}

void ComputeAvailablePorts(TPortManager& pm)
{
    pm.PortAvailable[0] = true;
    for (int n = 1; n <= MaxComPorts; ++n) {
        bool available = !RealPortExists(n);
        for (const TPortAssignment& a : pm.PortAssignments) {
            if (a.ComPort == n) {
                available = false;
            }
        }
        pm.PortAvailable[n] = available;
    }
    for (int n = 1; n <= MaxComPorts; ++n) {
        if (pm.SerialKeypadPorts[n - 1]) {
            pm.PortAvailable[n] = false;
        }
    }
}

bool RealPortExists(int n)
{
    TSerialPort port;
    return OpenComPort(n, port) == 0;
}

} // namespace tessaron

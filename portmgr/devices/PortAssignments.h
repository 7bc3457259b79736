#pragma once

#include <string>
#include <string_view>

namespace tessaron {

class TPortManager;

// The remembered port assignments and "Corvandelle.ini" in the suite folder:
//   [Application]   RetryOnVComFail=1|0
//   [Port Settings] COM_Assignment_1..6 (port, 0 = none), GUID_1..6 (identity)
// Identities compare exactly, byte by byte.

std::string SettingsPath();

// Reads RetryOnVComFail and the six entries; InUse is left alone. An entry whose
// identity cannot be a DevicePath (over 259 characters) is read as free, and a
// port outside 0 to 16 as no port: no virtual port could carry it.
void LoadSettings(TPortManager& pm);
// Write all six entries (port, identity, in that order) or RetryOnVComFail.
// Throw FileWriteError("Unable to write to <path>"); the table keeps its values.
void SavePortSettings(TPortManager& pm);
void SaveAppSettings(TPortManager& pm);

// The port of the first entry whose non-empty identity equals identity; 0 if none.
int FindAssignedPort(const TPortManager& pm, std::string_view identity);
// The same search; marks the entry InUse and returns its index, or -1.
int ClaimAssignment(TPortManager& pm, std::string_view identity);
// Remembered keypads that are not attached now: each takes the first free
// slot (Flags 0, no DevicePath) with its identity, so that it can be shown or
// bridged; one that finds no free slot is left out, and the slots of attached
// keypads are never taken over. present: the slot is also SlotPresent with
// the remembered port, and the entry is claimed (bridging makes the port and
// opens the keypad when it comes); otherwise only DevicePath is set.
void PlaceRememberedKeypads(TPortManager& pm, bool present);
// Stores (port 1 to 16) or removes (port 0) an assignment, saving each change
// at once. Returns 0 when the table then holds the wanted state, 1 when refused.
int StoreAssignment(TPortManager& pm, int port, std::string_view identity);
// A keypad's port changed at once (port 0: removed): its old assignment goes
// and the new one is stored in one save, so the file holds the old state or
// the new one, never the keypad without a port in between. Returns 0 when the
// table then holds the wanted state (nothing is saved when it did already), 1
// when refused, changing nothing: the port is another keypad's, the table is
// full, the identity or the port is no valid one.
int MoveAssignment(TPortManager& pm, int port, std::string_view identity);

// Fills PortAvailable: "Not Assigned" always; COMn unless it is a real port, an
// entry holds it or a serial keypad answered on it.
void ComputeAvailablePorts(TPortManager& pm);
// Whether ports/COMn opens as a character device (a port held by another
// program counts as not existing).
bool RealPortExists(int n);

} // namespace tessaron

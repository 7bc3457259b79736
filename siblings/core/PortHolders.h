#pragma once

// STAND-IN: these answers belong to portmgr (the serial probe needs the same
// ones). Until it offers them, this small version serves the sibling programs;
// it is to be replaced by portmgr's functions, not grown.

#include <string>
#include <sys/types.h>
#include <vector>

namespace tessaron {

struct TPortHolder
{
    long Pid = 0;
    std::string Program; // the process's command name
};

// The other processes that hold the character device open (found the way
// fuser finds them, through /proc/<pid>/fd). A process that holds the master
// of a pseudo-terminal is its device side (a bridge, a simulated keypad), not a
// program using the port, and is not listed. Processes of other users stay
// unseen without privileges.
std::vector<TPortHolder> ProcessesHoldingDevice(const std::string& devicePath);

// The owner marker of ports/COMn (ports/.COMn.owner): the process that made
// the link and the terminal it links to. False when there is none.
struct TPortOwner
{
    long Pid = 0;
    unsigned long long StartTime = 0;
    std::string Slave;
    bool Alive = false;  // the same process (pid and start time) still runs
    std::string Program; // its command name, when alive
};
bool ReadPortOwner(int n, TPortOwner& owner);

} // namespace tessaron

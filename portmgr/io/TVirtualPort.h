#pragma once

#include <cstdint>
#include <string>

namespace tessaron {

// One virtual COM port: a pseudo-terminal whose slave is linked as
// ports/COMn in the suite folder. A host application opens the link like a
// serial port; what it writes waits on the master until Read takes it, and what
// Write puts on the master the host reads. The slave starts in raw mode: no
// echo, no line editing, no CR/LF translation.
//
// Every link a port makes is recorded by an owner marker next to it
// (ports/.COMn.owner: process id, its start time, the slave's path), so that
// ResetBus can tell a leftover of a run that died from a user's own link to a
// real device, and never touches the latter. Links and markers change only
// under the lock over ports/ (TPortsLock), and in an order that leaves a pair
// ResetBus recognises wherever a run is killed.
//
// A host that leaves the terminal in exclusive mode does not lock out the next
// one: the port is then made afresh under the same link.
//
// Not thread-safe: a port is used from one thread (the main thread).
class TVirtualPort
{
public:
    TVirtualPort() = default;
    ~TVirtualPort();
    TVirtualPort(const TVirtualPort&) = delete;
    TVirtualPort& operator=(const TVirtualPort&) = delete;

    // Creates the port "COM1" to "COM16". Fails (false, LastError set) for any
    // other name, when this object already holds a port, when ports/COMn
    // exists in any form (a file, a user's link, a dangling link), or when
    // ports/ may be changed by another user (see TPortsLock).
    bool CreatePort(const std::string& name);
    bool PortCreated() const { return m_master >= 0; }

    // Removes the link and its marker (only if they are still this port's) and
    // closes the pseudo-terminal. Harmless when nothing was created.
    void Delete();

    // Makes the port afresh under the same link: a new pseudo-terminal, its
    // marker, then the link. What the last host wrote and Read has not taken
    // yet moves along. False (the port as it was) when it cannot.
    bool Renew();

    // Hands bytes to the host. Without a host holding the port open they are
    // dropped, so that a host opening later never sees stale data; a host that
    // does not read loses what no longer fits. Returns the bytes delivered.
    int Write(const std::uint8_t* bytes, int count);

    // Bytes the host has written that Read has not taken yet.
    int BytesPending();

    // Takes up to count of the host's bytes; returns how many were placed.
    int Read(std::uint8_t* buffer, int count);

    // True while some process holds the slave open.
    bool PortOpened();

    // Asks the kernel about all ports in one call, for a caller that visits
    // many ports in a row (the bridge pump, every 5 ms): the next PortOpened()
    // and the next BytesPending() of each port answer from this snapshot
    // instead of asking again. Null entries are skipped.
    static void PollPorts(TVirtualPort* const* ports, int count);

    // The master's descriptor, for poll()ing it for the host's bytes.
    int PollFd() const { return m_master; }

    const std::string& Name() const { return m_name; }
    // ports/COMn and the slave device it points at.
    const std::string& LinkPath() const { return m_link; }
    const std::string& SlavePath() const { return m_slave; }
    const std::string& LastError() const { return m_error; }

    // Removes what earlier runs left behind in ports/: each link recorded by an
    // owner marker whose process is gone (and that still points where the
    // marker says), and every stale marker. Links of live ports, of other live
    // processes, and any link without a marker are left alone, and so is a
    // ports/ that TPortsLock refuses. Returns the number of links removed.
    static int ResetBus();

    // The marker file that records the owner of ports/<name>.
    static std::string MarkerPath(const std::string& name);

    // Whether ports/<name> is a virtual port that a run of the suite made (the
    // link still points where its owner marker says), and in alive whether that
    // run still lives. Such a link is never a serial device: a live bridge's
    // host would be disturbed, and a dead run's may point at a stranger's
    // terminal by now.
    static bool IsVirtualPortLink(const std::string& name, bool& alive);

private:
    void fail(const std::string& what, int error);
    void discardHostBound();
    void noteAttached(bool attached);

    // What the last PollPorts saw, until PortOpened or BytesPending used it.
    bool m_openedSnapshot = false;
    bool m_pendingSnapshot = false;
    bool m_snapshotAttached = false;
    bool m_snapshotReadable = false;

    int m_master = -1;
    // Host bytes of a pseudo-terminal that was replaced, still to be read.
    std::string m_holdover;
    bool m_hostAttached = false;
    std::string m_name;
    std::string m_link;
    std::string m_slave;
    std::string m_error;
};

} // namespace tessaron

#pragma once

#include <string>
#include <sys/types.h>

namespace tessaron {

// UUCP lock files: how serial programs of any user (minicom, cu, gpsd,
// ModemManager, ...) tell each other that they hold a device. A file
// "LCK..<device>" in /run/lock (the device's path below /dev, '/' written as
// '_': LCK..ttyUSB0, LCK..pts_3) holds the holder's process id, in ASCII
// ("%10d\n", the HDB form, sometimes followed by more) or, from old programs,
// as a binary int. Some programs name the lock by the last part of the path
// they opened (a /dev/serial/by-id/ name), or in the SVR4 form
// LK.<file system>.<major>.<minor>; those are honoured too.
//
// A lock that names a live process means the device is in use, whoever's the
// process is; one whose process is gone is stale, ignored and left where it is
// (it is its owner's to remove). TESSARON_UUCP_LOCK_DIR names another folder,
// for tests.
class TUucpLock
{
public:
    TUucpLock() = default;
    ~TUucpLock() { Release(); }
    TUucpLock(TUucpLock&& other) noexcept : m_path(std::move(other.m_path))
    {
        other.m_path.clear();
    }
    TUucpLock& operator=(TUucpLock&& other) noexcept;
    TUucpLock(const TUucpLock&) = delete;
    TUucpLock& operator=(const TUucpLock&) = delete;

    // The live process that holds a lock on the device node device
    // (/dev/ttyUSB0) under any of its names, also those of the path it was
    // reached by (reachedBy: a /dev/serial/by-id/ link's text, or ""): its pid,
    // -1 for a lock that cannot be read (taken to be held), 0 when none. The
    // lock file's name goes to lockFile (if given).
    static pid_t Holder(const std::string& device, const std::string& reachedBy,
                        std::string* lockFile = nullptr);

    // Takes this process's lock on device: created exclusively, readable by
    // everyone, in the HDB form. False, with holder (and lockFile) set as by
    // Holder, when a live process holds one. True otherwise, also when no lock
    // can be made (the folder is not writable, which it is not for ordinary
    // users on some systems, or a stale lock is in the way): the device is then
    // used without one.
    bool Take(const std::string& device, const std::string& reachedBy, pid_t& holder,
              std::string* lockFile = nullptr);
    // Removes the lock file this object made, if it still names this process.
    void Release();
    bool Taken() const { return !m_path.empty(); }

    // /run/lock, or the folder TESSARON_UUCP_LOCK_DIR names.
    static std::string Folder();
    // Whether pid names a running process: also one of another user, which
    // may not be signalled (EPERM).
    static bool ProcessAlive(pid_t pid);

private:
    std::string m_path;
};

} // namespace tessaron

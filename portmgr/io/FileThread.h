#pragma once

#include <atomic>
#include <condition_variable>
#include <mutex>
#include <thread>

namespace tessaron {

class TDeviceHandle;

// Link kinds of a keypad, as the characters the keypads themselves use.
enum : char
{
    LinkUsb = 'U',   // USB keypad: data framed in 9-byte HID reports
    LinkRs232 = 'R', // serial keypad on a DB9 port: raw bytes
    LinkCdc = 'v',   // serial keypad connected as a USB CDC port: raw bytes
};

// A worker thread on a keypad's open device. It uses the device but does not
// own it: the slot closes it, after Join().
//
// The thread's event is an eventfd, so that a serial read can poll() the port
// and the event together; it is auto-reset (a wait consumes it) and is signalled
// by Queue and by Stop.
class TFileThread
{
public:
    virtual ~TFileThread();
    TFileThread(const TFileThread&) = delete;
    TFileThread& operator=(const TFileThread&) = delete;

    // Requests termination and signals the event; the loop ends at its next check
    // (a USB read waits at most 50 ms). Safe to call more than once.
    void Stop();
    // Waits until the loop has ended. Stop() first, or this waits forever.
    void Join();
    // Joins when the loop ends within milliseconds; false when it is still
    // running then (a device that stopped answering in the middle of a call).
    bool JoinWithin(int milliseconds);

    bool Terminated() const { return m_terminated.load(std::memory_order_acquire); }
    char Kind() const { return m_kind; }
    TDeviceHandle* Handle() const { return m_handle; }
    // "USB Read Thread" and so on; the system's thread name is this name cut
    // to the 15 characters that Linux allows.
    const char* Name() const { return m_name; }
    const char* SystemName() const { return m_systemName; }
    std::thread::native_handle_type NativeHandle() { return m_thread.native_handle(); }

protected:
    // writer: a write thread, else a read thread (for the names). Throws
    // std::system_error when the event cannot be created.
    TFileThread(TDeviceHandle* handle, char kind, bool writer);

    // Starts the thread; each subclass calls it at the end of its constructor,
    // once the object is complete.
    void Start();
    virtual void Execute() = 0;

    void Signal();
    // Waits for the event at most milliseconds (-1: without limit) and resets it;
    // true when it was signalled.
    bool WaitEvent(int milliseconds);
    // Sleeps milliseconds, ending early only when termination is requested.
    void Pause(int milliseconds);
    int EventFd() const { return m_event; }
    // Set once termination is requested, for a wait that ends early then.
    const std::atomic<bool>& TerminationFlag() const { return m_terminated; }

private:
    void Run();

    TDeviceHandle* m_handle;
    char m_kind;
    const char* m_name;
    const char* m_systemName;
    int m_event = -1;
    std::atomic<bool> m_terminated{false};
    std::mutex m_endLock;
    std::condition_variable m_endChanged;
    bool m_ended = false;
    std::thread m_thread;
};

} // namespace tessaron

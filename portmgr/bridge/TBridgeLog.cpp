#include "TBridgeLog.h"

#include <ostream>

namespace tessaron {

void TBridgeLog::BridgingStarted()
{
    if (m_out != nullptr) {
        *m_out << "Corvandelle (Running)" << std::endl;
    }
}

void TBridgeLog::BridgingStopped()
{
    if (m_out != nullptr) {
        *m_out << "Corvandelle (Stopped)" << std::endl;
    }
}

void TBridgeLog::PortCreated(int slot, const std::string& name)
{
    if (m_out != nullptr) {
        *m_out << name << " created (keypad #" << slot + 1 << ")" << std::endl;
    }
}

void TBridgeLog::PortFailed(int slot, const std::string& name, const std::string& reason)
{
    if (m_out != nullptr) {
        *m_out << name << " could not be created (keypad #" << slot + 1 << ")"
               << (reason.empty() ? "" : ": ") << reason << std::endl;
    }
}

void TBridgeLog::PortDeleted(int, const std::string& name)
{
    if (m_out != nullptr) {
        *m_out << name << " deleted" << std::endl;
    }
}

void TBridgeLog::KeypadOpened(int slot, const std::string& identity)
{
    if (m_out != nullptr) {
        *m_out << "keypad #" << slot + 1 << " opened: " << identity << std::endl;
    }
}

void TBridgeLog::KeypadClosed(int slot, const std::string& identity, bool silent)
{
    if (m_out != nullptr) {
        *m_out << "keypad #" << slot + 1 << " closed: " << identity
               << (silent ? " (no report for a second)" : "") << std::endl;
    }
}

void TBridgeLog::HostOpened(int, const std::string& name)
{
    if (m_out != nullptr) {
        *m_out << name << " opened by a host" << std::endl;
    }
}

void TBridgeLog::HostClosed(int, const std::string& name)
{
    if (m_out != nullptr) {
        *m_out << name << " closed by its host" << std::endl;
    }
}

} // namespace tessaron

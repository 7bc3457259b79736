#include "KeypadLock.h"

#include <cstdint>
#include <cstdio>

namespace tessaron {

std::unique_ptr<SingleInstanceLock> LockKeypad(const std::string& identity, bool& held)
{
    // An identity may hold any character: the lock is named by its FNV-1a hash.
    std::uint64_t hash = 0xcbf29ce484222325ULL;
    for (const char c : identity) {
        hash = (hash ^ static_cast<unsigned char>(c)) * 0x100000001b3ULL;
    }
    char name[32];
    std::snprintf(name, sizeof name, "keypad-%016llx", static_cast<unsigned long long>(hash));
    auto lock = std::make_unique<SingleInstanceLock>(name);
    const SingleInstanceLock::Result result = lock->acquire();
    held = result == SingleInstanceLock::Result::AlreadyHeld;
    return result == SingleInstanceLock::Result::Acquired ? std::move(lock) : nullptr;
}

} // namespace tessaron

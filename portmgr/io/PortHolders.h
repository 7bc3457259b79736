#pragma once

#include <string>
#include <sys/types.h>

namespace tessaron {

// Finds a process other than this one that holds the character device at path
// open, the way fuser does: through the descriptors listed in /proc/<pid>/fd.
// Returns its pid (0: none, or path is no character device) and puts
// "<command> (pid <pid>)" in who. Processes of other users are visible only to
// root, as for fuser.
pid_t FindPortHolder(const std::string& path, std::string& who);

// "<command> (pid <pid>)" for a process of any user ("a program" when its
// command cannot be read).
std::string DescribeProcess(pid_t pid);

} // namespace tessaron

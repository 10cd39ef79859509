#pragma once
// What the client stop needs from the platform (platform-<name>.cpp).

#include <sys/types.h>

// Start time of a running process in seconds since the epoch; false when it
// can't be read.
bool ProcessStartTime(pid_t pid, double& seconds);

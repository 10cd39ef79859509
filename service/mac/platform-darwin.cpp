// macOS: LaunchServices and the open tool; a process's start time from the
// kernel's process table.

#include <sys/sysctl.h>
#include <sys/types.h>

#include <cstring>

#include "service/mac/launch-seam.h"
#include "service/mac/platform.h"

LaunchPlan PlatformLaunchPlan(QString const& bundle) { return MacLaunchPlan(bundle); }

// sysctl answers for every user's process, where proc_pidinfo refuses other
// users' (EPERM), so a pid reused by such a process is still recognised.
bool ProcessStartTime(pid_t pid, double& seconds) {
    int mib[4] = {CTL_KERN, KERN_PROC, KERN_PROC_PID, static_cast<int>(pid)};
    struct kinfo_proc info;
    std::memset(&info, 0, sizeof(info));
    size_t size = sizeof(info);
    if (sysctl(mib, 4, &info, &size, nullptr, 0) != 0) return false;
    // No such process: success with nothing written.
    if (size < sizeof(info) || info.kp_proc.p_pid != pid) return false;
    struct timeval const& start = info.kp_proc.p_starttime;
    seconds = static_cast<double>(start.tv_sec) + static_cast<double>(start.tv_usec) / 1e6;
    return true;
}

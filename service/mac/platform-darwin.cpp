// macOS: LaunchServices and the open tool; a process's start time from the
// kernel's process information.

#include <libproc.h>
#include <sys/proc_info.h>

#include "service/mac/launch-seam.h"
#include "service/mac/platform.h"

LaunchPlan PlatformLaunchPlan(QString const& bundle) { return MacLaunchPlan(bundle); }

bool ProcessStartTime(pid_t pid, double& seconds) {
    struct proc_bsdinfo info;
    int n = proc_pidinfo(pid, PROC_PIDTBSDINFO, 0, &info, PROC_PIDTBSDINFO_SIZE);
    if (n != PROC_PIDTBSDINFO_SIZE) return false;
    seconds = static_cast<double>(info.pbi_start_tvsec) +
              static_cast<double>(info.pbi_start_tvusec) / 1e6;
    return true;
}

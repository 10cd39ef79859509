// Linux: the bundle's client is started directly, and a process's start time
// comes from /proc.

#include <unistd.h>

#include <fstream>
#include <sstream>
#include <string>

#include "service/mac/launch-seam.h"
#include "service/mac/mac-service-detail.h"
#include "service/mac/platform.h"

LaunchPlan PlatformLaunchPlan(QString const& bundle) { return LinuxLaunchPlan(bundle); }

bool ProcessStartTime(pid_t pid, double& seconds) {
    std::ifstream stat_file("/proc/" + std::to_string(pid) + "/stat");
    std::stringstream stat_text;
    stat_text << stat_file.rdbuf();
    unsigned long long ticks = 0;
    if (!stat_file || !macservice_detail::ProcStatStartTicks(stat_text.str(), ticks)) return false;

    std::ifstream boot("/proc/stat");
    std::string line;
    long long btime = -1;
    while (std::getline(boot, line)) {
        if (line.compare(0, 6, "btime ") == 0) {
            btime = std::stoll(line.substr(6));
            break;
        }
    }
    long const hz = sysconf(_SC_CLK_TCK);
    if (btime < 0 || hz <= 0) return false;
    seconds = static_cast<double>(btime) + static_cast<double>(ticks) / static_cast<double>(hz);
    return true;
}

#define KLOG_SOURCE "mac/mac-service"
#define KLOG_COMPONENT "service_debug"

#include "service/mac/mac-service.h"

#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QDir>

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <chrono>
#include <climits>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "deskui/UIPathManager.h"
#include "fs/file-op.h"
#include "log/LogMacros.h"
#include "service/mac/launch-seam.h"
#include "service/mac/mac-service-detail.h"
#include "service/mac/platform.h"
#include "utils/Config.h"
#include "utils/ErrnoText.h"

namespace macservice_detail {

int BuildNumber(std::string const& text) {
    char const* p = text.c_str();
    while (std::isspace(static_cast<unsigned char>(*p))) ++p;
    bool negative = false;
    if (*p == '+' || *p == '-') negative = *p++ == '-';
    long long value = 0;
    for (; *p >= '0' && *p <= '9'; ++p) {
        value = value * 10 + (*p - '0');
        if (value > static_cast<long long>(INT_MAX) + 1)
            value = static_cast<long long>(INT_MAX) + 1;
    }
    if (negative) return static_cast<int>(-value);  // down to INT_MIN
    return static_cast<int>(value > INT_MAX ? INT_MAX : value);
}

bool PidNumber(std::string const& text, long long& value) {
    char const* start = text.c_str();
    char* end = nullptr;
    errno = 0;
    long long v = strtoll(start, &end, 10);
    if (end == start || errno == ERANGE) return false;
    value = v;
    return true;
}

bool ProcStatStartTicks(std::string const& stat, unsigned long long& ticks) {
    // "pid (comm) state f4 ... f22": comm may hold blanks and parentheses,
    // so the fields are counted from its last ")".
    size_t const close = stat.rfind(')');
    if (close == std::string::npos) return false;
    char const* p = stat.c_str() + close + 1;
    for (int field = 3; field <= 22; ++field) {
        while (*p == ' ') ++p;
        if (*p == '\0') return false;
        if (field == 22) {
            char* end = nullptr;
            errno = 0;
            unsigned long long v = strtoull(p, &end, 10);
            if (end == p || errno == ERANGE) return false;
            ticks = v;
            return true;
        }
        while (*p != ' ' && *p != '\0') ++p;
    }
    return false;
}

}  // namespace macservice_detail

namespace {

constexpr int kStopSeconds = 15;
constexpr int kChecksPerSecond = 20;
constexpr double kPidFileSlack = 2.0;  // seconds

QString RegistryPath(char const* key) {
    return UIPathManager::getInstance()->getPath(QString::fromLatin1(key));
}

// Checks `done` at once, then after 1, 2, 4 ... ms, at least every 50 ms,
// until it holds (true) or `seconds` have passed (false): a client that
// ends or starts within milliseconds costs the user no more than that.
template <typename Done>
bool PollFor(double seconds, Done const& done) {
    auto const end = std::chrono::steady_clock::now() + std::chrono::duration<double>(seconds);
    useconds_t step = 1000;
    for (;;) {
        if (done()) return true;
        if (std::chrono::steady_clock::now() >= end) return false;
        usleep(step);
        step = std::min<useconds_t>(step * 2, 1000000 / kChecksPerSecond);
    }
}

double ModificationTime(struct stat const& st) {
#ifdef __APPLE__
    return static_cast<double>(st.st_mtimespec.tv_sec) +
           static_cast<double>(st.st_mtimespec.tv_nsec) / 1e9;
#else
    return static_cast<double>(st.st_mtim.tv_sec) + static_cast<double>(st.st_mtim.tv_nsec) / 1e9;
#endif
}

}  // namespace

MacService::MacService() {
    app_path = RegistryPath("user_korvane_app_path").toUtf8().toStdString();
}

MacService::~MacService() = default;

MacService* MacService::GetInstace() {
    static MacService instance;
    return &instance;
}

void MacService::LoadSourceVerInfo() { LoadSourceVersion(); }

void MacService::LoadTargetVerInfo() { LoadTargetVersion(); }

void MacService::PreUpgrade() {
    FinishInterruptedCleanup();
    LoadTargetVersion();
    LoadSourceVersion();
    KLOG(Debug, "Source version: ('%s', '%s')\n", source_version.build_version.c_str(),
         source_version.icon_overlay_version.c_str());
    KLOG(Debug, "Target version: ('%s', '%s')\n", target_version.build_version.c_str(),
         target_version.icon_overlay_version.c_str());
}

bool MacService::IsNeedUpgrade() {
    int const S = macservice_detail::BuildNumber(source_version.build_version);
    int const T = macservice_detail::BuildNumber(target_version.build_version);
    KLOG(Debug, "source version = %d, target version = %d\n", S, T);
    bool const newer = T > S;
    bool const exists = PerUserBinPathExist();
    // A bundle whose deployment never finished may carry the new INFO and
    // executable without the rest.
    bool const unfinished = IsDeploymentPending();
    if (unfinished)
        KLOG(Warning, "installation of '%s' did not complete, reinstalling\n", app_path.c_str());
    return newer || !exists || unfinished;
}

int MacService::HandlePackageUpgrade() {
    // A package that cannot be read, cannot fit or is not the one described,
    // or a per-user folder that cannot be written, would only cost the user
    // the running client: leave everything as it is. An unfinished install
    // goes on regardless of the room: only its rollback gives the old client
    // back. A package that differs is refused even then (as a plain tar it
    // would extract, damage and all), and the old client comes back from its
    // backup without it.
    refusal_ = Refusal::None;
    if (!CanWriteUserFolder()) return -1;
    bool const pending = IsDeploymentPending();
    if (!PackageReady(!pending)) {
        if (pending) RestoreInterruptedDeployment();
        return -1;
    }
    if (PerUserBinPathExist()) {
        KLOG(Debug, "local appdata exist\n");
        StopService();
    } else {
        std::string const old_path =
            QDir::toNativeSeparators(RegistryPath("user_tarnwick_path")).toUtf8().toStdString();
        if (IsFileExist(old_path, true)) {
            StopServiceByPath(QDir::toNativeSeparators(RegistryPath("user_tarnwick_path")));
            MigrateService();
        }
    }
    int const deployed = PrepareUserEnv();
    if (deployed == 0) CheckInstalledBuild();
    return deployed;
}

void MacService::CheckInstalledBuild() {
    VersionInfo const installed = ReadInstalledVersion();
    if (macservice_detail::BuildNumber(installed.build_version) <
        macservice_detail::BuildNumber(target_version.build_version))
        KLOG(Error,
             "installed build_version '%s' is lower than the launcher's '%s': the launcher "
             "bundle is inconsistent, and the next start installs again\n",
             installed.build_version.c_str(), target_version.build_version.c_str());
}

namespace {

// The pid a client's pid file names, or "".
std::string PidFileValue(std::string const& path) {
    Config config;
    if (!IsFileExist(path, false) || config.read(path) < 0) return "";
    auto const entry = config.entries.find("pid");
    return entry == config.entries.end() ? "" : entry->second;
}

// Removing the old copy competes with the new client's start for the disk,
// so it waits, within a bound, until the client has written its pid file.
void WaitForClientStart(std::string const& pid_file, std::string const& before) {
    bool const started = PollFor(3.0, [&] {
        std::string const now = PidFileValue(pid_file);
        long long pid = 0;
        return now != before && macservice_detail::PidNumber(now, pid) && pid > 1 &&
               pid <= INT32_MAX && kill(static_cast<pid_t>(pid), 0) == 0;
    });
    if (!started)
        KLOG(Debug, "no new client named in '%s' yet, removing the old copy anyway\n",
             pid_file.c_str());
}

}  // namespace

void MacService::PostUpgrade() {
    // A failed first install, or a rollback that could not finish, leaves
    // entries at the bundle's place, its executable maybe among them: the
    // next start installs again, and nothing starts from them meanwhile.
    if (!IsBundleComplete()) {
        KLOG(Error, "the installation at '%s' is not complete, not starting it\n",
             app_path.c_str());
        client_started_ = false;
        return;
    }
    std::string const pid_file =
        (RegistryPath("user_korvane_path") + QStringLiteral("/ui.pid")).toUtf8().toStdString();
    std::string const before = HasOldCopy() ? PidFileValue(pid_file) : "";
    // The open tool is started detached and may well start for a bundle
    // that is not there: only an installed client counts as started.
    bool const installed = PerUserBinPathExist();
    bool const opened = LaunchPerUserBin() == 0;
    client_started_ = opened && installed;
    if (!opened)
        KLOG(Error, "Failed to launch Tarnwick UI\n");
    else if (!installed)
        KLOG(Error, "no client installed at '%s'\n",
             RegistryPath("user_korvane_ui_path").toUtf8().constData());
    if (client_started_ && HasOldCopy()) WaitForClientStart(pid_file, before);
}

void MacService::StopService() { StopServiceByPath(RegistryPath("user_korvane_path")); }

bool MacService::PerUserBinPathExist() {
    return access(RegistryPath("user_korvane_ui_path").toUtf8().constData(), F_OK) == 0;
}

int MacService::LaunchPerUserBin() {
    QString const bundle = RegistryPath("user_korvane_app_path");
    LaunchPlan const plan = CurrentLaunchPlan(bundle);
    if (RunUnregister(plan) != 0)
        KLOG(Error, "Cannot unregister bundle, %s", bundle.toUtf8().constData());
    return RunOpen(plan) ? 0 : -1;
}

void MacService::StopServiceByPath(QString const& folder) {
    std::string const P = (folder + QStringLiteral("/ui.pid")).toUtf8().toStdString();
    if (!IsFileExist(P, false)) {
        KLOG(Debug, "pid file '%s' does not exist, no need to terminate\n", P.c_str());
        return;
    }
    Config config;
    if (config.read(P) < 0) {
        KLOG(Note, "Failed to read pid file '%s', not exist ?\n", P.c_str());
        return;
    }

    // Only a value that names one other process may be signalled: 0 and
    // negative values address process groups or every process, and a value
    // beyond 32 bits would wrap into one of those.
    auto const entry = config.entries.find("pid");
    if (entry == config.entries.end() || entry->second.empty()) {
        KLOG(Note, "pid file '%s' names no process, nothing to terminate\n", P.c_str());
        return;
    }
    long long value = 0;
    if (!macservice_detail::PidNumber(entry->second, value) || value <= 1 || value > INT32_MAX ||
        value == static_cast<long long>(getpid())) {
        KLOG(Note, "pid file '%s' holds an invalid pid '%s', nothing signalled\n", P.c_str(),
             entry->second.c_str());
        return;
    }
    pid_t const pid = static_cast<pid_t>(value);

    // A process cannot have written a pid file older than itself: one that
    // started later only reuses the number of the client that wrote it.
    // On a network home the file's time comes from the server's clock,
    // which may run behind: the live client would look younger than its
    // own pid file and be left running.
    struct stat st;
    double started = 0;
    bool const known_start = ProcessStartTime(pid, started);
    bool const network = isMountPoint(P);
    if (network)
        KLOG(Note, "pid file '%s' lies on a network volume, its time is not compared\n", P.c_str());
    if (known_start && !network && stat(P.c_str(), &st) == 0 &&
        started > ModificationTime(st) + kPidFileSlack) {
        KLOG(Note, "process %d started after pid file '%s' was written, not signalling it\n",
             static_cast<int>(pid), P.c_str());
        return;
    }

    if (kill(pid, SIGTERM) != 0) {
        int const err = errno;
        if (err == ESRCH) return;
        KLOG(Error, "kill: %s (%d)\n", korvane::utils::ErrnoText(err).c_str(), err);
    }
    // The client has its 15 seconds, but the upgrade goes on as soon as it
    // has gone: the user waits for every step of this check.
    if (PollFor(kStopSeconds, [pid] { return kill(pid, 0) != 0 && errno == ESRCH; })) return;
    // The number may have passed to another process during the wait.
    double now_started = 0;
    if (known_start && ProcessStartTime(pid, now_started) && std::fabs(now_started - started) > 1.0)
        return;
    kill(pid, SIGKILL);
}

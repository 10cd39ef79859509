#include "service/mac/launch-seam.h"

#include <spawn.h>

#include <QFile>
#include <QMutex>
#include <QMutexLocker>
#include <QProcess>

#include <vector>

extern char** environ;

char const kLsregisterPath[] =
    "/System/Library/Frameworks/CoreServices.framework/Frameworks/LaunchServices.framework/Support/lsregister";
char const kOpenToolPath[] = "/usr/bin/open";

namespace {

QMutex g_provider_lock;
LaunchPlanProvider g_provider;

}  // namespace

LaunchPlan MacLaunchPlan(QString const& bundle, QString const& lsregister, QString const& open) {
    LaunchPlan plan;
    plan.unregister_program = lsregister;
    plan.unregister_args = QStringList{QStringLiteral("-u"), bundle};
    plan.open_program = open;
    plan.open_args = QStringList{QStringLiteral("-n"), QStringLiteral("-a"), bundle};
    return plan;
}

LaunchPlan LinuxLaunchPlan(QString const& bundle) {
    LaunchPlan plan;
    plan.open_program = bundle + QStringLiteral("/Contents/MacOS/korvane-ui");
    return plan;
}

void SetLaunchPlanProvider(LaunchPlanProvider provider) {
    QMutexLocker lock(&g_provider_lock);
    g_provider = std::move(provider);
}

LaunchPlan CurrentLaunchPlan(QString const& bundle) {
    LaunchPlanProvider provider;
    {
        QMutexLocker lock(&g_provider_lock);
        provider = g_provider;
    }
    return provider ? provider(bundle) : PlatformLaunchPlan(bundle);
}

int RunUnregister(LaunchPlan const& plan) {
    if (plan.unregister_program.isEmpty()) return 0;
    return QProcess::execute(plan.unregister_program, plan.unregister_args);
}

// posix_spawn in a session of its own: the client outlives the launcher and
// leaves its terminal alone, and the start costs well under a millisecond
// (QProcess::startDetached forks the whole launcher twice, ~10 ms here).
bool RunOpen(LaunchPlan const& plan) {
    if (plan.open_program.isEmpty()) return false;
    std::vector<QByteArray> args;
    args.push_back(QFile::encodeName(plan.open_program));
    for (QString const& a : plan.open_args) args.push_back(QFile::encodeName(a));
    std::vector<char*> argv;
    for (QByteArray& a : args) argv.push_back(a.data());
    argv.push_back(nullptr);

    posix_spawnattr_t attr;
    if (posix_spawnattr_init(&attr) != 0) return false;
    short flags = 0;
#ifdef POSIX_SPAWN_SETSID
    flags |= POSIX_SPAWN_SETSID;
#endif
    posix_spawnattr_setflags(&attr, flags);
    pid_t pid = 0;
    int const rc = posix_spawn(&pid, argv[0], nullptr, &attr, argv.data(), environ);
    posix_spawnattr_destroy(&attr);
    return rc == 0;
}

#include "service/mac/launch-seam.h"

#include <QMutex>
#include <QMutexLocker>
#include <QProcess>

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

bool RunOpen(LaunchPlan const& plan) { return QProcess::startDetached(plan.open_program, plan.open_args); }

#pragma once
// How the per-user bundle is unregistered from the system and opened. Each
// platform supplies its plan (launch-seam-<platform>.cpp); tests replace the
// plan to reach every branch with stub programs.

#include <QString>
#include <QStringList>

#include <functional>

struct LaunchPlan {
    QString unregister_program;  // empty: there is nothing to unregister
    QStringList unregister_args;
    QString open_program;
    QStringList open_args;
};

extern char const kLsregisterPath[];
extern char const kOpenToolPath[];

// macOS: "lsregister -u <bundle>", then "open -n -a <bundle>".
LaunchPlan MacLaunchPlan(QString const& bundle,
                         QString const& lsregister = QString::fromLatin1(kLsregisterPath),
                         QString const& open = QString::fromLatin1(kOpenToolPath));
// Linux: nothing to unregister; open starts the bundle's own client.
LaunchPlan LinuxLaunchPlan(QString const& bundle);
// The plan of the platform this was built for.
LaunchPlan PlatformLaunchPlan(QString const& bundle);

using LaunchPlanProvider = std::function<LaunchPlan(QString const& bundle)>;
// Replaces the platform's plan; an empty provider restores it.
void SetLaunchPlanProvider(LaunchPlanProvider provider);
LaunchPlan CurrentLaunchPlan(QString const& bundle);

// Runs a plan: the unregistration waited for (its exit code, as
// QProcess::execute gives it; 0 when there is nothing to run), the open
// detached (true when it started).
int RunUnregister(LaunchPlan const& plan);
bool RunOpen(LaunchPlan const& plan);

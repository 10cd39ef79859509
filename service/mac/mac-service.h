#pragma once
// The macOS upgrade service: the upgrade decision, stopping the running
// client through its pid file, and launching the per-user client bundle.

#include <QString>

#include "service/cloud-service.h"

class MacService : public Service {
public:
    // Takes app_path from the path registry (user_korvane_app_path).
    MacService();
    ~MacService() override;

    void StopService() override;
    int HandlePackageUpgrade() override;
    void PostUpgrade() override;
    void PreUpgrade() override;
    bool IsNeedUpgrade() override;
    bool ClientStarted() const override { return client_started_; }

    void LoadSourceVerInfo();
    void LoadTargetVerInfo();

    // True when the per-user client executable exists (a dangling link does not).
    static bool PerUserBinPathExist();
    // Unregisters and opens the per-user bundle: 0 started, -1 not started.
    static int LaunchPerUserBin();
    // Stops the client whose pid file is <folder>/ui.pid: SIGTERM, up to 15
    // seconds for it to end (checked after 1, 2, 4 ... ms, then every 50 ms),
    // then SIGKILL. Signals nothing unless the pid is valid.
    static void StopServiceByPath(QString const& folder);

    // A process-wide instance, for code that has no worker.
    static MacService* GetInstace();

private:
    // After an install: an installed build lower than the launcher's INFO
    // names means a bundle that installs again on every start.
    void CheckInstalledBuild();

    bool client_started_ = false;
};

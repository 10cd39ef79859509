#pragma once
// A logout or a shutdown ends the launcher with SIGTERM, SIGINT or SIGHUP.
// While a deployment runs, such a signal only asks it to stop: the
// extraction ends before its next entry, the last complete bundle goes back
// to its place, and the launcher then ends as the signal would have ended
// it. Outside a deployment the signals keep their usual effect.

class DeploymentSignals {
public:
    DeploymentSignals();   // catches the three signals
    ~DeploymentSignals();  // gives them back their previous handling
    DeploymentSignals(DeploymentSignals const&) = delete;
    DeploymentSignals& operator=(DeploymentSignals const&) = delete;

    // The signal caught since the deployment began, or 0. Safe from any thread.
    static int Caught();
    // Ends the process as the caught signal would; returns when none came.
    // Call once the previous handling is back.
    static void EndIfCaught();
};

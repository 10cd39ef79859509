#pragma once
// One upgrade-service world per test: a private HOME (optionally a tiny
// tmpfs), a launcher bundle whose Resources hold INFO and the package, the
// path registry filled for both, and a log file the test can read back.

#include <sys/types.h>

#include <memory>
#include <string>
#include <thread>
#include <vector>

#include <gtest/gtest.h>

#include "tests/support/ArchiveBuilder.h"
#include "tests/support/TestSupport.h"

namespace servicetest {

class ServiceEnv {
public:
    // home_tmpfs: when not empty, HOME is a tmpfs of that size ("256k").
    explicit ServiceEnv(std::string const& home_tmpfs = "");
    ~ServiceEnv();

    bool home_ok() const;  // false when the tmpfs could not be mounted
    std::string home_reason() const;

    std::string root;       // the test's own folder (outside HOME)
    std::string home;       // HOME
    std::string korvane;    // ~/.Korvane
    std::string app;        // ~/.Korvane/Korvane.app
    std::string tarnwick;   // ~/.Tarnwick
    std::string resources;  // <launcher bundle>/Contents/Resources
    std::string package;    // resources + "/package/tarnwick.pkv"

    // Registers the nine path keys for this HOME and launcher bundle.
    void Register() const;
    // Moves HOME (and the per-user paths) to another folder, e.g. a mount.
    void UseHome(std::string const& folder);
    // The launcher's package archive and its INFO carrying the same build.
    void WritePackage(int build, std::vector<testsupport::ArchiveEntry> const& entries);
    void WritePackage(int build) { WritePackage(build, testsupport::ClientBundleEntries(build)); }
    // Writes entries as real files under dir (for installed bundles).
    static void Materialize(std::string const& dir,
                            std::vector<testsupport::ArchiveEntry> const& entries);
    // An installed per-user bundle of the given build.
    void InstallApp(int build) { Materialize(app, testsupport::ClientBundleEntries(build)); }
    // The package extracted by the real extractor into a fresh folder: the
    // reference a complete install must match.
    std::string ExtractReference();

    std::string Log() const;  // everything logged so far
    void ClearLog() const;
    size_t CountInLog(std::string const& text) const;

private:
    std::unique_ptr<testsupport::TempDir> dir_;
    std::unique_ptr<testsupport::TmpfsMount> mount_;
    std::unique_ptr<testsupport::ScopedEnv> home_env_;
    std::string log_path_;
    int reference_count_ = 0;
};

using testsupport::TreeDigest;

// The backup folders and install mark that lie beside the bundle.
std::string Leftovers(std::string const& app);

// The bundle is the package, byte for byte, with nothing left beside it.
::testing::AssertionResult CompleteInstall(ServiceEnv& env);

// A korvane-ui process that is the test's own child and is reaped the moment
// it ends, so that a finished client never lingers as a zombie.
class Client {
public:
    Client(std::string const& home, std::vector<std::string> const& args);
    ~Client();
    pid_t pid() const { return pid_; }
    bool WaitForPidFile(std::string const& path, pid_t expected) const;
    bool Exited() const;
    // Exit status as waitpid gives it, after Exited().
    int status() const;
    bool WaitExited(double seconds) const;

private:
    pid_t pid_ = -1;
    std::thread reaper_;
    struct State;
    std::shared_ptr<State> state_;
};

// Runs fn in a child that is process 2 of a fresh pid namespace (process 1
// reaps everything and checks that a canary process survived). Returns
// fn's exit code, 200 + signal when the runner was killed, 250 when the
// canary was killed, or -1 when no pid namespace can be made here.
int RunInPidNamespace(int (*fn)(void*), void* arg);

// Makes this process adopt orphaned grandchildren (the detached open), so
// they can be reaped here instead of by a process 1 that never reaps.
void BecomeSubreaper();
void ReapAdoptedChildren();

}  // namespace servicetest

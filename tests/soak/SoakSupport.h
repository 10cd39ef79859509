#pragma once
// Shared by the fault soak and the concurrent-start test: a private pid
// namespace to run in, the client packages they offer with a byte-for-byte
// check of an installed bundle, the log-format check, and innocent processes
// that report every signal they get.

#include <sys/types.h>

#include <string>
#include <vector>

#include "tests/app_launcher/E2ESupport.h"
#include "tests/support/ArchiveBuilder.h"

namespace soak {

// True in the copy of the test that RerunIsolated started: pid 1 of a
// private pid and mount namespace.
bool Isolated();

struct IsolatedRun {
    bool started = false;
    std::string why_not;  // when !started
    int exit_code = -1;
    std::string output;
};

// Runs the current test again under `unshare` as pid 1 of a private pid and
// mount namespace, so that a wrong kill(-1) or kill(0) reaches only the
// test's own processes, and everything left is killed when it ends.
IsolatedRun RerunIsolated(int timeout_ms);

// Inside the namespace: its own session, umask 022, reaper of orphans.
void BecomeIsolatedInit();

// Environment for the launchers and clients of a sanitizer build: their
// leak suppressions, and full stacks so that the suppressions see the
// plug-in frames. Empty in a normal build.
e2e::EnvChanges SanitizerEnv();

// An unsigned number from the environment, or `fallback`.
unsigned long long EnvNumber(char const* name, unsigned long long fallback);

// The client package of a build: the demo client, its INFO, a framework
// with relative links, a payload that does not compress and many small
// files, all derived from the build number.
std::vector<testsupport::ArchiveEntry> PackageEntries(int build);
// Writes PackageEntries(build) as a pax tar.gz; "" on success.
std::string WritePackage(std::string const& path, int build);

// "" when `root` holds exactly `entries` (plus their parent folders): same
// paths, types, file contents, permission bits under umask 022 and link
// targets. Otherwise the first difference found.
std::string CompareTree(std::string const& root,
                        std::vector<testsupport::ArchiveEntry> const& entries);

// Checks the launcher log as it grows. Every physical line must start with
// the logger's prefix; a second record may follow on the same line only
// after a message that is written without a newline.
class LogChecker {
public:
    explicit LogChecker(std::string path) : path_(std::move(path)) {}
    // The malformed lines among those completed since the last call; with
    // `final`, the unterminated tail is checked too.
    std::vector<std::string> CheckNew(bool final = false);
    size_t lines_checked() const { return lines_; }

private:
    std::string path_;
    unsigned long long offset_ = 0;
    std::string partial_;
    size_t lines_ = 0;
};
bool IsWellFormedLogLine(std::string const& line);

// A child of the test that only waits; every catchable signal it receives
// is reported through a pipe. SIGKILL or SIGSTOP show as a dead or stopped
// process.
class Sentinel {
public:
    explicit Sentinel(bool own_session);
    ~Sentinel();
    Sentinel(Sentinel const&) = delete;
    Sentinel& operator=(Sentinel const&) = delete;
    pid_t pid() const { return pid_; }
    // Signals reported since the last call.
    std::vector<int> TakeSignals();
    // "" while it runs untouched, else what happened to it.
    std::string State();

private:
    pid_t pid_ = -1;
    int report_fd_ = -1;
};

// Signals of the kinds a wrong kill() would send, received by the test
// process itself since the last call (recording starts with the first call).
std::vector<int> TakeOwnSignals();

// Processes in this pid namespace running the executable `name`.
std::vector<pid_t> ProcessesNamed(std::string const& name);

}  // namespace soak

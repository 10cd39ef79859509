#pragma once
// Running the built launcher bundle as a user would, from a test: child
// processes with their own environment, a subreaper that reaps whatever ends
// (the demo clients the launcher starts are reparented to the test), and
// small observations of files, processes and log lines.

#include <sys/types.h>

#include <map>
#include <optional>
#include <string>
#include <vector>

namespace e2e {

// Environment changes: a value sets the variable, nullopt unsets it.
using EnvChanges = std::map<std::string, std::optional<std::string>>;

// Who a started process runs as: the launcher and its clients run as the
// normal user (testsupport::kUserId, no groups), tools the test needs as root.
enum class As { User, Root };

// Starts argv[0] (a path) with the test's environment plus `env`; stdout and
// stderr go to the given files ("" for /dev/null), opened before the child
// becomes `as`. -1 when it cannot start.
pid_t Spawn(std::vector<std::string> const& argv, EnvChanges const& env,
            std::string const& out = "", std::string const& err = "", As as = As::User);

// Waits for a child (own or reparented) to end: true with its wait status.
bool WaitFor(pid_t pid, int timeout_ms, int* status = nullptr);

// Runs a command to its end: its exit code, or -1 (did not start, killed,
// timed out).
int RunCommand(std::vector<std::string> const& argv, EnvChanges const& env = {},
               int timeout_ms = 60000, std::string* output = nullptr, As as = As::Root);

// How a launcher run ends: on its own, or with its worker done while the
// process waits on the user (the message that no client could be started).
enum class Ending { Exited, WaitsOnTheUser, TimedOut };
// Waits for a launcher child; `status` as WaitFor gives it once it exited.
Ending WaitForLauncher(pid_t pid, int timeout_ms, int* status = nullptr);

struct LauncherRun {
    pid_t pid = -1;
    int exit_code = -1;  // -1 when it did not exit normally
    bool timed_out = false;
    double seconds = 0;
    std::string out;
    std::string err;
};

// Runs <bundle>/Contents/MacOS/korvane-launcher as the user and waits for it.
LauncherRun RunLauncher(std::string const& bundle, EnvChanges const& env,
                        std::string const& scratch, int timeout_ms = 30000);
std::string LauncherExe(std::string const& bundle);

// The bundle the build assembled, in the build tree (for root), and a copy
// of it that the user can reach wherever the checkout lies; the demo client
// likewise.
std::string BuildTreeBundle();
std::string BuiltBundle();
std::string UiExe();
std::string SourceDir();
std::string BinaryDir();
int InfoBuild(std::string const& info_path);  // -1 when unreadable

// A copy of the built bundle at dest (the launcher bundle's name included),
// owned by root and read-only, as installed applications are; the folders
// on the way are opened to the user.
bool CopyBundle(std::string const& dest);
// Re-packs the demo package of a bundle with another build number (and the
// bundle's INFO with it), as the build does.
bool RepackBundle(std::string const& bundle, int build, std::string const& stage);

// A HOME for the user: `dir` created below `tmp` (opened to others) and
// handed to the user. "" when that fails.
std::string UserHome(std::string const& tmp, std::string const& name);

// A live process (not a zombie).
bool Alive(pid_t pid);
std::string ExeOf(pid_t pid);
// The pid named by a key=value pid file, or -1.
pid_t ReadPidFile(std::string const& path);
// Waits until the pid file names a live process other than `not_this`.
pid_t WaitForClient(std::string const& pid_file, pid_t not_this, int timeout_ms = 5000);

// Kills what a test may leave behind under this HOME: demo clients and
// launchers (matched by their environment's HOME), then reaps them.
void KillLeftovers(std::string const& home);
// Launcher processes still running with this HOME.
std::vector<pid_t> LaunchersFor(std::string const& home);

std::vector<std::string> ReadLines(std::string const& path);
// Every log line in the exact format: "<time> (<pid>:<thread>) [LEVEL] <source>(<line>): <text>".
bool IsLogLine(std::string const& line);
// Lines of one process.
std::vector<std::string> LinesOfPid(std::vector<std::string> const& lines, pid_t pid);
// The message text after the prefix ("" when not a log line).
std::string MessageOf(std::string const& line);
bool HasMessage(std::vector<std::string> const& lines, std::string const& text);

}  // namespace e2e

#include "tests/app_launcher/E2ESupport.h"

#include <dirent.h>
#include <fcntl.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <mutex>
#include <regex>
#include <sstream>
#include <thread>

#include "tests/support/TestSupport.h"

extern char** environ;

namespace e2e {
namespace {

// The test process is a child subreaper: orphans of the launcher (the demo
// clients it starts detached) become its children. One thread reaps every
// child that ends and keeps its status for WaitFor, so no stopped client
// lingers as a zombie that still answers kill(pid, 0).
class Reaper {
public:
    static Reaper& Get() {
        static Reaper* r = new Reaper;  // lives until exit; its thread never joins
        return *r;
    }

    bool Wait(pid_t pid, int timeout_ms, int* status) {
        std::unique_lock<std::mutex> lock(mu_);
        bool const ok = cv_.wait_for(lock, std::chrono::milliseconds(timeout_ms),
                                     [&] { return ended_.count(pid) != 0; });
        if (ok && status) *status = ended_[pid];
        return ok;
    }

private:
    Reaper() {
        prctl(PR_SET_CHILD_SUBREAPER, 1, 0, 0, 0);
        std::thread([this] { Loop(); }).detach();
    }

    void Loop() {
        for (;;) {
            int st = 0;
            pid_t const pid = waitpid(-1, &st, 0);
            if (pid > 0) {
                std::lock_guard<std::mutex> g(mu_);
                ended_[pid] = st;
                cv_.notify_all();
            } else if (errno == ECHILD) {
                std::this_thread::sleep_for(std::chrono::milliseconds(5));
            }
        }
    }

    std::mutex mu_;
    std::condition_variable cv_;
    std::map<pid_t, int> ended_;
};

std::string Env(char const* name) {
    char const* v = getenv(name);
    return v ? v : "";
}

std::vector<std::string> BuildEnv(EnvChanges const& changes) {
    std::map<std::string, std::string> env;
    for (char** e = environ; *e; ++e) {
        std::string const kv = *e;
        size_t const eq = kv.find('=');
        if (eq != std::string::npos) env[kv.substr(0, eq)] = kv.substr(eq + 1);
    }
    for (auto const& c : changes) {
        if (c.second)
            env[c.first] = *c.second;
        else
            env.erase(c.first);
    }
    std::vector<std::string> out;
    for (auto const& kv : env) out.push_back(kv.first + "=" + kv.second);
    return out;
}

std::string EnvironOf(pid_t pid, char const* name) {
    std::string const all = testsupport::ReadFile("/proc/" + std::to_string(pid) + "/environ");
    std::string const key = std::string(name) + "=";
    size_t pos = 0;
    while (pos < all.size()) {
        size_t end = all.find('\0', pos);
        if (end == std::string::npos) end = all.size();
        if (all.compare(pos, key.size(), key) == 0)
            return all.substr(pos + key.size(), end - pos - key.size());
        pos = end + 1;
    }
    return "";
}

std::vector<pid_t> AllPids() {
    std::vector<pid_t> pids;
    DIR* d = opendir("/proc");
    if (!d) return pids;
    while (dirent* e = readdir(d)) {
        char* end = nullptr;
        long const v = strtol(e->d_name, &end, 10);
        if (end && *end == '\0' && v > 0) pids.push_back(static_cast<pid_t>(v));
    }
    closedir(d);
    return pids;
}

std::string Basename(std::string const& p) {
    size_t const slash = p.rfind('/');
    return slash == std::string::npos ? p : p.substr(slash + 1);
}

}  // namespace

pid_t Spawn(std::vector<std::string> const& argv, EnvChanges const& env, std::string const& out,
            std::string const& err, As as) {
    Reaper::Get();
    std::vector<std::string> const envs = BuildEnv(env);
    std::vector<char*> cargv, cenv;
    for (auto const& a : argv) cargv.push_back(const_cast<char*>(a.c_str()));
    cargv.push_back(nullptr);
    for (auto const& e : envs) cenv.push_back(const_cast<char*>(e.c_str()));
    cenv.push_back(nullptr);
    std::string const o = out.empty() ? "/dev/null" : out;
    std::string const r = err.empty() ? "/dev/null" : err;
    pid_t const pid = fork();
    if (pid < 0) return -1;
    if (pid == 0) {
        int const in = open("/dev/null", O_RDONLY);
        int const fo = open(o.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        int const fe = open(r.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        if (in < 0 || fo < 0 || fe < 0) _exit(126);
        dup2(in, 0);
        dup2(fo, 1);
        dup2(fe, 2);
        // The test's own handler state must not leak into the child.
        sigset_t none;
        sigemptyset(&none);
        sigprocmask(SIG_SETMASK, &none, nullptr);
        // Root ignores file modes; the launcher's users do not.
        if (as == As::User && !testsupport::DropToUser()) _exit(125);
        execve(cargv[0], cargv.data(), cenv.data());
        _exit(127);
    }
    return pid;
}

bool WaitFor(pid_t pid, int timeout_ms, int* status) {
    return Reaper::Get().Wait(pid, timeout_ms, status);
}

namespace {
// Qt names a thread after its class: the launcher's worker is "HandlerThread".
bool HasThread(pid_t pid, std::string const& name) {
    std::string const tasks = "/proc/" + std::to_string(pid) + "/task";
    DIR* d = opendir(tasks.c_str());
    if (!d) return false;
    bool found = false;
    while (dirent* e = readdir(d)) {
        if (e->d_name[0] == '.') continue;
        std::string comm = testsupport::ReadFile(tasks + "/" + e->d_name + "/comm");
        while (!comm.empty() && comm.back() == '\n') comm.pop_back();
        if (comm == name) found = true;
    }
    closedir(d);
    return found;
}

// The main thread sleeps in its event loop's poll.
bool MainThreadPolls(pid_t pid) {
    return testsupport::ReadFile("/proc/" + std::to_string(pid) + "/wchan").find("poll") !=
           std::string::npos;
}
}  // namespace

Ending WaitForLauncher(pid_t pid, int timeout_ms, int* status) {
    auto const now = [] { return std::chrono::steady_clock::now(); };
    auto const until = now() + std::chrono::milliseconds(timeout_ms);
    auto busy_since = now();
    while (!WaitFor(pid, 10, status)) {
        if (now() > until) return Ending::TimedOut;
        // The event loop runs only once the worker's thread has started: an
        // idle loop without that thread has finished the run, and still goes
        // on only for the user.
        if (HasThread(pid, "HandlerThread") || !MainThreadPolls(pid))
            busy_since = now();
        else if (now() - busy_since > std::chrono::milliseconds(500))
            return Ending::WaitsOnTheUser;
    }
    return Ending::Exited;
}

int RunCommand(std::vector<std::string> const& argv, EnvChanges const& env, int timeout_ms,
               std::string* output, As as) {
    testsupport::TempDir tmp("korvane-cmd");
    std::string const out = tmp / "out";
    pid_t const pid = Spawn(argv, env, out, out, as);
    if (pid < 0) return -1;
    int st = 0;
    bool const ended = WaitFor(pid, timeout_ms, &st);
    if (!ended) {
        kill(pid, SIGKILL);
        WaitFor(pid, 5000);
    }
    // What a command printed before it was stopped tells where it hung.
    if (output) *output = testsupport::ReadFile(out);
    return ended && WIFEXITED(st) ? WEXITSTATUS(st) : -1;
}

std::string LauncherExe(std::string const& bundle) {
    return bundle + "/Contents/MacOS/" KORVANE_LAUNCHER_NAME;
}

LauncherRun RunLauncher(std::string const& bundle, EnvChanges const& env,
                        std::string const& scratch, int timeout_ms) {
    LauncherRun run;
    static int serial = 0;
    std::string const base = scratch + "/launcher-run-" + std::to_string(++serial);
    auto const t0 = std::chrono::steady_clock::now();
    run.pid = Spawn({LauncherExe(bundle)}, env, base + ".out", base + ".err");
    if (run.pid < 0) return run;
    int st = 0;
    if (!WaitFor(run.pid, timeout_ms, &st)) {
        run.timed_out = true;
        kill(run.pid, SIGKILL);
        WaitFor(run.pid, 5000);
    } else if (WIFEXITED(st)) {
        run.exit_code = WEXITSTATUS(st);
    }
    run.seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
    run.out = testsupport::ReadFile(base + ".out");
    run.err = testsupport::ReadFile(base + ".err");
    return run;
}

// The environment names the folders when the test runs under CTest; the
// values compiled in serve a direct run of the binary.
std::string SourceDir() {
    std::string const v = Env("KORVANE_SOURCE_DIR");
    return v.empty() ? KORVANE_TEST_SOURCE_DIR : v;
}
std::string BinaryDir() {
    std::string const v = Env("KORVANE_BINARY_DIR");
    return v.empty() ? KORVANE_TEST_BINARY_DIR : v;
}
std::string BuildTreeBundle() { return BinaryDir() + "/Korvane Client.app"; }

namespace {
// The user cannot reach into a checkout below a private (0700) folder, as a
// user's own home is: what it runs is staged, once per test process, in a
// folder it can pass, root-owned and read-only as installed software is.
struct Staged {
    testsupport::TempDir dir{"korvane-staged"};
    std::string bundle;
    std::string ui;
    std::string error;

    Staged() {
        bundle = dir / "Korvane Client.app";
        ui = dir / "korvane-ui";
        std::string out;
        if (!testsupport::OpenToOthers(dir.path()) ||
            RunCommand({"/bin/cp", "-a", BuildTreeBundle(), bundle}, {}, 60000, &out) != 0 ||
            RunCommand({"/bin/cp", KORVANE_UI_EXE, ui}, {}, 60000, &out) != 0 ||
            !testsupport::SealForUser(dir.path()))
            error = "cannot stage the built bundle for the user: " + out;
    }
};

Staged const& Stage() {
    static Staged const staged;
    if (!staged.error.empty()) {
        std::fprintf(stderr, "%s\n", staged.error.c_str());
        std::abort();
    }
    return staged;
}
}  // namespace

std::string BuiltBundle() { return Stage().bundle; }
std::string UiExe() { return Stage().ui; }

int InfoBuild(std::string const& info_path) {
    std::istringstream in(testsupport::ReadFile(info_path));
    std::string line;
    while (std::getline(in, line)) {
        if (line.rfind("build_version=", 0) == 0)
            return atoi(line.c_str() + strlen("build_version="));
    }
    return -1;
}

bool CopyBundle(std::string const& dest) {
    size_t const slash = dest.rfind('/');
    if (slash == std::string::npos || !testsupport::MakeDirs(dest.substr(0, slash))) return false;
    // TempDirs are 0700: open the folders on the way below the temporary root.
    std::string const base = Env("TMPDIR").empty() ? "/tmp" : Env("TMPDIR");
    for (size_t at = slash; at > base.size() && dest.compare(0, base.size() + 1, base + "/") == 0;
         at = dest.rfind('/', at - 1))
        testsupport::OpenToOthers(dest.substr(0, at));
    return RunCommand({"/bin/cp", "-a", BuildTreeBundle(), dest}) == 0 &&
           testsupport::SealForUser(dest);
}

std::string UserHome(std::string const& tmp, std::string const& name) {
    std::string home = tmp + "/" + name;
    if (!testsupport::OpenToOthers(tmp) || !testsupport::MakeDirs(home) ||
        !testsupport::GiveToUser(home))
        return "";
    return home;
}

bool RepackBundle(std::string const& bundle, int build, std::string const& stage) {
    std::string const res = bundle + "/Contents/Resources";
    bool const ok =
        RunCommand({KORVANE_CMAKE_COMMAND, std::string("-DPACK=") + KORVANE_PACK_EXE,
                    std::string("-DUI=") + KORVANE_UI_EXE,
                    "-DINFO_IN=" + SourceDir() + "/app/bundle/INFO.in",
                    "-DBUILD=" + std::to_string(build), "-DSTAGE=" + stage,
                    "-DOUT=" + res + "/package/tarnwick.pkv", "-DINFO_OUT=" + res + "/INFO", "-P",
                    SourceDir() + "/cmake/MakePackage.cmake"}) == 0;
    return ok && testsupport::SealForUser(bundle);
}

bool Alive(pid_t pid) {
    if (pid <= 1 || kill(pid, 0) != 0) return false;
    std::string const stat = testsupport::ReadFile("/proc/" + std::to_string(pid) + "/stat");
    size_t const close = stat.rfind(')');
    return close != std::string::npos && close + 2 < stat.size() && stat[close + 2] != 'Z';
}

std::string ExeOf(pid_t pid) {
    char buf[4096];
    ssize_t const n =
        readlink(("/proc/" + std::to_string(pid) + "/exe").c_str(), buf, sizeof(buf) - 1);
    return n > 0 ? std::string(buf, static_cast<size_t>(n)) : "";
}

pid_t ReadPidFile(std::string const& path) {
    std::string const text = testsupport::ReadFile(path);
    size_t const at = text.find("pid=");
    if (at == std::string::npos) return -1;
    long const v = strtol(text.c_str() + at + 4, nullptr, 10);
    return v > 1 ? static_cast<pid_t>(v) : -1;
}

pid_t WaitForClient(std::string const& pid_file, pid_t not_this, int timeout_ms) {
    auto const until = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeout_ms);
    do {
        pid_t const pid = ReadPidFile(pid_file);
        if (pid > 1 && pid != not_this && Alive(pid)) return pid;
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    } while (std::chrono::steady_clock::now() < until);
    return -1;
}

void KillLeftovers(std::string const& home) {
    std::vector<pid_t> victims;
    for (pid_t pid : AllPids()) {
        if (pid == getpid()) continue;
        std::string const name = Basename(ExeOf(pid));
        if ((name == "korvane-ui" || name == KORVANE_LAUNCHER_NAME) &&
            EnvironOf(pid, "HOME") == home)
            victims.push_back(pid);
    }
    for (pid_t pid : victims) kill(pid, SIGKILL);
    for (pid_t pid : victims) WaitFor(pid, 3000);
}

std::vector<pid_t> LaunchersFor(std::string const& home) {
    std::vector<pid_t> found;
    for (pid_t pid : AllPids()) {
        if (Basename(ExeOf(pid)) == KORVANE_LAUNCHER_NAME && Alive(pid) &&
            EnvironOf(pid, "HOME") == home)
            found.push_back(pid);
    }
    return found;
}

std::vector<std::string> ReadLines(std::string const& path) {
    std::vector<std::string> lines;
    std::istringstream in(testsupport::ReadFile(path));
    std::string line;
    while (std::getline(in, line)) lines.push_back(line);
    return lines;
}

namespace {
std::regex const& LineRe() {
    static std::regex const re(
        R"(^\d{4}-\d{2}-\d{2}T\d{2}:\d{2}:\d{2} \( *(\d+): *\d+\) \[(ERROR|WARNING|NOTE|INFO|DEBUG)\] [A-Za-z_/-]+\(\d+\): (.*)$)");
    return re;
}
}  // namespace

bool IsLogLine(std::string const& line) { return std::regex_match(line, LineRe()); }

std::vector<std::string> LinesOfPid(std::vector<std::string> const& lines, pid_t pid) {
    std::vector<std::string> out;
    std::smatch m;
    for (auto const& l : lines)
        if (std::regex_match(l, m, LineRe()) && m[1] == std::to_string(pid)) out.push_back(l);
    return out;
}

std::string MessageOf(std::string const& line) {
    std::smatch m;
    return std::regex_match(line, m, LineRe()) ? m[3].str() : "";
}

bool HasMessage(std::vector<std::string> const& lines, std::string const& text) {
    for (auto const& l : lines)
        if (MessageOf(l) == text) return true;
    return false;
}

}  // namespace e2e

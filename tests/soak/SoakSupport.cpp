#include "tests/soak/SoakSupport.h"

#include <dirent.h>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <cstring>
#include <map>
#include <random>
#include <regex>

#include "tests/app_launcher/E2ESupport.h"
#include "tests/support/TestSupport.h"

namespace soak {

namespace {

char const kIsolatedVar[] = "KORVANE_SOAK_ISOLATED";
char const kUnshare[] = "/usr/bin/unshare";

std::string SelfExe() {
    char buf[4096];
    ssize_t const n = readlink("/proc/self/exe", buf, sizeof(buf) - 1);
    return n > 0 ? std::string(buf, static_cast<size_t>(n)) : "";
}

std::vector<std::string> UnshareArgs(std::string const& exe) {
    return {kUnshare, "--pid", "--fork", "--mount-proc", "--kill-child", exe};
}

// ---- signals received by the test process itself ----

int const kOwnSignals[] = {SIGTERM, SIGHUP, SIGINT, SIGQUIT, SIGUSR1, SIGUSR2, SIGCONT};
volatile sig_atomic_t g_own_signals[NSIG];

void RecordOwnSignal(int sig) {
    if (sig > 0 && sig < NSIG) g_own_signals[sig] = 1;
}

// ---- sentinel processes ----

int g_sentinel_fd = -1;

void SentinelRecord(int sig) {
    unsigned char const b = static_cast<unsigned char>(sig);
    ssize_t const r = write(g_sentinel_fd, &b, 1);
    (void)r;
}

[[noreturn]] void SentinelMain(int fd, bool own_session) {
    // Only async-signal-safe calls here: the test has threads.
    if (own_session) setsid();
    // The user's processes, so that a wrong kill() of the launcher reaches them.
    if (!testsupport::DropToUser()) _exit(125);
    g_sentinel_fd = fd;
    struct sigaction sa;
    memset(&sa, 0, sizeof(sa));
    sa.sa_handler = SentinelRecord;
    sigemptyset(&sa.sa_mask);
    sa.sa_flags = SA_RESTART;
    for (int s = 1; s < 32; ++s) {
        if (s != SIGKILL && s != SIGSTOP) sigaction(s, &sa, nullptr);
    }
    sigset_t none;
    sigemptyset(&none);
    sigprocmask(SIG_SETMASK, &none, nullptr);
    for (;;) pause();
}

}  // namespace

bool Isolated() {
    char const* v = getenv(kIsolatedVar);
    return getpid() == 1 && v && strcmp(v, "1") == 0;
}

IsolatedRun RerunIsolated(int timeout_ms) {
    IsolatedRun run;
    if (!testsupport::IsRoot()) {
        run.why_not = "not root: no private pid namespace for hostile pid values";
        return run;
    }
    if (access(kUnshare, X_OK) != 0) {
        run.why_not = std::string(kUnshare) + " is missing (util-linux)";
        return run;
    }
    std::vector<std::string> probe = UnshareArgs("/bin/true");
    if (e2e::RunCommand(probe, {}, 10000) != 0) {
        run.why_not = "unshare --pid --mount-proc does not work here";
        return run;
    }
    auto const* info = ::testing::UnitTest::GetInstance()->current_test_info();
    std::vector<std::string> argv = UnshareArgs(SelfExe());
    argv.push_back(std::string("--gtest_filter=") + info->test_suite_name() + "." + info->name());
    run.started = true;
    run.exit_code =
        e2e::RunCommand(argv, {{kIsolatedVar, std::string("1")}}, timeout_ms, &run.output);
    return run;
}

void BecomeIsolatedInit() {
    // Its own session, so that kill(0, ...) from a launcher stays inside.
    setsid();
    umask(022);
    prctl(PR_SET_CHILD_SUBREAPER, 1, 0, 0, 0);
    TakeOwnSignals();
}

e2e::EnvChanges SanitizerEnv() {
#if defined(__SANITIZE_ADDRESS__)
    bool const asan = true;
#elif defined(__has_feature)
    bool const asan = __has_feature(address_sanitizer);
#else
    bool const asan = false;
#endif
    if (!asan) return {};
    char const* asan_options = getenv("ASAN_OPTIONS");
    std::string options = asan_options && *asan_options ? std::string(asan_options) + ":" : "";
    return {{"ASAN_OPTIONS", options + "fast_unwind_on_malloc=0"},
            {"LSAN_OPTIONS", "suppressions=" + e2e::SourceDir() +
                                 "/tests/soak/launcher_lsan.supp:print_suppressions=0"}};
}

unsigned long long EnvNumber(char const* name, unsigned long long fallback) {
    char const* v = getenv(name);
    if (!v || !*v) return fallback;
    char* end = nullptr;
    unsigned long long const n = strtoull(v, &end, 0);
    return end && *end == '\0' ? n : fallback;
}

// ---- packages ----

std::vector<testsupport::ArchiveEntry> PackageEntries(int build) {
    using testsupport::ArchiveEntry;
    static std::string const ui = testsupport::ReadFile(KORVANE_UI_EXE);
    std::vector<ArchiveEntry> entries = testsupport::ClientBundleEntries(build, ui);
    std::mt19937 rng(static_cast<unsigned>(build));
    std::string payload(size_t{256} * 1024, '\0');
    for (char& c : payload) c = static_cast<char>(rng() & 0xff);
    entries.push_back(ArchiveEntry::file("Contents/Resources/payload.bin", payload));
    entries.push_back(ArchiveEntry::dir("Contents/Resources/strings"));
    for (int i = 0; i < 80; ++i) {
        std::string text =
            "build " + std::to_string(build) + " strings " + std::to_string(i) + "\n";
        text.append(static_cast<size_t>(rng() % 400), static_cast<char>('a' + rng() % 26));
        entries.push_back(
            ArchiveEntry::file("Contents/Resources/strings/s" + std::to_string(i) + ".txt", text));
    }
    return entries;
}

std::string WritePackage(std::string const& path, int build) {
    return testsupport::WriteArchive(path, PackageEntries(build));
}

namespace {

struct Node {
    char kind = '?';   // 'f' file, 'd' folder, 'l' link
    std::string data;  // file content or link target
    mode_t perm = 0;
    bool explicit_entry = true;
};

void Walk(std::string const& root, std::string const& rel, std::map<std::string, Node>& out,
          std::string& error) {
    std::string const dir = rel.empty() ? root : root + "/" + rel;
    DIR* d = opendir(dir.c_str());
    if (!d) {
        error = "cannot read folder '" + dir + "'";
        return;
    }
    std::vector<std::string> names;
    while (dirent* e = readdir(d)) {
        if (strcmp(e->d_name, ".") != 0 && strcmp(e->d_name, "..") != 0)
            names.emplace_back(e->d_name);
    }
    closedir(d);
    for (std::string const& name : names) {
        std::string const r = rel.empty() ? name : rel + "/" + name;
        std::string const full = root + "/" + r;
        struct stat st;
        if (lstat(full.c_str(), &st) != 0) continue;
        Node n;
        n.perm = st.st_mode & 07777;
        if (S_ISDIR(st.st_mode)) {
            n.kind = 'd';
            out[r] = n;
            Walk(root, r, out, error);
        } else if (S_ISLNK(st.st_mode)) {
            n.kind = 'l';
            char buf[4096];
            ssize_t const len = readlink(full.c_str(), buf, sizeof buf);
            if (len > 0) n.data.assign(buf, static_cast<size_t>(len));
            out[r] = n;
        } else if (S_ISREG(st.st_mode)) {
            n.kind = 'f';
            n.data = testsupport::ReadFile(full);
            out[r] = n;
        } else {
            n.kind = '?';
            out[r] = n;
        }
    }
}

}  // namespace

std::string CompareTree(std::string const& root,
                        std::vector<testsupport::ArchiveEntry> const& entries) {
    using testsupport::ArchiveEntry;
    std::map<std::string, Node> want;
    for (auto const& e : entries) {
        for (size_t slash = e.path.find('/'); slash != std::string::npos;
             slash = e.path.find('/', slash + 1)) {
            std::string const parent = e.path.substr(0, slash);
            if (!want.count(parent)) {
                Node n;
                n.kind = 'd';
                n.explicit_entry = false;
                want[parent] = n;
            }
        }
        Node n;
        n.perm = static_cast<mode_t>(e.mode) & ~static_cast<mode_t>(022) & 07777;
        switch (e.kind) {
            case ArchiveEntry::File:
                n.kind = 'f';
                n.data = e.data;
                break;
            case ArchiveEntry::Dir: n.kind = 'd'; break;
            case ArchiveEntry::Symlink:
                n.kind = 'l';
                n.data = e.target;
                break;
            case ArchiveEntry::Hardlink: return "hard links are not compared";
        }
        want[e.path] = n;
    }

    struct stat st;
    if (lstat(root.c_str(), &st) != 0 || !S_ISDIR(st.st_mode))
        return "'" + root + "' is not a folder";
    std::map<std::string, Node> have;
    std::string error;
    Walk(root, "", have, error);
    if (!error.empty()) return error;

    for (auto const& w : want) {
        auto const h = have.find(w.first);
        if (h == have.end()) return "missing '" + w.first + "'";
        if (h->second.kind != w.second.kind)
            return "'" + w.first + "' has type " + h->second.kind + ", expected " + w.second.kind;
        if (w.second.kind != 'd' && h->second.data != w.second.data)
            return "'" + w.first + "' differs (" + std::to_string(h->second.data.size()) +
                   " bytes, expected " + std::to_string(w.second.data.size()) + ")";
        if (w.second.kind == 'f' && h->second.perm != w.second.perm)
            return "'" + w.first + "' has mode " + std::to_string(h->second.perm) + ", expected " +
                   std::to_string(w.second.perm);
    }
    for (auto const& h : have) {
        if (!want.count(h.first)) return "unexpected '" + h.first + "'";
    }
    return "";
}

// ---- log format ----

bool IsWellFormedLogLine(std::string const& line) {
    static std::regex const prefix(
        R"(\d{4}-\d\d-\d\dT\d\d:\d\d:\d\d \(\s*\d+:\s*\d+\) \[(ERROR|WARNING|NOTE|INFO|DEBUG)\] [a-z/-]+\(\d+\): )");
    // Messages written without a trailing newline: the next record follows
    // on the same line.
    static std::regex const run_on(
        R"(Cannot unregister bundle, .*|archive_entry_pathname failed|snprintf failed \(continuing without postfix\))");
    auto it = std::sregex_iterator(line.begin(), line.end(), prefix);
    auto const end = std::sregex_iterator();
    if (it == end || it->position() != 0) return false;
    size_t message_start = static_cast<size_t>(it->length());
    for (++it; it != end; ++it) {
        size_t const at = static_cast<size_t>(it->position());
        if (!std::regex_match(line.substr(message_start, at - message_start), run_on)) return false;
        message_start = at + static_cast<size_t>(it->length());
    }
    return true;
}

std::vector<std::string> LogChecker::CheckNew(bool final) {
    std::vector<std::string> bad;
    struct stat st;
    if (stat(path_.c_str(), &st) == 0) {
        if (static_cast<unsigned long long>(st.st_size) < offset_) {  // rotated: a new file
            offset_ = 0;
            partial_.clear();
        }
        int fd = open(path_.c_str(), O_RDONLY | O_CLOEXEC);
        if (fd >= 0) {
            char buf[65536];
            ssize_t n;
            while ((n = pread(fd, buf, sizeof buf, static_cast<off_t>(offset_))) > 0) {
                partial_.append(buf, static_cast<size_t>(n));
                offset_ += static_cast<unsigned long long>(n);
            }
            close(fd);
        }
    }
    size_t start = 0;
    for (size_t nl = partial_.find('\n'); nl != std::string::npos;
         nl = partial_.find('\n', start)) {
        std::string const line = partial_.substr(start, nl - start);
        ++lines_;
        if (!IsWellFormedLogLine(line)) bad.push_back(line);
        start = nl + 1;
    }
    partial_.erase(0, start);
    if (final && !partial_.empty()) {
        ++lines_;
        if (!IsWellFormedLogLine(partial_)) bad.push_back(partial_);
        partial_.clear();
    }
    return bad;
}

// ---- processes ----

Sentinel::Sentinel(bool own_session) {
    int p[2];
    if (pipe2(p, O_CLOEXEC) != 0) return;
    pid_t const pid = fork();
    if (pid == 0) {
        close(p[0]);
        SentinelMain(p[1], own_session);
    }
    close(p[1]);
    if (pid < 0) {
        close(p[0]);
        return;
    }
    fcntl(p[0], F_SETFL, O_NONBLOCK);
    pid_ = pid;
    report_fd_ = p[0];
}

Sentinel::~Sentinel() {
    if (pid_ > 0) {
        kill(pid_, SIGKILL);
        e2e::WaitFor(pid_, 5000);
    }
    if (report_fd_ >= 0) close(report_fd_);
}

std::vector<int> Sentinel::TakeSignals() {
    std::vector<int> sigs;
    unsigned char buf[64];
    ssize_t n;
    while (report_fd_ >= 0 && (n = read(report_fd_, buf, sizeof buf)) > 0) {
        for (ssize_t i = 0; i < n; ++i) sigs.push_back(buf[i]);
    }
    return sigs;
}

std::string Sentinel::State() {
    if (pid_ <= 0) return "never started";
    int st = 0;
    if (e2e::WaitFor(pid_, 0, &st)) {
        if (WIFSIGNALED(st)) return std::string("killed by ") + strsignal(WTERMSIG(st));
        return "ended with status " + std::to_string(st);
    }
    std::string const stat = testsupport::ReadFile("/proc/" + std::to_string(pid_) + "/stat");
    size_t const close = stat.rfind(')');
    if (close != std::string::npos && close + 2 < stat.size()) {
        char const state = stat[close + 2];
        if (state == 'T' || state == 't') return "stopped";
        if (state == 'Z' || state == 'X') return "dead";
    }
    return "";
}

std::vector<int> TakeOwnSignals() {
    static bool const installed = [] {
        struct sigaction sa;
        memset(&sa, 0, sizeof(sa));
        sa.sa_handler = RecordOwnSignal;
        sigemptyset(&sa.sa_mask);
        sa.sa_flags = SA_RESTART;
        for (int s : kOwnSignals) sigaction(s, &sa, nullptr);
        return true;
    }();
    (void)installed;
    std::vector<int> sigs;
    for (int s : kOwnSignals) {
        if (g_own_signals[s]) {
            g_own_signals[s] = 0;
            sigs.push_back(s);
        }
    }
    return sigs;
}

std::vector<pid_t> ProcessesNamed(std::string const& name) {
    std::vector<pid_t> found;
    DIR* d = opendir("/proc");
    if (!d) return found;
    while (dirent* e = readdir(d)) {
        char* end = nullptr;
        long const v = strtol(e->d_name, &end, 10);
        if (!end || *end != '\0' || v <= 1) continue;
        pid_t const pid = static_cast<pid_t>(v);
        std::string exe = e2e::ExeOf(pid);
        std::string const deleted = " (deleted)";
        if (exe.size() > deleted.size() &&
            exe.compare(exe.size() - deleted.size(), deleted.size(), deleted) == 0)
            exe.resize(exe.size() - deleted.size());
        size_t const slash = exe.rfind('/');
        if (exe.substr(slash == std::string::npos ? 0 : slash + 1) == name && e2e::Alive(pid))
            found.push_back(pid);
    }
    closedir(d);
    return found;
}

}  // namespace soak

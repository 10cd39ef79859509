// korvane-ui: a stand-in for the real Korvane client, for the demo and the
// tests. It writes "pid=<pid>" into ~/.Korvane/ui.pid, then waits for SIGTERM.
//
// Options (flags, or the environment so that a client started by the launcher
// can be steered too):
//   --ignore-term        KORVANE_UI_IGNORE_TERM=1   ignore SIGTERM (only SIGKILL ends it)
//   --exit-delay N       KORVANE_UI_EXIT_DELAY=N    take N seconds to exit after SIGTERM
//   --lifetime N         KORVANE_UI_LIFETIME=N      end on its own after N seconds (default 300)
//   --pid-file PATH      KORVANE_UI_PID_FILE=PATH   where to write the pid (default ~/.Korvane/ui.pid)
// Each start is also recorded as one line in ~/.Korvane/demo-ui.log.

#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <string>

namespace {

volatile sig_atomic_t g_term = 0;

void OnTerm(int) { g_term = 1; }

std::string Env(char const* name) {
    char const* v = getenv(name);
    return v ? v : "";
}

long ToSeconds(std::string const& s, long fallback) {
    if (s.empty()) return fallback;
    char* end = nullptr;
    long v = strtol(s.c_str(), &end, 10);
    return (end && *end == '\0' && v >= 0 && v <= 86400) ? v : fallback;
}

bool WriteAll(int fd, std::string const& text) {
    size_t off = 0;
    while (off < text.size()) {
        ssize_t n = write(fd, text.data() + off, text.size() - off);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return false;
        off += static_cast<size_t>(n);
    }
    return true;
}

// Write through a temporary name and rename, so a reader never sees half a line.
bool WritePidFile(std::string const& path, pid_t pid) {
    std::string tmp = path + ".tmp" + std::to_string(pid);
    int fd = open(tmp.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (fd < 0) return false;
    bool ok = WriteAll(fd, "pid=" + std::to_string(pid) + "\n");
    ok = (close(fd) == 0) && ok;
    if (!ok || rename(tmp.c_str(), path.c_str()) != 0) {
        unlink(tmp.c_str());
        return false;
    }
    return true;
}

void AppendStartRecord(std::string const& dir, pid_t pid, char const* argv0) {
    char exe[PATH_MAX] = {0};
    ssize_t n = readlink("/proc/self/exe", exe, sizeof(exe) - 1);
    std::string where = n > 0 ? std::string(exe, static_cast<size_t>(n)) : argv0;
    int fd = open((dir + "/demo-ui.log").c_str(), O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC, 0644);
    if (fd < 0) return;
    WriteAll(fd, "started pid=" + std::to_string(pid) + " exe=" + where + "\n");
    close(fd);
}

}  // namespace

int main(int argc, char** argv) {
    bool ignore_term = Env("KORVANE_UI_IGNORE_TERM") == "1";
    long exit_delay = ToSeconds(Env("KORVANE_UI_EXIT_DELAY"), 0);
    long lifetime = ToSeconds(Env("KORVANE_UI_LIFETIME"), 300);
    std::string home = Env("HOME");
    std::string dir = home + "/.Korvane";
    std::string pid_file = Env("KORVANE_UI_PID_FILE");
    if (pid_file.empty()) pid_file = dir + "/ui.pid";

    for (int i = 1; i < argc; ++i) {
        std::string a = argv[i];
        bool has_value = i + 1 < argc;
        if (a == "--ignore-term") {
            ignore_term = true;
        } else if (a == "--exit-delay" && has_value) {
            exit_delay = ToSeconds(argv[++i], exit_delay);
        } else if (a == "--lifetime" && has_value) {
            lifetime = ToSeconds(argv[++i], lifetime);
        } else if (a == "--pid-file" && has_value) {
            pid_file = argv[++i];
        } else {
            fprintf(stderr, "korvane-ui: unknown option '%s'\n", a.c_str());
            return 2;
        }
    }

    struct sigaction sa;
    memset(&sa, 0, sizeof(sa));
    sa.sa_handler = ignore_term ? SIG_IGN : OnTerm;
    sigaction(SIGTERM, &sa, nullptr);

    pid_t pid = getpid();
    mkdir(dir.c_str(), 0755);
    if (!WritePidFile(pid_file, pid)) {
        fprintf(stderr, "korvane-ui: cannot write '%s': %s\n", pid_file.c_str(), strerror(errno));
        return 1;
    }
    AppendStartRecord(dir, pid, argv[0]);

    time_t deadline = time(nullptr) + lifetime;
    while (!g_term && time(nullptr) < deadline) {
        struct timespec ts = {0, 100L * 1000 * 1000};
        nanosleep(&ts, nullptr);
    }
    if (g_term && exit_delay > 0) sleep(static_cast<unsigned>(exit_delay));

    // Leave the pid file only when it still names this process. O_NONBLOCK:
    // a FIFO put in its place must not keep the client from ending.
    int const fd = open(pid_file.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd >= 0) {
        char line[64] = {0};
        struct stat st;
        bool const mine = fstat(fd, &st) == 0 && S_ISREG(st.st_mode) &&
                          read(fd, line, sizeof line - 1) > 4 && strncmp(line, "pid=", 4) == 0 &&
                          strtol(line + 4, nullptr, 10) == pid;
        close(fd);
        if (mine) unlink(pid_file.c_str());
    }
    return 0;
}

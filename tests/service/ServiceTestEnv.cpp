#include "tests/service/ServiceTestEnv.h"

#include <dirent.h>
#include <fcntl.h>
#include <sched.h>
#include <signal.h>
#include <sys/mount.h>
#include <sys/prctl.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QCoreApplication>
#include <QString>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <cstring>
#include <mutex>
#include <sstream>

#include "deskui/UIPathManager.h"
#include "extract/extractor.h"
#include "log/Logger.h"
#include "utils/Config.h"

extern char** environ;

namespace servicetest {

using testsupport::ArchiveEntry;

namespace {

void EnsureApplication() {
    static int argc = 1;
    static char name[] = "service-tests";
    static char* argv[] = {name, nullptr};
    if (QCoreApplication::instance() == nullptr) new QCoreApplication(argc, argv);
}

}  // namespace

ServiceEnv::ServiceEnv(std::string const& home_tmpfs) {
    EnsureApplication();
    dir_.reset(new testsupport::TempDir("korvane-service"));
    root = dir_->path();
    std::string const home_dir = root + "/home";
    if (!home_tmpfs.empty()) mount_.reset(new testsupport::TmpfsMount(home_dir, home_tmpfs));
    UseHome(home_dir);
    resources = root + "/Korvane Client.app/Contents/Resources";
    package = resources + "/package/tarnwick.pkv";
    testsupport::MakeDirs(resources + "/package");
    Register();

    // The log lives outside HOME, so a full HOME does not silence it.
    log_path_ = root + "/service.log";
    std::string const levels = root + "/launcher.debug";
    testsupport::WriteFile(levels, "service_debug=7\nextractor_debug=7\n");
    Logger::Initialize(Logger::File, log_path_, levels, 50, Logger::ThreadLock);
}

ServiceEnv::~ServiceEnv() {
    Logger::Destroy();
    mount_.reset();
}

bool ServiceEnv::home_ok() const { return !mount_ || mount_->ok(); }

std::string ServiceEnv::home_reason() const { return mount_ ? mount_->reason() : ""; }

void ServiceEnv::UseHome(std::string const& folder) {
    home = folder;
    testsupport::MakeDirs(home);
    home_env_.reset();
    home_env_.reset(new testsupport::ScopedEnv("HOME", home.c_str()));
    korvane = home + "/.Korvane";
    app = korvane + "/Korvane.app";
    tarnwick = home + "/.Tarnwick";
    if (!resources.empty()) Register();
}

void ServiceEnv::Register() const {
    auto* reg = UIPathManager::getInstance();
    QString const h = QString::fromStdString(home);
    reg->setPath("user_korvane_path", h + "/.Korvane");
    reg->setPath("user_korvane_app_path", h + "/.Korvane/Korvane.app");
    reg->setPath("user_korvane_resource_path", h + "/.Korvane/Korvane.app/Contents/Resources");
    reg->setPath("user_korvane_data_path", h + "/.Korvane/data");
    reg->setPath("user_korvane_working_dir_path", h + "/.Korvane/Korvane.app/Contents/MacOS");
    reg->setPath("user_korvane_ui_path", h + "/.Korvane/Korvane.app/Contents/MacOS/korvane-ui");
    reg->setPath("user_tarnwick_path", h + "/.Tarnwick");
    reg->setPath("user_tarnwick_resource_path", h + "/.Tarnwick/Tarnwick.app/Contents/Resources");
    reg->setPath("root_resource_path", QString::fromStdString(resources));
}

void ServiceEnv::WritePackage(int build, std::vector<ArchiveEntry> const& entries) {
    testsupport::WriteFile(resources + "/INFO", testsupport::InfoText(build));
    std::string const err = testsupport::WriteArchive(package, entries);
    if (!err.empty()) abort();
}

void ServiceEnv::Materialize(std::string const& dir, std::vector<ArchiveEntry> const& entries) {
    testsupport::MakeDirs(dir);
    for (auto const& e : entries) {
        std::string const path = dir + "/" + e.path;
        testsupport::MakeDirs(path.substr(0, path.rfind('/')));
        switch (e.kind) {
            case ArchiveEntry::File:
                testsupport::WriteFile(path, e.data, static_cast<mode_t>(e.mode));
                break;
            case ArchiveEntry::Dir:
                testsupport::MakeDirs(path);
                chmod(path.c_str(), static_cast<mode_t>(e.mode));
                break;
            case ArchiveEntry::Symlink:
                unlink(path.c_str());
                if (symlink(e.target.c_str(), path.c_str()) != 0) abort();
                break;
            case ArchiveEntry::Hardlink:
                unlink(path.c_str());
                if (link((dir + "/" + e.target).c_str(), path.c_str()) != 0) abort();
                break;
        }
    }
}

std::string ServiceEnv::ExtractReference() {
    std::string dest = root + "/reference" + std::to_string(++reference_count_);
    testsupport::MakeDirs(dest);
    Extractor extractor;
    extractor.dest_dir = dest;
    extractor.archive_path = package;
    if (extractor.Extract() != 0) return "";
    return dest;
}

std::string ServiceEnv::Log() const { return testsupport::ReadFile(log_path_); }

void ServiceEnv::ClearLog() const { truncate(log_path_.c_str(), 0); }

size_t ServiceEnv::CountInLog(std::string const& text) const {
    std::string const log = Log();
    size_t n = 0;
    for (size_t pos = log.find(text); pos != std::string::npos;
         pos = log.find(text, pos + text.size()))
        ++n;
    return n;
}

std::string Leftovers(std::string const& app) {
    std::string const dir = app.substr(0, app.rfind('/'));
    std::string const name = app.substr(app.rfind('/') + 1);
    std::vector<std::string> found;
    if (DIR* d = opendir(dir.c_str())) {
        while (dirent* e = readdir(d)) {
            std::string const n = e->d_name;
            if (n != name && n.compare(0, name.size(), name) == 0) found.push_back(n);
        }
        closedir(d);
    }
    std::sort(found.begin(), found.end());
    std::string s;
    for (auto const& n : found) s += n + "\n";
    return s;
}

::testing::AssertionResult CompleteInstall(ServiceEnv& env) {
    std::string const got = TreeDigest(env.app), want = TreeDigest(env.ExtractReference());
    if (got != want)
        return ::testing::AssertionFailure() << "installed:\n" << got << "package:\n" << want;
    std::string const left = Leftovers(env.app);
    if (!left.empty()) return ::testing::AssertionFailure() << "left beside the bundle:\n" << left;
    return ::testing::AssertionSuccess();
}

// ---- Client ----

struct Client::State {
    std::mutex m;
    std::condition_variable cv;
    bool exited = false;
    int status = 0;
};

Client::Client(std::string const& home, std::vector<std::string> const& args) : state_(new State) {
    std::vector<std::string> env_store;
    for (char** e = environ; *e; ++e) {
        if (strncmp(*e, "HOME=", 5) != 0) env_store.push_back(*e);
    }
    env_store.push_back("HOME=" + home);
    std::vector<char*> envp;
    for (auto& s : env_store) envp.push_back(&s[0]);
    envp.push_back(nullptr);
    std::vector<std::string> argv_store{KORVANE_UI_BIN};
    argv_store.insert(argv_store.end(), args.begin(), args.end());
    std::vector<char*> argv;
    for (auto& s : argv_store) argv.push_back(&s[0]);
    argv.push_back(nullptr);

    pid_ = fork();
    if (pid_ == 0) {
        execve(argv[0], argv.data(), envp.data());
        _exit(127);
    }
    std::shared_ptr<State> state = state_;
    pid_t const pid = pid_;
    reaper_ = std::thread([state, pid] {
        int status = 0;
        pid_t r;
        while ((r = waitpid(pid, &status, 0)) < 0 && errno == EINTR) {
        }
        std::lock_guard<std::mutex> lock(state->m);
        state->exited = true;
        state->status = r == pid ? status : -1;
        state->cv.notify_all();
    });
}

Client::~Client() {
    if (pid_ > 0 && !Exited()) kill(pid_, SIGKILL);
    if (reaper_.joinable()) reaper_.join();
}

bool Client::WaitForPidFile(std::string const& path, pid_t expected) const {
    std::string const want = "pid=" + std::to_string(expected);
    for (int i = 0; i < 100; ++i) {
        if (testsupport::ReadFile(path).find(want) != std::string::npos) return true;
        usleep(50 * 1000);
    }
    return false;
}

bool Client::Exited() const {
    std::lock_guard<std::mutex> lock(state_->m);
    return state_->exited;
}

int Client::status() const {
    std::lock_guard<std::mutex> lock(state_->m);
    return state_->status;
}

bool Client::WaitExited(double seconds) const {
    std::unique_lock<std::mutex> lock(state_->m);
    return state_->cv.wait_for(lock, std::chrono::duration<double>(seconds),
                               [this] { return state_->exited; });
}

// ---- Pid namespace ----

namespace {

volatile sig_atomic_t g_init_signalled = 0;
void OnInitSignal(int) { g_init_signalled = 1; }

int InitOfNamespace(int (*fn)(void*), void* arg) {
    if (mount("proc", "/proc", "proc", MS_NOSUID | MS_NODEV | MS_NOEXEC, nullptr) != 0) return 252;
    // Process 1 of a namespace only receives signals it has a handler for.
    struct sigaction sa;
    memset(&sa, 0, sizeof sa);
    sa.sa_handler = OnInitSignal;
    sigaction(SIGTERM, &sa, nullptr);
    sigaction(SIGINT, &sa, nullptr);

    pid_t canary = fork();
    if (canary == 0) {
        setpgid(0, 0);
        for (;;) pause();
    }
    pid_t runner = fork();
    if (runner == 0) {
        setpgid(0, 0);
        _exit(fn(arg));
    }
    int status = 0;
    while (waitpid(runner, &status, 0) < 0 && errno == EINTR) {
    }
    int result = WIFEXITED(status) ? WEXITSTATUS(status) : 200 + WTERMSIG(status);
    int canary_status = 0;
    if (waitpid(canary, &canary_status, WNOHANG) != 0) result = 250;
    if (g_init_signalled) result = 251;
    kill(canary, SIGKILL);
    while (waitpid(-1, nullptr, 0) > 0 || errno == EINTR) {
    }
    return result;
}

}  // namespace

int RunInPidNamespace(int (*fn)(void*), void* arg) {
    pid_t outer = fork();
    if (outer < 0) return -1;
    if (outer == 0) {
        // A session of its own: nothing in here shares a process group with
        // the test runner.
        setsid();
        if (unshare(CLONE_NEWPID | CLONE_NEWNS) != 0) _exit(255);
        if (mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) != 0) _exit(255);
        pid_t init = fork();
        if (init < 0) _exit(255);
        if (init == 0) _exit(InitOfNamespace(fn, arg));
        int status = 0;
        while (waitpid(init, &status, 0) < 0 && errno == EINTR) {
        }
        _exit(WIFEXITED(status) ? WEXITSTATUS(status) : 253);
    }
    int status = 0;
    while (waitpid(outer, &status, 0) < 0 && errno == EINTR) {
    }
    if (!WIFEXITED(status)) return 254;
    return WEXITSTATUS(status) == 255 ? -1 : WEXITSTATUS(status);
}

void BecomeSubreaper() { prctl(PR_SET_CHILD_SUBREAPER, 1); }

void ReapAdoptedChildren() {
    while (waitpid(-1, nullptr, WNOHANG) > 0) {
    }
}

}  // namespace servicetest

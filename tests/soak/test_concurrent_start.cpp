// Ten launchers of one user released at the same instant: the single-instance
// guard lets exactly one of them do the work, the others leave at once with
// exit code 0, and the install is complete and single.

#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <string>
#include <thread>
#include <vector>

#include "tests/app_launcher/E2ESupport.h"
#include "tests/soak/SoakSupport.h"
#include "tests/support/TestSupport.h"

extern char** environ;

namespace {

using testsupport::PathExists;
using testsupport::WriteFile;

constexpr int kLaunchers = 10;

struct Ended {
    pid_t pid = -1;
    int status = -1;
    double seconds = -1;  // after the release; -1 when it never ended
};

class ConcurrentStarts : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(PathExists(e2e::LauncherExe(e2e::BuiltBundle())))
            << "build the korvane_bundle target first";
        home_ = e2e::UserHome(tmp_.path(), "home");
        ASSERT_FALSE(home_.empty());
        korvane_ = home_ + "/.Korvane";
        app_ = korvane_ + "/Korvane.app";
        bundle_ = tmp_ / "launcher/Korvane Client.app";
        ASSERT_TRUE(e2e::CopyBundle(bundle_));
    }

    void TearDown() override { e2e::KillLeftovers(home_); }

    void OfferBuild(int build) {
        std::string const res = bundle_ + "/Contents/Resources";
        ASSERT_EQ(soak::WritePackage(res + "/package/tarnwick.pkv", build), "");
        ASSERT_TRUE(WriteFile(res + "/INFO", testsupport::InfoText(build)));
    }

    // Forks the launchers, which all wait on one pipe, then closes it: they
    // exec together.
    std::vector<Ended> StartTogether() {
        std::string const exe = e2e::LauncherExe(bundle_);
        std::vector<std::string> env;
        for (char** e = environ; *e; ++e) {
            std::string const kv = *e;
            std::string const key = kv.substr(0, kv.find('='));
            if (key != "HOME" && key != "QT_QPA_PLATFORM" && key.rfind("KORVANE_UI_", 0) != 0)
                env.push_back(kv);
        }
        env.push_back("HOME=" + home_);
        env.push_back("QT_QPA_PLATFORM=offscreen");
        env.push_back("KORVANE_UI_LIFETIME=300");
        // The clients these launchers start take a while to stop.
        env.push_back("KORVANE_UI_EXIT_DELAY=3");
        for (auto const& e : soak::SanitizerEnv()) {
            env.erase(std::remove_if(
                          env.begin(), env.end(),
                          [&](std::string const& kv) { return kv.rfind(e.first + "=", 0) == 0; }),
                      env.end());
            env.push_back(e.first + "=" + *e.second);
        }
        std::vector<char*> cenv;
        for (auto& kv : env) cenv.push_back(&kv[0]);
        cenv.push_back(nullptr);
        std::vector<char> exe_buf(exe.begin(), exe.end());
        exe_buf.push_back('\0');
        char* const argv[] = {exe_buf.data(), nullptr};

        std::vector<Ended> ended(kLaunchers);
        int gate[2];
        int const devnull = open("/dev/null", O_RDWR | O_CLOEXEC);
        if (devnull < 0 || pipe2(gate, O_CLOEXEC) != 0) {
            ADD_FAILURE() << "no pipe";
            return ended;
        }
        for (auto& e : ended) {
            e.pid = fork();
            if (e.pid == 0) {
                // Async-signal-safe calls only: the test has threads.
                close(gate[1]);
                char c;
                while (read(gate[0], &c, 1) < 0 && errno == EINTR) {
                }
                dup2(devnull, 0);
                dup2(devnull, 1);
                dup2(devnull, 2);
                if (!testsupport::DropToUser()) _exit(125);
                execve(argv[0], argv, cenv.data());
                _exit(127);
            }
        }
        close(gate[0]);
        close(devnull);
        // Let every child reach its read, then release them all at once.
        std::this_thread::sleep_for(std::chrono::milliseconds(300));
        auto const t0 = std::chrono::steady_clock::now();
        close(gate[1]);
        int pending = kLaunchers;
        while (pending > 0 && std::chrono::steady_clock::now() - t0 < std::chrono::seconds(60)) {
            for (auto& e : ended) {
                if (e.pid > 0 && e.seconds < 0 && e2e::WaitFor(e.pid, 0, &e.status)) {
                    e.seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - t0)
                                    .count();
                    --pending;
                }
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(2));
        }
        return ended;
    }

    // Exactly one launcher did the work and ended last; the others said so
    // and ended before it, all with exit code 0.
    void ExpectOneWorker(std::vector<Ended> const& ended) {
        std::vector<std::string> const lines = e2e::ReadLines(korvane_ + "/log/launcher.log");
        for (std::string const& line : lines) EXPECT_TRUE(soak::IsWellFormedLogLine(line)) << line;
        int workers = 0;
        double worker_end = 0;
        for (auto const& e : ended) {
            ASSERT_GE(e.seconds, 0) << "launcher " << e.pid << " did not end";
            EXPECT_TRUE(WIFEXITED(e.status) && WEXITSTATUS(e.status) == 0)
                << "wait status " << e.status;
            std::vector<std::string> const own = e2e::LinesOfPid(lines, e.pid);
            if (e2e::HasMessage(own, "running")) {
                ++workers;
                worker_end = e.seconds;
                EXPECT_TRUE(e2e::HasMessage(own, "done"));
            } else {
                EXPECT_TRUE(e2e::HasMessage(own, "app has already launched, return"))
                    << "launcher " << e.pid;
            }
        }
        EXPECT_EQ(workers, 1);
        for (auto const& e : ended) {
            if (e.seconds != worker_end) {
                EXPECT_LT(e.seconds, worker_end) << "launcher " << e.pid << " lingered";
            }
        }
    }

    // The installed bundle is the package, whole and alone.
    void ExpectSingleInstall(int build) {
        EXPECT_EQ(soak::CompareTree(app_, soak::PackageEntries(build)), "");
        EXPECT_FALSE(PathExists(app_ + ".installing"));
        for (char const* name : {"_tmp", "_tmp1", "_tmp2"}) EXPECT_FALSE(PathExists(app_ + name));
    }

    // Clients started from the installed bundle, as recorded by the clients.
    int ClientStarts() {
        int n = 0;
        for (std::string const& line : e2e::ReadLines(korvane_ + "/demo-ui.log")) {
            if (line.find(" exe=" + app_ + "/Contents/MacOS/korvane-ui") != std::string::npos) ++n;
        }
        return n;
    }

    testsupport::TempDir tmp_{"korvane-concurrent"};
    std::string home_, korvane_, app_, bundle_;
};

// Both rounds stop a running client that takes three seconds to exit, which
// keeps the working launcher busy for longer than the others need to start,
// even in a sanitizer build: a launcher that only started after the work was
// done would legitimately run again, and the test must not depend on timing.
TEST_F(ConcurrentStarts, OneLauncherInstallsAndUpgradesTheOthersLeave) {
    // A predecessor with data and a running client.
    std::string const tarnwick = home_ + "/.Tarnwick";
    ASSERT_TRUE(testsupport::MakeDirs(tarnwick + "/data"));
    ASSERT_TRUE(WriteFile(tarnwick + "/data/notes.txt", "keep me\n"));
    ASSERT_TRUE(testsupport::GiveToUser(tarnwick));
    pid_t const old_client =
        e2e::Spawn({e2e::UiExe()}, {{"HOME", home_},
                                    {"KORVANE_UI_PID_FILE", tarnwick + "/ui.pid"},
                                    {"KORVANE_UI_LIFETIME", std::string("300")},
                                    {"KORVANE_UI_EXIT_DELAY", std::string("3")}});
    ASSERT_GT(e2e::WaitForClient(tarnwick + "/ui.pid", -1), 1);

    OfferBuild(300);
    ExpectOneWorker(StartTogether());
    ExpectSingleInstall(300);
    EXPECT_FALSE(e2e::Alive(old_client)) << "the predecessor's client was not stopped";
    EXPECT_EQ(testsupport::ReadFile(korvane_ + "/data/notes.txt"), "keep me\n");
    pid_t const client = e2e::WaitForClient(korvane_ + "/ui.pid", -1);
    EXPECT_GT(client, 1);
    EXPECT_EQ(ClientStarts(), 1);

    // An upgrade while that client runs.
    OfferBuild(301);
    ExpectOneWorker(StartTogether());
    ExpectSingleInstall(301);
    EXPECT_FALSE(e2e::Alive(client)) << "the old client was not stopped";
    EXPECT_GT(e2e::WaitForClient(korvane_ + "/ui.pid", client), 1);
    EXPECT_EQ(ClientStarts(), 2);
}

}  // namespace

// Stopping the client through its pid file and launching the per-user
// bundle, against real korvane-ui processes. Signals reach only the client.

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/time.h>
#include <sys/wait.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <memory>
#include <thread>

#include "fs/file-op-platform.h"
#include "service/mac/launch-seam.h"
#include "service/mac/mac-service.h"
#include "tests/service/ServiceTestEnv.h"

using servicetest::Client;
using servicetest::ServiceEnv;
using servicetest::TreeDigest;
namespace ts = testsupport;

namespace {

double Seconds(std::function<void()> const& fn) {
    auto const start = std::chrono::steady_clock::now();
    fn();
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

QString Q(std::string const& s) { return QString::fromStdString(s); }

class Stop : public ::testing::Test {
protected:
    ServiceEnv env;
    std::string pid_file() const { return env.korvane + "/ui.pid"; }
};

TEST_F(Stop, WithoutAPidFileNothingIsSignalled) {
    MacService s;
    EXPECT_LT(Seconds([&] { s.StopService(); }), 1.0);
    EXPECT_EQ(
        env.CountInLog("pid file '" + pid_file() + "' does not exist, no need to terminate\n"), 1u);
}

TEST_F(Stop, AClientEndingAtOnceIsWaitedForBriefly) {
    Client client(env.home, {"--lifetime", "60"});
    ASSERT_TRUE(client.WaitForPidFile(pid_file(), client.pid()));
    MacService s;
    EXPECT_LT(Seconds([&] { s.StopService(); }), 3.0);
    ASSERT_TRUE(client.WaitExited(5));
    EXPECT_TRUE(WIFEXITED(client.status()));
}

TEST_F(Stop, AStalePidReturnsAtOnce) {
    pid_t gone;
    {
        Client client(env.home, {"--lifetime", "60"});
        ASSERT_TRUE(client.WaitForPidFile(pid_file(), client.pid()));
        gone = client.pid();
        kill(gone, SIGKILL);
        ASSERT_TRUE(client.WaitExited(5));
    }
    ASSERT_TRUE(ts::WriteFile(pid_file(), "pid=" + std::to_string(gone) + "\n"));
    EXPECT_LT(Seconds([] { MacService::StopServiceByPath(Q(getenv("HOME")) + "/.Korvane"); }), 0.5);
}

TEST_F(Stop, AClientTakingThreeSecondsIsWaitedForAndNotKilled) {
    Client client(env.home, {"--exit-delay", "3", "--lifetime", "60"});
    ASSERT_TRUE(client.WaitForPidFile(pid_file(), client.pid()));
    double const took = Seconds([] { MacService::GetInstace()->StopService(); });
    EXPECT_GE(took, 2.5);
    EXPECT_LT(took, 8.0);  // the fourth check, with room for a busy machine
    ASSERT_TRUE(client.WaitExited(5)) << "the client did not end after StopService";
    EXPECT_TRUE(WIFEXITED(client.status())) << "the client was killed";
}

TEST_F(Stop, AClientIgnoringTerminationIsKilledAfterFifteenChecks) {
    Client client(env.home, {"--ignore-term", "--lifetime", "60"});
    ASSERT_TRUE(client.WaitForPidFile(pid_file(), client.pid()));
    MacService s;
    double const took = Seconds([&] { s.StopService(); });
    EXPECT_GE(took, 14.5);
    EXPECT_LT(took, 18.0);
    ASSERT_TRUE(client.WaitExited(5));
    ASSERT_TRUE(WIFSIGNALED(client.status()));
    EXPECT_EQ(WTERMSIG(client.status()), SIGKILL);
}

TEST_F(Stop, AMalformedPidFileSignalsNothing) {
    Client client(env.home, {"--pid-file", env.root + "/real.pid", "--lifetime", "60"});
    ASSERT_TRUE(client.WaitForPidFile(env.root + "/real.pid", client.pid()));
    ts::MakeDirs(env.korvane);
    ASSERT_TRUE(
        ts::WriteFile(pid_file(), "pid=" + std::to_string(client.pid()) + "\nnot key value\n"));
    MacService s;
    s.StopService();
    EXPECT_EQ(env.CountInLog("[NOTE] mac/mac-service("), 1u);
    EXPECT_EQ(env.CountInLog("Failed to read pid file '" + pid_file() + "', not exist ?\n"), 1u);
    EXPECT_FALSE(client.WaitExited(0.3));
}

TEST_F(Stop, APidReusedByALaterProcessIsLeftAlone) {
    ts::MakeDirs(env.korvane);
    // A live client, and a pid file naming it that was written `age` seconds ago.
    auto client_with_pid_file = [&](int age) {
        auto c = std::make_unique<Client>(
            env.home,
            std::vector<std::string>{"--pid-file", env.root + "/real.pid", "--lifetime", "60"});
        EXPECT_TRUE(c->WaitForPidFile(env.root + "/real.pid", c->pid()));
        EXPECT_TRUE(ts::WriteFile(pid_file(), "pid=" + std::to_string(c->pid()) + "\n"));
        struct timeval times[2];
        gettimeofday(&times[0], nullptr);
        times[0].tv_sec -= age;
        times[1] = times[0];
        EXPECT_EQ(utimes(pid_file().c_str(), times), 0);
        return c;
    };
    // Written a minute before this process existed: another process's number.
    auto client = client_with_pid_file(60);
    MacService s;
    EXPECT_LT(Seconds([&] { s.StopService(); }), 0.5);
    EXPECT_FALSE(client->WaitExited(0.3));
    EXPECT_EQ(
        env.CountInLog("process " + std::to_string(client->pid()) + " started after pid file '" +
                       pid_file() + "' was written, not signalling it\n"),
        1u);

    // On a network volume the server's clock sets the time: not compared.
    fsplatform::SetFsTypeProbe([](std::string const&, std::string& name) {
        name = "nfs";
        return 0;
    });
    s.StopService();
    fsplatform::SetFsTypeProbe(nullptr);
    EXPECT_TRUE(client->WaitExited(5));
    EXPECT_EQ(env.CountInLog("pid file '" + pid_file() +
                             "' lies on a network volume, its time is not compared\n"),
              1u);

    // Within the allowance the process is the client and is stopped.
    auto current = client_with_pid_file(0);
    s.StopService();
    EXPECT_TRUE(current->WaitExited(5));
}

// ---- Hostile pid values, in a private pid namespace ----

struct Hostile {
    std::string folder;
    std::string content;  // "<self>" is replaced by the runner's own pid
};

int StopWithHostileFile(void* arg) {
    auto* h = static_cast<Hostile*>(arg);
    std::string content = h->content;
    size_t pos = content.find("<self>");
    if (pos != std::string::npos) content.replace(pos, 6, std::to_string(getpid()));
    if (!ts::WriteFile(h->folder + "/ui.pid", content)) return 2;
    MacService::StopServiceByPath(Q(h->folder));
    return 0;
}

TEST_F(Stop, HostilePidValuesSignalNoProcess) {
    ts::MakeDirs(env.korvane);
    Hostile probe{env.korvane, "other=1\n"};
    ASSERT_NE(servicetest::RunInPidNamespace(StopWithHostileFile, &probe), -1)
        << "no private pid namespace here";

    struct Case {
        std::string content;
        std::string note;
    } const cases[] = {
        {"other=1\n", "names no process"},
        {"pid=''\n", "names no process"},
        {"pid=0\n", "invalid pid '0'"},
        {"pid=1\n", "invalid pid '1'"},
        {"pid=-1\n", "invalid pid '-1'"},
        {"pid=-4242\n", "invalid pid '-4242'"},
        {"pid=4294967295\n", "invalid pid '4294967295'"},
        {"pid=2147483648\n", "invalid pid '2147483648'"},
        {"pid=99999999999999999999\n", "invalid pid '99999999999999999999'"},
        {"pid=abc\n", "invalid pid 'abc'"},
        {"pid=<self>\n", "invalid pid '"},
    };
    for (auto const& c : cases) {
        env.ClearLog();
        Hostile h{env.korvane, c.content};
        EXPECT_EQ(servicetest::RunInPidNamespace(StopWithHostileFile, &h), 0)
            << c.content
            << "(215: the caller was terminated, 250: another process was, 251: process 1 was)";
        EXPECT_EQ(env.CountInLog("[NOTE] mac/mac-service("), 1u) << c.content << env.Log();
        EXPECT_EQ(env.CountInLog("pid file '" + env.korvane + "/ui.pid'"), 1u)
            << c.content << env.Log();
        EXPECT_EQ(env.CountInLog(c.note), 1u) << c.content << env.Log();
    }
}

// ---- The upgrade with clients running ----

class Upgrade : public ::testing::Test {
protected:
    ServiceEnv env;
    void SetUp() override { env.WritePackage(200); }
};

TEST_F(Upgrade, AnInstalledClientIsStoppedAndThePredecessorLeftAlone) {
    env.InstallApp(100);
    ts::MakeDirs(env.tarnwick + "/data");
    Client ours(env.home, {"--lifetime", "60"});
    Client theirs(env.home, {"--pid-file", env.tarnwick + "/ui.pid", "--lifetime", "60"});
    ASSERT_TRUE(ours.WaitForPidFile(env.korvane + "/ui.pid", ours.pid()));
    ASSERT_TRUE(theirs.WaitForPidFile(env.tarnwick + "/ui.pid", theirs.pid()));
    std::string const predecessor = TreeDigest(env.tarnwick);

    MacService s;
    s.PreUpgrade();
    ASSERT_TRUE(s.IsNeedUpgrade());
    EXPECT_EQ(s.HandlePackageUpgrade(), 0);
    s.FinishDeployment();
    EXPECT_TRUE(ours.WaitExited(5));
    EXPECT_FALSE(theirs.Exited());
    EXPECT_EQ(TreeDigest(env.tarnwick), predecessor);
    EXPECT_NE(env.Log().find("local appdata exist\n"), std::string::npos);
    EXPECT_TRUE(servicetest::CompleteInstall(env));
}

TEST_F(Upgrade, AFirstInstallStopsThePredecessorThenMigrates) {
    ts::MakeDirs(env.tarnwick + "/data");
    ts::WriteFile(env.tarnwick + "/data/d.txt", "data");
    Client theirs(env.home, {"--pid-file", env.tarnwick + "/ui.pid", "--exit-delay", "1",
                             "--lifetime", "60"});
    ASSERT_TRUE(theirs.WaitForPidFile(env.tarnwick + "/ui.pid", theirs.pid()));

    MacService s;
    EXPECT_EQ(s.HandlePackageUpgrade(), 0);
    EXPECT_TRUE(theirs.WaitExited(5));
    EXPECT_TRUE(WIFEXITED(theirs.status()));
    EXPECT_EQ(ts::ReadFile(env.korvane + "/data/d.txt"), "data");
    EXPECT_FALSE(ts::PathExists(env.tarnwick));
    EXPECT_TRUE(servicetest::CompleteInstall(env));
}

TEST_F(Upgrade, AFailedMigrationStillDeploys) {
    ts::MakeDirs(env.tarnwick + "/data");
    ts::WriteFile(env.tarnwick + "/data/d.txt", "theirs");
    ts::MakeDirs(env.korvane + "/data");
    ts::WriteFile(env.korvane + "/data/d.txt", "mine");
    MacService s;
    EXPECT_EQ(s.HandlePackageUpgrade(), 0);
    EXPECT_EQ(env.CountInLog("Failed to move data to Korvane folder\n"), 1u);
    EXPECT_EQ(ts::ReadFile(env.tarnwick + "/data/d.txt"), "theirs");
    EXPECT_EQ(ts::ReadFile(env.korvane + "/data/d.txt"), "mine");
    EXPECT_TRUE(servicetest::CompleteInstall(env));
}

TEST_F(Upgrade, WithoutClientOrPredecessorOnlyTheDeploymentDecides) {
    MacService s;
    EXPECT_EQ(s.HandlePackageUpgrade(), 0);
    EXPECT_FALSE(ts::PathExists(env.tarnwick));
    ts::RemoveTree(env.app);
    ts::WriteFile(env.package, "garbage");
    EXPECT_EQ(s.HandlePackageUpgrade(), -1);
    EXPECT_EQ(env.CountInLog("pid file"), 0u);
}

// ---- Launch ----

class Launch : public ::testing::Test {
protected:
    ServiceEnv env;
    std::string stubs;

    void SetUp() override {
        servicetest::BecomeSubreaper();
        stubs = env.root + "/stubs";
        ts::MakeDirs(stubs);
        ASSERT_TRUE(ts::WriteFile(stubs + "/open",
                                  "#!/bin/sh\nprintf '%s\\n' \"$*\" > '" + stubs + "/open.args'\n",
                                  0755));
        WriteRegistrationTool(3);
    }
    void TearDown() override {
        SetLaunchPlanProvider(nullptr);
        servicetest::ReapAdoptedChildren();
    }
    void WriteRegistrationTool(int exit_code) {
        ASSERT_TRUE(ts::WriteFile(stubs + "/lsregister",
                                  "#!/bin/sh\nprintf '%s\\n' \"$*\" > '" + stubs +
                                      "/lsregister.args'\nexit " + std::to_string(exit_code) + "\n",
                                  0755));
    }
    // The macOS plan, with the two tools found where the test says.
    void UseMacTools(std::string const& lsregister, std::string const& open) {
        SetLaunchPlanProvider([lsregister, open](QString const& bundle) {
            return MacLaunchPlan(bundle, Q(lsregister), Q(open));
        });
    }
    std::string WaitForFile(std::string const& path) {
        for (int i = 0; i < 100 && !ts::PathExists(path); ++i) usleep(50 * 1000);
        usleep(50 * 1000);
        return ts::ReadFile(path);
    }
};

TEST_F(Launch, AFailingRegistrationToolIsLoggedAndTheBundleStillOpens) {
    UseMacTools(stubs + "/lsregister", stubs + "/open");
    EXPECT_EQ(MacService::LaunchPerUserBin(), 0);
    EXPECT_EQ(ts::ReadFile(stubs + "/lsregister.args"), "-u " + env.app + "\n");
    EXPECT_EQ(WaitForFile(stubs + "/open.args"), "-n -a " + env.app + "\n");
    std::string const log = env.Log();
    // The message has no line feed of its own.
    std::string const line = "[ERROR] mac/mac-service(";
    ASSERT_NE(log.find(line), std::string::npos) << log;
    EXPECT_NE(log.find("Cannot unregister bundle, " + env.app), std::string::npos) << log;
    EXPECT_EQ(log.find("Cannot unregister bundle, " + env.app + "\n"), std::string::npos) << log;
}

TEST_F(Launch, AMissingRegistrationToolIsLoggedAndTheBundleStillOpens) {
    UseMacTools(stubs + "/no-such-tool", stubs + "/open");
    MacService s;
    s.PostUpgrade();
    EXPECT_EQ(WaitForFile(stubs + "/open.args"), "-n -a " + env.app + "\n");
    EXPECT_EQ(env.CountInLog("Cannot unregister bundle, " + env.app), 1u);
    EXPECT_EQ(env.CountInLog("Failed to launch Tarnwick UI"), 0u);
}

TEST_F(Launch, ASuccessfulRegistrationToolLogsNothing) {
    WriteRegistrationTool(0);
    UseMacTools(stubs + "/lsregister", stubs + "/open");
    EXPECT_EQ(MacService::LaunchPerUserBin(), 0);
    WaitForFile(stubs + "/open.args");
    EXPECT_EQ(env.CountInLog("[ERROR]"), 0u) << env.Log();
}

TEST_F(Launch, AnOpenToolThatCannotStartFailsTheLaunch) {
    UseMacTools(stubs + "/lsregister", stubs + "/no-such-open");
    EXPECT_EQ(MacService::LaunchPerUserBin(), -1);
    MacService s;
    env.ClearLog();
    s.PostUpgrade();
    EXPECT_EQ(env.CountInLog("Failed to launch Tarnwick UI\n"), 1u);
    EXPECT_EQ(env.CountInLog("[ERROR] mac/mac-service("), 2u);
}

// What lies at the bundle's place while the mark names another place, or
// none, is a fragment: it is neither registered nor opened.
TEST_F(Launch, OnlyACompleteBundleIsOpened) {
    UseMacTools(stubs + "/lsregister", stubs + "/open");
    ts::MakeDirs(env.app + "/Contents/MacOS");
    ASSERT_TRUE(ts::WriteFile(env.app + "/Contents/MacOS/korvane-ui", "#!/bin/sh\n", 0755));
    std::string const mark = env.app + ".installing";
    // A mark naming a backup vouches for the bundle once that backup holds
    // no bundle any more: a rollback moved it back but kept the mark.
    struct Row {
        char const* marked;
        bool backup_holds_bundle;
        bool complete;
    };
    for (Row const row : {Row{"", false, false}, Row{"Korvane.app_tmp", true, false},
                          Row{"Korvane.app_tmp3", true, false}, Row{"Korvane.app", false, true},
                          Row{"Korvane.app_tmp", false, true}}) {
        SCOPED_TRACE(std::string("mark names '") + row.marked + "'");
        ASSERT_TRUE(ts::WriteFile(mark, row.marked));
        ts::RemoveTree(env.korvane + "/Korvane.app_tmp");
        ts::RemoveTree(env.korvane + "/Korvane.app_tmp3");
        if (row.backup_holds_bundle)
            ts::MakeDirs(env.korvane + "/" + row.marked + "/Contents/MacOS");
        env.ClearLog();
        MacService s;
        s.PostUpgrade();
        bool const complete = row.complete;
        EXPECT_EQ(s.ClientStarted(), complete);
        EXPECT_EQ(ts::PathExists(stubs + "/lsregister.args"), complete);
        EXPECT_EQ(env.CountInLog("the installation at '" + env.app +
                                 "' is not complete, not starting it\n"),
                  complete ? 0u : 1u);
    }
    EXPECT_EQ(WaitForFile(stubs + "/open.args"), "-n -a " + env.app + "\n");
}

TEST_F(Launch, OnLinuxTheBundlesClientStartsAndCanBeStopped) {
    SetLaunchPlanProvider([](QString const& bundle) { return LinuxLaunchPlan(bundle); });
    ts::MakeDirs(env.app + "/Contents/MacOS");
    ASSERT_TRUE(ts::WriteFile(env.app + "/Contents/MacOS/korvane-ui",
                              "#!/bin/sh\nexec '" KORVANE_UI_BIN "' --lifetime 30\n", 0755));
    MacService s;
    s.PostUpgrade();
    EXPECT_EQ(env.CountInLog("[ERROR]"), 0u) << env.Log();
    std::string const pid_text = WaitForFile(env.korvane + "/ui.pid");
    ASSERT_EQ(pid_text.compare(0, 4, "pid="), 0) << pid_text;
    pid_t const pid = static_cast<pid_t>(std::stol(pid_text.substr(4)));
    EXPECT_EQ(kill(pid, 0), 0);

    // The detached client was adopted here; reap it while it is stopped.
    std::atomic<bool> reaped{false};
    std::thread reaper([pid, &reaped] {
        for (int i = 0; i < 200 && !reaped; ++i) {
            if (waitpid(pid, nullptr, WNOHANG) == pid) reaped = true;
            usleep(20 * 1000);
        }
    });
    EXPECT_LT(Seconds([&] { s.StopService(); }), 3.0);
    reaper.join();
    EXPECT_TRUE(reaped);
}

}  // namespace

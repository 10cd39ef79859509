// deskui: the path table, the language code, the per-user single-instance
// guard (with real launcher processes) and the scale factor.
#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <QLocale>
#include <atomic>
#include <map>
#include <string>
#include <thread>
#include <vector>

#include "deskui/DPIinfo.h"
#include "deskui/QtSingleApplication.h"
#include "deskui/UIPathManager.h"
#include "deskui/VeltraneLocale.h"
#include "tests/support/TestSupport.h"

extern char** environ;

namespace {

using testsupport::TempDir;

// A helper process with its stdout on a pipe.
struct Child {
    pid_t pid = -1;
    int out = -1;
};

// Starts deskui_helper with `args`, the current environment changed by `env`
// (an empty value unsets), and stdin from `in_fd` (or /dev/null).
Child Spawn(std::vector<std::string> const& args, std::map<std::string, std::string> const& env,
            int in_fd = -1) {
    std::map<std::string, std::string> vars;
    for (char** e = environ; *e; ++e) {
        std::string const kv = *e;
        size_t const eq = kv.find('=');
        if (eq != std::string::npos) vars[kv.substr(0, eq)] = kv.substr(eq + 1);
    }
    vars["QT_QPA_PLATFORM"] = "offscreen";
    std::string const lsan = vars.count("LSAN_OPTIONS") ? vars["LSAN_OPTIONS"] + ":" : "";
    vars["LSAN_OPTIONS"] = lsan + "suppressions=" DESKUI_HELPER_LSAN_SUPP;
    for (auto const& kv : env) {
        if (kv.second.empty())
            vars.erase(kv.first);
        else
            vars[kv.first] = kv.second;
    }
    std::vector<std::string> envs;
    for (auto const& kv : vars) envs.push_back(kv.first + "=" + kv.second);
    std::vector<char*> envp;
    for (auto& s : envs) envp.push_back(&s[0]);
    envp.push_back(nullptr);
    std::vector<std::string> argstore{DESKUI_HELPER};
    argstore.insert(argstore.end(), args.begin(), args.end());
    std::vector<char*> argv;
    for (auto& s : argstore) argv.push_back(&s[0]);
    argv.push_back(nullptr);

    int p[2];
    if (pipe2(p, O_CLOEXEC) != 0) return {};
    int const devnull = open("/dev/null", O_RDONLY | O_CLOEXEC);
    Child c;
    c.pid = fork();
    if (c.pid == 0) {
        dup2(in_fd >= 0 ? in_fd : devnull, 0);
        dup2(p[1], 1);
        execve(argv[0], argv.data(), envp.data());
        _exit(127);
    }
    close(p[1]);
    close(devnull);
    c.out = p[0];
    return c;
}

// One line of the child's output, "" on EOF or after the timeout.
std::string ReadLine(int fd, int timeout_ms = 20000) {
    std::string line;
    char ch;
    for (;;) {
        pollfd pfd{fd, POLLIN, 0};
        if (poll(&pfd, 1, timeout_ms) <= 0) return line;
        if (read(fd, &ch, 1) != 1 || ch == '\n') return line;
        line += ch;
    }
}

void Stop(Child& c, int sig = SIGTERM) {
    if (c.pid > 0) {
        kill(c.pid, sig);
        waitpid(c.pid, nullptr, 0);
        c.pid = -1;
    }
    if (c.out >= 0) {
        close(c.out);
        c.out = -1;
    }
}

std::string RunHelper(std::vector<std::string> const& args,
                      std::map<std::string, std::string> const& env) {
    Child c = Spawn(args, env);
    std::string line = ReadLine(c.out);
    int status = 0;
    waitpid(c.pid, &status, 0);
    c.pid = -1;
    close(c.out);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "helper status " << status;
    return line;
}

TEST(UIPathManager, StoresReplacesAndReturnsEmptyForUnknownKeys) {
    UIPathManager* m = UIPathManager::getInstance();
    EXPECT_EQ(m, UIPathManager::getInstance());
    EXPECT_EQ(m->getPath("deskui_test_never_set"), QString());
    m->setPath("deskui_test_key", "/Users/a/.Korvane");
    EXPECT_EQ(m->getPath("deskui_test_key"), "/Users/a/.Korvane");
    m->setPath("deskui_test_key", QString::fromUtf8("/Users/\xc3\xa9/.Korvane"));
    EXPECT_EQ(m->getPath("deskui_test_key"), QString::fromUtf8("/Users/\xc3\xa9/.Korvane"));
}

TEST(UIPathManager, ConcurrentReadsOfAFilledTableAgree) {
    UIPathManager* m = UIPathManager::getInstance();
    for (int i = 0; i < 9; ++i)
        m->setPath(QString("deskui_conc_%1").arg(i), QString("/home/u/path/%1").arg(i));
    std::atomic<int> wrong{0};
    std::vector<std::thread> readers;
    for (int t = 0; t < 4; ++t) {
        readers.emplace_back([&] {
            for (int n = 0; n < 20000; ++n) {
                int const i = n % 9;
                if (m->getPath(QString("deskui_conc_%1").arg(i)) !=
                    QString("/home/u/path/%1").arg(i))
                    ++wrong;
            }
        });
    }
    for (auto& t : readers) t.join();
    EXPECT_EQ(wrong.load(), 0);
}

TEST(VeltraneLocale, MapsEveryTranslatedLanguageAndFallsBackToEnglish) {
    std::map<std::string, std::string> const cases = {
        {"zh_CN", "chs"}, {"zh_SG", "chs"}, {"zh_TW", "cht"}, {"zh_HK", "cht"}, {"cs_CZ", "csy"},
        {"da_DK", "dan"}, {"en_US", "enu"}, {"en_GB", "enu"}, {"fr_FR", "fre"}, {"fr_CA", "fre"},
        {"de_DE", "ger"}, {"de_AT", "ger"}, {"hu_HU", "hun"}, {"it_IT", "ita"}, {"ja_JP", "jpn"},
        {"ko_KR", "krn"}, {"nl_NL", "nld"}, {"nb_NO", "nor"}, {"nn_NO", "nor"}, {"pl_PL", "plk"},
        {"pt_BR", "ptb"}, {"pt_PT", "ptg"}, {"ru_RU", "rus"}, {"es_ES", "spn"}, {"es_MX", "spn"},
        {"sv_SE", "sve"}, {"th_TH", "tha"}, {"tr_TR", "trk"}, {"fi_FI", "enu"}, {"el_GR", "enu"},
        {"C", "enu"},
    };
    for (auto const& c : cases)
        EXPECT_EQ(
            VeltraneLocale::languageCode(QLocale(QString::fromStdString(c.first))).toStdString(),
            c.second)
            << c.first;
    EXPECT_EQ(VeltraneLocale::languageCode(
                  QLocale(QLocale::Chinese, QLocale::TraditionalHanScript, QLocale::China)),
              "cht");
}

TEST(VeltraneLocale, DefaultLanguageFollowsTheUsersEnvironment) {
    std::map<std::string, std::string> base = {
        {"LANG", ""}, {"LC_ALL", ""}, {"LC_MESSAGES", ""}, {"LANGUAGE", ""}};
    EXPECT_EQ(RunHelper({"lang"}, base), "enu");  // no language at all
    auto with = [&](std::string const& k, std::string const& v) {
        auto e = base;
        e[k] = v;
        return e;
    };
    EXPECT_EQ(RunHelper({"lang"}, with("LANG", "de_DE.UTF-8")), "ger");
    EXPECT_EQ(RunHelper({"lang"}, with("LANG", "zh_TW.UTF-8")), "cht");
    EXPECT_EQ(RunHelper({"lang"}, with("LC_ALL", "th_TH.UTF-8")), "tha");
    EXPECT_EQ(RunHelper({"lang"}, with("LANG", "fi_FI.UTF-8")), "enu");
}

TEST(DPIinfo, QtsOwnScalingIsNotAppliedTwice) {
    EXPECT_DOUBLE_EQ(DPIinfo::getInstance()->getDPI(), 1.0);
    EXPECT_EQ(RunHelper({"dpi"}, {{"QT_SCALE_FACTOR", ""}}), "1.00");
    EXPECT_EQ(RunHelper({"dpi"}, {{"QT_SCALE_FACTOR", "2"}}), "1.00");
    QString const sheet = "QProgressDialog { background: white; }";
    EXPECT_EQ(DPIinfo::getInstance()->getScaledStyleSheet(sheet), sheet);
}

class SingleInstance : public ::testing::Test {
protected:
    TempDir home{"korvane-deskui"};
    std::vector<Child> children;
    std::map<std::string, std::string> env() const { return {{"HOME", home.path()}}; }
    ~SingleInstance() override {
        for (auto& c : children) Stop(c, SIGKILL);
    }
    std::string Start(std::map<std::string, std::string> const& e) {
        children.push_back(Spawn({"single"}, e));
        return ReadLine(children.back().out);
    }
};

TEST_F(SingleInstance, SecondLauncherOfTheSameHomeSeesTheFirst) {
    EXPECT_EQ(Start(env()), "first");
    EXPECT_TRUE(testsupport::PathExists(
        QtSingleApplication::lockFilePath(QString::fromStdString(home.path())).toStdString()));
    EXPECT_EQ(Start(env()), "running");
    EXPECT_EQ(Start(env()), "running");

    TempDir other("korvane-deskui-other");
    EXPECT_EQ(Start({{"HOME", other.path()}}), "first") << "another home folder is another user";

    Stop(children[0]);  // ordinary end of the first launcher
    EXPECT_EQ(Start(env()), "first");
}

TEST_F(SingleInstance, LockLeftByAKilledLauncherDoesNotCount) {
    EXPECT_EQ(Start(env()), "first");
    Stop(children[0], SIGKILL);
    std::string const lock =
        QtSingleApplication::lockFilePath(QString::fromStdString(home.path())).toStdString();
    ASSERT_TRUE(testsupport::PathExists(lock)) << "the crash leaves its lock file behind";
    EXPECT_EQ(Start(env()), "first");
    EXPECT_EQ(Start(env()), "running");
}

TEST_F(SingleInstance, StaleOrUnopenableLockFilesDoNotCount) {
    // Whatever a stale file says (here: a live process, this test), only a
    // launcher that is really running counts.
    std::string const lock =
        QtSingleApplication::lockFilePath(QString::fromStdString(home.path())).toStdString();
    ASSERT_TRUE(testsupport::MakeDirs(home / ".Korvane"));
    ASSERT_TRUE(
        testsupport::WriteFile(lock, std::to_string(getpid()) + "\ndeskui_helper\nlocalhost\n"));
    EXPECT_EQ(Start(env()), "first");
    Stop(children.back());

    // A link cannot be opened as the lock: it is replaced, and never followed.
    std::string const elsewhere = home / "elsewhere";
    ASSERT_TRUE(testsupport::WriteFile(elsewhere, "kept"));
    ASSERT_EQ(unlink(lock.c_str()), 0);
    ASSERT_EQ(symlink(elsewhere.c_str(), lock.c_str()), 0);
    EXPECT_EQ(Start(env()), "first");
    EXPECT_EQ(Start(env()), "running");
    EXPECT_EQ(testsupport::ReadFile(elsewhere), "kept");
    for (auto& c : children) Stop(c);
    children.clear();

    // Nothing that can be flocked there: a lock in a private folder of the
    // temporary folder stands in, and still lets one launcher of the home run.
    ASSERT_EQ(unlink(lock.c_str()), 0);
    ASSERT_TRUE(testsupport::MakeDirs(lock));
    TempDir tmp("korvane-deskui-tmp");
    auto with_tmp = env();
    with_tmp["TMPDIR"] = tmp.path();
    EXPECT_EQ(Start(with_tmp), "first");
    EXPECT_EQ(Start(with_tmp), "running");
    std::string const folder = tmp / ("korvane-" + std::to_string(geteuid()));
    struct stat st {};
    ASSERT_EQ(lstat(folder.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0700u);
    for (auto& c : children) Stop(c);
    children.clear();

    // A stand-in folder that others could write into is not used; with no
    // lock at all the launcher goes on unguarded.
    ASSERT_EQ(chmod(folder.c_str(), 0777), 0);
    EXPECT_EQ(Start(with_tmp), "unguarded");
    with_tmp["TMPDIR"] = home / "no-such-folder";
    EXPECT_EQ(Start(with_tmp), "unguarded");
}

TEST_F(SingleInstance, LaunchersStartedAtTheSameInstantElectExactlyOne) {
    for (int round = 0; round < 3; ++round) {
        int gate[2];
        ASSERT_EQ(pipe2(gate, O_CLOEXEC), 0);
        std::vector<Child> racers;
        for (int i = 0; i < 6; ++i) racers.push_back(Spawn({"single", "gate"}, env(), gate[0]));
        close(gate[0]);
        usleep(200 * 1000);  // let them all reach the gate
        close(gate[1]);      // and release them together
        int first = 0, running = 0;
        for (auto& r : racers) {
            std::string const s = ReadLine(r.out);
            first += s == "first";
            running += s == "running";
        }
        for (auto& r : racers) Stop(r, SIGKILL);
        EXPECT_EQ(first, 1) << "round " << round;
        EXPECT_EQ(running, 5) << "round " << round;
    }
}

}  // namespace

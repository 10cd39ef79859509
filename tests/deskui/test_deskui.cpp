// deskui: the path table, the language code, the per-user single-instance
// guard (with real launcher processes) and the scale factor.
#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <QLocale>
#include <atomic>
#include <cstring>
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
    TempDir stand_in{"korvane-deskui-tmp"};  // where the stand-in's folder goes
    std::vector<Child> children;
    std::map<std::string, std::string> env() const { return {{"HOME", home.path()}}; }
    ~SingleInstance() override {
        for (auto& c : children) Stop(c, SIGKILL);
    }
    std::string Start(std::map<std::string, std::string> const& e, std::string const& base = "") {
        children.push_back(
            Spawn({"single", "--stand-in", base.empty() ? stand_in.path() : base}, e));
        return ReadLine(children.back().out);
    }
    std::string LockPath() const {
        return QtSingleApplication::lockFilePath(QString::fromStdString(home.path())).toStdString();
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

    // Nothing that can be flocked there: the lock in a private folder of
    // the temporary folder stands in, and still lets one launcher of the
    // home run, whatever the environment says.
    ASSERT_EQ(unlink(lock.c_str()), 0);
    ASSERT_TRUE(testsupport::MakeDirs(lock));
    EXPECT_EQ(Start(env()), "first");
    auto elsewhere_tmp = env();
    elsewhere_tmp["TMPDIR"] = home / "no-such-folder";
    EXPECT_EQ(Start(elsewhere_tmp), "running");
    std::string const folder = stand_in / ("korvane-" + std::to_string(geteuid()));
    struct stat st {};
    ASSERT_EQ(lstat(folder.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0700u);
    for (auto& c : children) Stop(c);
    children.clear();

    // A stand-in folder that others could write into is not used; with no
    // lock at all the launcher goes on unguarded.
    ASSERT_EQ(chmod(folder.c_str(), 0777), 0);
    EXPECT_EQ(Start(env()), "unguarded");
    EXPECT_EQ(Start(env(), home / "no-such-folder"), "unguarded");
}

TEST_F(SingleInstance, ALauncherWithoutThePerUserLockStillMeetsTheFirst) {
    EXPECT_EQ(Start(env()), "first");
    // The first holds its lock file; the next one cannot open the name, and
    // reaches the home through a link, as another spelling of HOME would.
    std::string const lock = LockPath();
    ASSERT_EQ(unlink(lock.c_str()), 0);
    ASSERT_TRUE(testsupport::MakeDirs(lock));
    std::string const link = stand_in / "home-link";
    ASSERT_EQ(symlink(home.path().c_str(), link.c_str()), 0);
    EXPECT_EQ(Start({{"HOME", link}}), "running");
    EXPECT_EQ(Start(env()), "running");
}

// A socket at the path: nobody, root included, can open it as a file.
void MakeSocketFile(std::string const& path) {
    int const fd = socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    ASSERT_GE(fd, 0);
    sockaddr_un addr{};
    addr.sun_family = AF_UNIX;
    ASSERT_LT(path.size(), sizeof addr.sun_path);
    std::memcpy(addr.sun_path, path.c_str(), path.size() + 1);
    ASSERT_EQ(bind(fd, reinterpret_cast<sockaddr*>(&addr), sizeof addr), 0);
    close(fd);
}

TEST_F(SingleInstance, LaunchersStartedAtTheSameInstantElectExactlyOne) {
    // In the last rounds every launcher finds an unopenable lock file and no
    // stand-in: each may replace the file, but none removes another's new one.
    for (int round = 0; round < 6; ++round) {
        bool const unopenable = round >= 3;
        std::string const base = unopenable ? home / "no-such-folder" : stand_in.path();
        if (unopenable) {
            ASSERT_TRUE(testsupport::MakeDirs(home / ".Korvane"));
            unlink(LockPath().c_str());
            MakeSocketFile(LockPath());
        }
        int gate[2];
        ASSERT_EQ(pipe2(gate, O_CLOEXEC), 0);
        std::vector<Child> racers;
        for (int i = 0; i < 6; ++i)
            racers.push_back(Spawn({"single", "gate", "--stand-in", base}, env(), gate[0]));
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

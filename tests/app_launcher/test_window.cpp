// The progress dialog as a real X11 window on an Xvfb server that the test
// starts: the built launcher during an upgrade (title and geometry as X sees
// them, a screenshot saved to the build folder), and the same dialog driven
// in this process, where Qt's own view also gives the label.

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QApplication>
#include <QThread>
#include <QTimer>

#include <algorithm>
#include <chrono>
#include <regex>
#include <string>
#include <thread>

#include "app/Notify_Adapter.h"
#include "app/ProcessingProgressDialog.h"
#include "app/StrTable.h"
#include "app/launcher.h"
#include "deskui/UIPathManager.h"
#include "service/cloud-service.h"
#include "tests/app_launcher/E2ESupport.h"
#include "tests/support/TestSupport.h"

using namespace e2e;

namespace {

bool OnPath(std::string const& tool) {
    return RunCommand({"/bin/sh", "-c", "command -v " + tool}) == 0;
}

// An Xvfb display of our own, stopped with the test. Xvfb creates its socket
// before it accepts connections; it is ready once it has written the display
// number it chose to -displayfd.
class XServer {
public:
    XServer() {
        std::string xvfb;
        RunCommand({"/bin/sh", "-c", "command -v Xvfb"}, {}, 5000, &xvfb);
        while (!xvfb.empty() && xvfb.back() == '\n') xvfb.pop_back();
        if (xvfb.empty()) {
            reason_ = "Xvfb is not installed (Debian package xvfb)";
            return;
        }
        std::string const number = dir_ / "display";
        pid_t const pid =
            Spawn({xvfb, "-displayfd", "1", "-screen", "0", "1024x768x24", "-nolisten", "tcp"}, {},
                  number, "", As::Root);
        auto const until = std::chrono::steady_clock::now() + std::chrono::seconds(30);
        std::smatch m;
        std::string text;
        while (std::chrono::steady_clock::now() < until && !WaitFor(pid, 0)) {
            text = testsupport::ReadFile(number);
            if (std::regex_match(text, m, std::regex(R"((\d+)\n)"))) {
                pid_ = pid;
                display_ = ":" + m[1].str();
                return;
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
        }
        kill(pid, SIGKILL);
        WaitFor(pid, 2000);
        reason_ = "Xvfb did not report a display within 30 s: '" + text + "'";
    }
    ~XServer() {
        if (pid_ > 0) {
            kill(pid_, SIGTERM);
            if (!WaitFor(pid_, 3000)) {
                kill(pid_, SIGKILL);
                WaitFor(pid_, 2000);
            }
        }
    }
    bool ok() const { return pid_ > 0; }
    std::string const& display() const { return display_; }
    std::string const& reason() const { return reason_; }

private:
    testsupport::TempDir dir_{"korvane-xvfb"};
    pid_t pid_ = -1;
    std::string display_;
    std::string reason_;
};

struct XWindow {
    std::string id;
    int x = -1, y = -1, width = -1, height = -1;
    std::string name;
};

// The window named exactly `title`, as the X server reports it.
XWindow FindWindow(std::string const& display, std::string const& title, int timeout_ms) {
    XWindow w;
    EnvChanges const env = {{"DISPLAY", display}};
    auto const until = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeout_ms);
    while (std::chrono::steady_clock::now() < until) {
        std::string out;
        if (RunCommand({"/usr/bin/xdotool", "search", "--onlyvisible", "--name", "^" + title + "$"},
                       env, 5000, &out) == 0 &&
            !out.empty()) {
            w.id = out.substr(0, out.find('\n'));
            std::string info;
            RunCommand({"/usr/bin/xwininfo", "-id", w.id}, env, 5000, &info);
            std::smatch m;
            if (std::regex_search(info, m, std::regex(R"(Absolute upper-left X: +(-?\d+))")))
                w.x = std::stoi(m[1]);
            if (std::regex_search(info, m, std::regex(R"(Absolute upper-left Y: +(-?\d+))")))
                w.y = std::stoi(m[1]);
            if (std::regex_search(info, m, std::regex(R"(Width: (\d+))")))
                w.width = std::stoi(m[1]);
            if (std::regex_search(info, m, std::regex(R"(Height: (\d+))")))
                w.height = std::stoi(m[1]);
            RunCommand({"/usr/bin/xdotool", "getwindowname", w.id}, env, 5000, &w.name);
            while (!w.name.empty() && w.name.back() == '\n') w.name.pop_back();
            return w;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    return w;
}

TEST(LauncherWindow, DialogDuringAnUpgradeOnXvfb) {
    for (char const* tool : {"xdotool", "xwininfo", "import"})
        ASSERT_TRUE(OnPath(tool)) << tool << " is not installed (scripts/setup.sh installs it)";
    XServer x;
    ASSERT_TRUE(x.ok()) << x.reason();

    testsupport::TempDir tmp("korvane-window");
    std::string const home = UserHome(tmp.path(), "home ünï");
    ASSERT_FALSE(home.empty());
    std::string const korvane = home + "/.Korvane";
    EnvChanges env = {{"HOME", home},
                      {"QT_QPA_PLATFORM", std::string("offscreen")},
                      {"LANG", std::string("C.UTF-8")},
                      {"LANGUAGE", std::nullopt},
                      {"LC_ALL", std::nullopt},
                      {"KORVANE_UI_LIFETIME", std::string("60")}};
    // First install, headless.
    LauncherRun first = RunLauncher(BuiltBundle(), env, tmp.path());
    ASSERT_EQ(first.exit_code, 0) << first.err;
    // Its client may still be starting when the launcher has gone: stop it
    // once it runs, so that it cannot write the pid file later.
    pid_t const installed = WaitForClient(korvane + "/ui.pid", -1);
    ASSERT_GT(installed, 1);
    KillLeftovers(home);

    // An older install and a client that takes 8 s to stop: the dialog stays
    // up at least that long, longer than the looking below takes even on a
    // busy machine.
    ASSERT_TRUE(testsupport::WriteFile(korvane + "/Korvane.app/Contents/Resources/INFO",
                                       "[Version]\nbuild_version=1\n"));
    EnvChanges slow = env;
    slow["KORVANE_UI_EXIT_DELAY"] = std::string("8");
    pid_t const client = Spawn({korvane + "/Korvane.app/Contents/MacOS/korvane-ui"}, slow);
    ASSERT_EQ(WaitForClient(korvane + "/ui.pid", installed), client);

    EnvChanges on_x = env;
    on_x["QT_QPA_PLATFORM"] = std::string("xcb");
    on_x["DISPLAY"] = x.display();
    pid_t const launcher = Spawn({LauncherExe(BuiltBundle())}, on_x, tmp / "x.out", tmp / "x.err");
    ASSERT_GT(launcher, 1);

    XWindow w = FindWindow(x.display(), "Korvane Client", 5000);
    ASSERT_FALSE(w.id.empty()) << "no window titled 'Korvane Client' appeared; launcher stderr: "
                               << testsupport::ReadFile(tmp / "x.err");
    EXPECT_EQ(w.name, "Korvane Client");
    EXPECT_EQ(w.width, 400);
    EXPECT_EQ(w.height, 80);

    std::string const shot = BinaryDir() + "/launcher-dialog.png";
    unlink(shot.c_str());
    // Give the dialog a moment to paint its label and bar.
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    EXPECT_EQ(RunCommand({"/usr/bin/import", "-display", x.display(), "-window", "root", shot}, {},
                         20000),
              0);
    struct stat st {};
    EXPECT_EQ(stat(shot.c_str(), &st), 0);
    EXPECT_GT(st.st_size, 1000) << shot;
    // The dialog's WhiteSmoke face is on the screen, against Xvfb's black.
    std::string mean;
    EXPECT_EQ(RunCommand({"/usr/bin/convert", shot, "-crop",
                          std::to_string(w.width) + "x" + std::to_string(w.height) + "+" +
                              std::to_string(w.x) + "+" + std::to_string(w.y),
                          "-format", "%[fx:mean]", "info:"},
                         {}, 20000, &mean),
              0);
    EXPECT_GT(atof(mean.c_str()), 0.7) << "the dialog did not paint: mean brightness " << mean;

    // A second launcher meanwhile leaves at once and opens no window.
    LauncherRun second = RunLauncher(BuiltBundle(), on_x, tmp.path(), 10000);
    EXPECT_EQ(second.exit_code, 0) << second.err;
    EXPECT_TRUE(Alive(launcher)) << "the upgrade ended before the second launcher was checked";
    std::string windows;
    RunCommand({"/usr/bin/xdotool", "search", "--name", "^Korvane Client$"},
               {{"DISPLAY", x.display()}}, 5000, &windows);
    EXPECT_EQ(std::count(windows.begin(), windows.end(), '\n'), 1) << "windows: " << windows;

    int status = 0;
    ASSERT_TRUE(WaitFor(launcher, 20000, &status));
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0)
        << testsupport::ReadFile(tmp / "x.err");
    EXPECT_EQ(InfoBuild(korvane + "/Korvane.app/Contents/Resources/INFO"),
              InfoBuild(BuiltBundle() + "/Contents/Resources/INFO"));
    // Hidden after the run: the window is gone with the process.
    EXPECT_TRUE(FindWindow(x.display(), "Korvane Client", 200).id.empty());
    KillLeftovers(home);
}

// A ~/.Korvane that an admin tool left to root: no client can be installed,
// so the user is told, the message stays until they close it, and the run
// fails.
TEST(LauncherWindow, NoClientToStartIsToldUntilTheUserClosesIt) {
    for (char const* tool : {"xdotool", "import"})
        ASSERT_TRUE(OnPath(tool)) << tool << " is not installed (scripts/setup.sh installs it)";
    XServer x;
    ASSERT_TRUE(x.ok()) << x.reason();
    testsupport::TempDir tmp("korvane-window");
    std::string const home = UserHome(tmp.path(), "home");
    ASSERT_FALSE(home.empty());
    ASSERT_TRUE(testsupport::MakeDirs(home + "/.Korvane"));  // root's, 0755
    EnvChanges const on_x = {{"HOME", home},
                             {"QT_QPA_PLATFORM", std::string("xcb")},
                             {"DISPLAY", x.display()},
                             {"LANG", std::string("C.UTF-8")},
                             {"LANGUAGE", std::nullopt},
                             {"LC_ALL", std::nullopt}};
    pid_t const launcher = Spawn({LauncherExe(BuiltBundle())}, on_x, tmp / "out", tmp / "err");
    ASSERT_GT(launcher, 1);
    ASSERT_EQ(WaitForLauncher(launcher, 30000), Ending::WaitsOnTheUser)
        << testsupport::ReadFile(tmp / "err");
    // No log folder: the log lines go to stderr.
    EXPECT_NE(
        testsupport::ReadFile(tmp / "err").find("no client could be started, telling the user"),
        std::string::npos);
    XWindow const w = FindWindow(x.display(), "Korvane Client", 5000);
    ASSERT_FALSE(w.id.empty()) << "no message on the screen";
    std::string const shot = BinaryDir() + "/launcher-no-client.png";
    EXPECT_EQ(RunCommand({"/usr/bin/import", "-display", x.display(), "-window", "root", shot}, {},
                         20000),
              0);
    std::this_thread::sleep_for(std::chrono::seconds(1));
    EXPECT_TRUE(Alive(launcher)) << "the message did not wait for the user";

    // The user presses Return: the message's only button.
    EnvChanges const display = {{"DISPLAY", x.display()}};
    EXPECT_EQ(RunCommand({"/usr/bin/xdotool", "windowfocus", "--sync", w.id}, display, 5000), 0);
    EXPECT_EQ(RunCommand({"/usr/bin/xdotool", "key", "Return"}, display, 5000), 0);
    int status = 0;
    ASSERT_TRUE(WaitFor(launcher, 10000, &status)) << "the message did not close";
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == Launcher::kNoClientExitCode)
        << "wait status " << status;
    EXPECT_FALSE(testsupport::PathExists(home + "/.Korvane/Korvane.app"));
    KillLeftovers(home);
}

// A service whose upgrade takes a while, so the dialog can be looked at.
class SlowService : public Service {
public:
    void StopService() override {}
    int HandlePackageUpgrade() override {
        Notify_Adapter::GetInstance()->UpdateProgress(4, 1);
        QThread::msleep(1500);
        return 0;
    }
    void PostUpgrade() override {}
    void PreUpgrade() override {}
    bool IsNeedUpgrade() override { return true; }
};

// At a device pixel ratio of 2 (every Retina Mac) the dialog keeps its size
// in widget units; only its device pixels double.
TEST(LauncherWindow, LabelAndGeometryAsQtAndXSeeThemAtScaleTwo) {
    for (char const* tool : {"xdotool", "xwininfo"})
        ASSERT_TRUE(OnPath(tool)) << tool << " is not installed (scripts/setup.sh installs it)";
    XServer x;
    ASSERT_TRUE(x.ok()) << x.reason();
    qputenv("QT_QPA_PLATFORM", "xcb");
    qputenv("DISPLAY", QByteArray::fromStdString(x.display()));
    qputenv("QT_SCALE_FACTOR", "2");
    testsupport::TempDir tmp("korvane-window");
    UIPathManager::getInstance()->setPath(
        "root_resource_path", QString::fromStdString(BuiltBundle() + "/Contents/Resources"));
    UIPathManager::getInstance()->setPath("user_tarnwick_path",
                                          QString::fromStdString(tmp / ".Tarnwick"));
    int argc = 1;
    char arg0[] = "app_launcher_window";
    char* argv[] = {arg0, nullptr};
    QApplication app(argc, argv);
    StrTable::InitStrTable();
    Notify_Adapter::GetInstance();

    auto* launcher = new Launcher(new Worker(new SlowService));
    ProcessingProgressDialog* d = launcher->dialog();
    QString label_seen, title_seen;
    QSize size_seen;
    int value_seen = -1;
    XWindow w;
    // Look while the worker sleeps in its upgrade.
    QTimer::singleShot(700, [&] {
        label_seen = d->labelText();
        title_seen = d->windowTitle();
        size_seen = d->frameGeometry().size();
        value_seen = d->value();
        w = FindWindow(x.display(), "Korvane Client", 500);
    });
    QTimer::singleShot(20000, [] { QCoreApplication::quit(); });
    launcher->Run();
    launcher->Start();
    app.exec();
    EXPECT_EQ(title_seen, QStringLiteral("Korvane Client"));
    EXPECT_EQ(label_seen, QStringLiteral("Korvane Client is initializing..."));
    EXPECT_EQ(size_seen, QSize(400, 80)) << "no window manager: no frame";
    EXPECT_EQ(value_seen, 25);
    ASSERT_FALSE(w.id.empty());
    EXPECT_EQ(w.width, 800);
    EXPECT_EQ(w.height, 160);
    EXPECT_EQ(d->labelText(), QStringLiteral("Korvane Client is ready."));
    EXPECT_FALSE(d->isVisible());
    delete launcher;
}

}  // namespace

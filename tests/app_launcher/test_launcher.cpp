// Launcher, Worker and the progress dialog on a real Qt event loop and a real
// worker thread. The upgrade service is a small recording Service, so the
// sequence and the signals can be observed without a package.

#include <gtest/gtest.h>

#include <QApplication>
#include <QEvent>
#include <QMessageBox>
#include <QMetaObject>
#include <QProgressBar>
#include <QPushButton>
#include <QSignalSpy>
#include <QThread>
#include <QTimer>
#include <QTranslator>

#include <algorithm>
#include <climits>
#include <future>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "app/Notify_Adapter.h"
#include "app/ProcessingProgressDialog.h"
#include "app/Startup.h"
#include "app/StrTable.h"
#include "app/launcher.h"
#include "deskui/UIPathManager.h"
#include "log/Logger.h"
#include "service/cloud-service.h"
#include "tests/app_launcher/QtTestApp.h"
#include "tests/support/TestSupport.h"

using testsupport::TempDir;

namespace {

using launchertest::App;
using launchertest::SourceDir;

// Ordered record of what happened on which thread.
class Journal {
public:
    void Add(std::string what) {
        std::lock_guard<std::mutex> g(mu_);
        events_.push_back(std::move(what));
        threads_.push_back(QThread::currentThread());
    }
    std::vector<std::string> Events() {
        std::lock_guard<std::mutex> g(mu_);
        return events_;
    }
    std::vector<QThread*> Threads() {
        std::lock_guard<std::mutex> g(mu_);
        return threads_;
    }

private:
    std::mutex mu_;
    std::vector<std::string> events_;
    std::vector<QThread*> threads_;
};

class RecordingService : public Service {
public:
    RecordingService(Journal* j, bool need_upgrade, int upgrade_result)
        : journal_(j), need_upgrade_(need_upgrade), upgrade_result_(upgrade_result) {}

    void StopService() override { journal_->Add("StopService"); }
    int HandlePackageUpgrade() override {
        journal_->Add("HandlePackageUpgrade");
        // What the extractor reports while it works.
        Notify_Adapter::GetInstance()->UpdateDialogText(QStringLiteral("extracting"));
        Notify_Adapter::GetInstance()->UpdateProgress(10, 3);
        return upgrade_result_;
    }
    void PostUpgrade() override {
        if (post_upgrade_delay_ms > 0)
            QThread::msleep(static_cast<unsigned long>(post_upgrade_delay_ms));
        // RemoveAgedFolders is not virtual: its effect tells whether it ran.
        std::string const aged = UIPathManager::getInstance()
                                     ->getPath(QStringLiteral("user_tarnwick_path"))
                                     .toStdString() +
                                 "/app";
        if (!testsupport::PathExists(aged)) journal_->Add("RemoveAgedFolders");
        journal_->Add("PostUpgrade");
    }
    void PreUpgrade() override { journal_->Add("PreUpgrade"); }
    bool IsNeedUpgrade() override {
        journal_->Add("IsNeedUpgrade");
        return need_upgrade_;
    }

    bool ClientStarted() const override { return client_started; }
    // What a refusal before the stop leaves for the launcher to tell.
    void Refuse(Refusal why) { refusal_ = why; }

    int post_upgrade_delay_ms = 0;
    bool client_started = true;

private:
    Journal* journal_;
    bool need_upgrade_;
    int upgrade_result_;
};

class LauncherTest : public ::testing::Test {
protected:
    void SetUp() override {
        App();
        // The path keys the dialog and RemoveAgedFolders read.
        ASSERT_TRUE(testsupport::MakeDirs(tmp_ / "Resources/images"));
        ASSERT_TRUE(testsupport::MakeDirs(tmp_ / "home/.Tarnwick/app/old"));
        std::string const icon =
            testsupport::ReadFile(SourceDir() + "/app/bundle/ico_72_tarnwick.png");
        ASSERT_FALSE(icon.empty());
        ASSERT_TRUE(testsupport::WriteFile(tmp_ / "Resources/images/ico_72_tarnwick.png", icon));
        UIPathManager::getInstance()->setPath(QStringLiteral("root_resource_path"),
                                              QString::fromStdString(tmp_ / "Resources"));
        UIPathManager::getInstance()->setPath(QStringLiteral("user_tarnwick_path"),
                                              QString::fromStdString(tmp_ / "home/.Tarnwick"));
        ASSERT_TRUE(
            testsupport::WriteFile(tmp_ / "launcher.debug", "launcher_debug=7\nservice_debug=7\n"));
        Logger::Initialize(Logger::File, tmp_ / "launcher.log", tmp_ / "launcher.debug", 50,
                           Logger::ThreadLock);
        StrTable::InitStrTable();
        Notify_Adapter::GetInstance();  // belongs to the GUI thread, as in the launcher
    }
    void TearDown() override { Logger::Destroy(); }

    std::string Log() { return testsupport::ReadFile(tmp_ / "launcher.log"); }

    TempDir tmp_{"korvane-launcher"};
    Journal journal_;
};

// Runs HandleServicce once on the worker's own thread and waits for the end.
void RunWorkerOnce(Worker* worker, Journal* journal) {
    std::promise<void> done;
    QObject::connect(worker, &Worker::sigShowMsg, [journal] { journal->Add("sigShowMsg"); });
    QObject::connect(worker, &Worker::sigUpdateProgress, [journal](int total, int steps) {
        journal->Add("sigUpdateProgress(" + std::to_string(total) + "," + std::to_string(steps) +
                     ")");
    });
    QObject::connect(worker, &Worker::sigSetLabelText, [journal](QString const& text) {
        journal->Add("sigSetLabelText(" + text.toStdString() + ")");
    });
    QObject::connect(worker, &Worker::sigServiceDone, [journal, &done] {
        journal->Add("sigServiceDone");
        done.set_value();
    });
    worker->StartThread();
    ASSERT_TRUE(QMetaObject::invokeMethod(worker, "HandleServicce", Qt::QueuedConnection));
    ASSERT_EQ(done.get_future().wait_for(std::chrono::seconds(20)), std::future_status::ready);
    worker->QuitThread();
    worker->JoinThread();
}

TEST(LauncherProgress, ValueArithmetic) {
    EXPECT_EQ(Launcher::ProgressValue(7, 3), 42);
    EXPECT_EQ(Launcher::ProgressValue(100, 100), 100);
    EXPECT_EQ(Launcher::ProgressValue(3, 1), 33);
    EXPECT_EQ(Launcher::ProgressValue(1, 0), 0);
    // steps * 100 does not fit in 32 bits here.
    EXPECT_EQ(Launcher::ProgressValue(INT_MAX, INT_MAX - 1), 99);
    EXPECT_EQ(Launcher::ProgressValue(INT_MAX, INT_MAX / 2), 49);
    // Out-of-range reports are clamped, a total below 1 is ignored.
    EXPECT_EQ(Launcher::ProgressValue(10, 50), 100);
    EXPECT_EQ(Launcher::ProgressValue(10, -5), 0);
    EXPECT_EQ(Launcher::ProgressValue(0, 5), -1);
    EXPECT_EQ(Launcher::ProgressValue(-3, 1), -1);
    EXPECT_EQ(Launcher::ProgressValue(INT_MIN, INT_MIN), -1);
}

// Reports from another thread reach the dialog gathered, in order, and the
// last of a burst is never lost.
TEST_F(LauncherTest, ABurstOfExtractionReportsEndsAtTheLastOne) {
    Launcher launcher(new Worker(new RecordingService(&journal_, false, 0)));
    ProcessingProgressDialog* dialog = launcher.dialog();
    std::vector<int> seen;
    QProgressBar* bar = dialog->findChild<QProgressBar*>();
    ASSERT_NE(bar, nullptr);
    QObject::connect(bar, &QProgressBar::valueChanged, [&seen](int v) { seen.push_back(v); });
    for (int const total : {1000, 7}) {
        seen.clear();
        std::thread reporter([total] {
            for (int i = 1; i <= total; ++i)
                Notify_Adapter::GetInstance()->UpdateProgress(total, i);
        });
        reporter.join();
        for (int i = 0; i < 500 && (seen.empty() || seen.back() != 99); ++i)
            QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
        ASSERT_FALSE(seen.empty());
        EXPECT_EQ(seen.back(), 99) << "the last report, short of 100";
        EXPECT_TRUE(std::is_sorted(seen.begin(), seen.end()));
        launcher.UpdateProgress(1, 0);  // back to 0 for the next burst
    }
}

TEST_F(LauncherTest, UpdateProgressDrivesTheDialog) {
    Launcher launcher(new Worker(new RecordingService(&journal_, false, 0)));
    ProcessingProgressDialog* dialog = launcher.dialog();
    launcher.UpdateProgress(7, 3);
    EXPECT_EQ(dialog->value(), 42);
    launcher.UpdateProgress(0, 0);
    EXPECT_EQ(dialog->value(), 42) << "a total below 1 must leave the bar alone";
    launcher.UpdateProgress(-1, 7);
    EXPECT_EQ(dialog->value(), 42);
    launcher.UpdateProgress(INT_MAX, INT_MAX - 1);
    EXPECT_EQ(dialog->value(), 99);
    launcher.UpdateProgress(2, 9);
    EXPECT_EQ(dialog->value(), 100);
    // The last entry on disk is not yet a flushed client.
    launcher.UpdateExtractionProgress(10, 1);
    EXPECT_EQ(dialog->value(), 10);
    launcher.UpdateExtractionProgress(10, 10);
    EXPECT_EQ(dialog->value(), 99);
    launcher.UpdateExtractionProgress(0, 0);
    EXPECT_EQ(dialog->value(), 99);
    launcher.UpdateProgress(100, 100);
    EXPECT_EQ(dialog->value(), 100);
    launcher.SetLabelText(QStringLiteral("label while hidden"));
    EXPECT_EQ(dialog->labelText(), QStringLiteral("label while hidden"));
    EXPECT_FALSE(dialog->isVisible());
}

TEST_F(LauncherTest, NoUpgradeEmitsNoProgressAndStillLaunches) {
    Worker worker(new RecordingService(&journal_, false, 0));
    QSignalSpy show(&worker, &Worker::sigShowMsg);
    QSignalSpy progress(&worker, &Worker::sigUpdateProgress);
    QSignalSpy label(&worker, &Worker::sigSetLabelText);
    QSignalSpy done(&worker, &Worker::sigServiceDone);
    RunWorkerOnce(&worker, &journal_);

    EXPECT_EQ(show.count(), 0);
    EXPECT_EQ(progress.count(), 0);
    EXPECT_EQ(label.count(), 0);
    EXPECT_EQ(done.count(), 1);
    std::vector<std::string> const want = {"PreUpgrade", "IsNeedUpgrade", "RemoveAgedFolders",
                                           "PostUpgrade", "sigServiceDone"};
    EXPECT_EQ(journal_.Events(), want);
    for (QThread* t : journal_.Threads())
        EXPECT_NE(t, QThread::currentThread()) << "work ran on the GUI thread";
    std::string const log = Log();
    EXPECT_NE(log.find("launcher("), std::string::npos);
    EXPECT_NE(log.find("running\n"), std::string::npos);
    EXPECT_NE(log.find("no need to upgrade\n"), std::string::npos);
    EXPECT_NE(log.find("done\n"), std::string::npos);
    EXPECT_EQ(log.find("Failed to upgrade package"), std::string::npos);
}

TEST_F(LauncherTest, SuccessfulUpgradeShowsThenReportsReady) {
    Worker worker(new RecordingService(&journal_, true, 0));
    RunWorkerOnce(&worker, &journal_);
    std::vector<std::string> const want = {"PreUpgrade",
                                           "IsNeedUpgrade",
                                           "sigShowMsg",
                                           "HandlePackageUpgrade",
                                           "sigUpdateProgress(100,100)",
                                           "sigSetLabelText(Korvane Client is ready.)",
                                           "RemoveAgedFolders",
                                           "PostUpgrade",
                                           "sigServiceDone"};
    EXPECT_EQ(journal_.Events(), want);
    EXPECT_EQ(Log().find("no need to upgrade"), std::string::npos);
}

TEST_F(LauncherTest, FailedUpgradeIsLoggedAndStillLaunches) {
    Worker worker(new RecordingService(&journal_, true, -1));
    RunWorkerOnce(&worker, &journal_);
    std::vector<std::string> const want = {
        "PreUpgrade",        "IsNeedUpgrade", "sigShowMsg",    "HandlePackageUpgrade",
        "RemoveAgedFolders", "PostUpgrade",   "sigServiceDone"};
    EXPECT_EQ(journal_.Events(), want);
    EXPECT_NE(Log().find("[ERROR] launcher("), std::string::npos);
    EXPECT_NE(Log().find("Failed to upgrade package\n"), std::string::npos);
}

// The whole launcher on the GUI event loop: the queued signals reach the
// dialog in order, LaunchDone ends the loop and joins the worker.
struct LoopRun {
    std::vector<int> values;
    QStringList labels;
    bool shown = false;
    bool timed_out = false;
};

class ShowWatch : public QObject {
public:
    explicit ShowWatch(bool* shown) : shown_(shown) {}
    bool eventFilter(QObject*, QEvent* e) override {
        if (e->type() == QEvent::Show) *shown_ = true;
        return false;
    }

private:
    bool* shown_;
};

// With `watch_dialog` the dialog is built up front so its bar and Show
// events can be followed; without it, the run decides whether one is built.
LoopRun RunLauncherLoop(Launcher* launcher, bool start_first, bool watch_dialog = true) {
    LoopRun run;
    ShowWatch watch(&run.shown);
    if (watch_dialog) {
        ProcessingProgressDialog* dialog = launcher->dialog();
        QProgressBar* bar = dialog->findChild<QProgressBar*>();
        EXPECT_NE(bar, nullptr);
        if (bar)
            QObject::connect(bar, &QProgressBar::valueChanged,
                             [&run](int v) { run.values.push_back(v); });
        dialog->installEventFilter(&watch);
    }
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, [&] {
        if (launcher->hasDialog() && launcher->dialog()->isVisible()) run.shown = true;
    });
    poll.start(50);
    QTimer guard;
    guard.setSingleShot(true);
    QObject::connect(&guard, &QTimer::timeout, [&run] {
        run.timed_out = true;
        QCoreApplication::quit();
    });
    guard.start(20000);
    if (start_first) {
        launcher->Start();
        launcher->Run();
    } else {
        launcher->Run();
        launcher->Start();
    }
    QApplication::exec();
    if (launcher->hasDialog()) run.labels << launcher->dialog()->labelText();
    return run;
}

TEST_F(LauncherTest, LaunchDoneEndsTheLoopAfterAnUpgrade) {
    auto* launcher = new Launcher(new Worker(new RecordingService(&journal_, true, 0)));
    LoopRun run = RunLauncherLoop(launcher, false);
    EXPECT_FALSE(run.timed_out);
    EXPECT_TRUE(run.shown) << "an upgrade shows the dialog";
    ProcessingProgressDialog* dialog = launcher->dialog();
    EXPECT_FALSE(dialog->isVisible()) << "LaunchDone hides the dialog";
    EXPECT_EQ(dialog->value(), 100);
    EXPECT_EQ(run.labels.back(), QStringLiteral("Korvane Client is ready."));
    // The extractor's 3 of 10 (30), the worker's 100.
    ASSERT_FALSE(run.values.empty());
    EXPECT_NE(std::find(run.values.begin(), run.values.end(), 30), run.values.end());
    EXPECT_EQ(run.values.back(), 100);
    std::vector<std::string> const events = journal_.Events();
    EXPECT_EQ(std::count(events.begin(), events.end(), "PreUpgrade"), 1);
    delete launcher;  // the worker's thread has already ended
}

TEST_F(LauncherTest, FailedUpgradeKeepsTheExtractorsLabel) {
    auto* launcher = new Launcher(new Worker(new RecordingService(&journal_, true, -1)));
    LoopRun run = RunLauncherLoop(launcher, false);
    EXPECT_FALSE(run.timed_out);
    EXPECT_EQ(run.labels.back(), QStringLiteral("extracting"));
    EXPECT_EQ(launcher->dialog()->value(), 100) << "LaunchDone still sets 100";
    delete launcher;
}

// No client to start: the message names the refusal's cause where the
// table has a text for it.
TEST_F(LauncherTest, NoClientToStartNamesTheCause) {
    struct Case {
        Service::Refusal refusal;
        int text;
    } const cases[] = {{Service::Refusal::NoRoom, 111},
                       {Service::Refusal::NoPermission, 146},
                       {Service::Refusal::None, 532}};
    for (Case const& c : cases) {
        SCOPED_TRACE(c.text);
        auto* service = new RecordingService(&journal_, true, -1);
        service->Refuse(c.refusal);
        service->client_started = false;
        Launcher launcher(new Worker(service));
        QString told;
        QTimer poll;
        QObject::connect(&poll, &QTimer::timeout, [&] {
            if (launcher.noClientMessage() && told.isEmpty()) {
                told = launcher.noClientMessage()->informativeText();
                launcher.noClientMessage()->done(0);  // the user closes it
            }
        });
        poll.start(20);
        QTimer guard;
        guard.setSingleShot(true);
        QObject::connect(&guard, &QTimer::timeout, [] { QCoreApplication::exit(99); });
        guard.start(20000);
        launcher.Run();
        launcher.Start();
        EXPECT_EQ(QApplication::exec(), Launcher::kNoClientExitCode);
        EXPECT_EQ(told, StrTable::LoadStr(c.text));
    }
}

TEST_F(LauncherTest, StartBeforeTheThreadRunsHandlesOnce) {
    auto* launcher = new Launcher(new Worker(new RecordingService(&journal_, false, 0)));
    LoopRun run = RunLauncherLoop(launcher, true, false);
    EXPECT_FALSE(run.timed_out);
    EXPECT_FALSE(run.shown) << "no upgrade: the dialog never shows";
    EXPECT_FALSE(launcher->hasDialog()) << "no upgrade: no window is even built";
    std::vector<std::string> const events = journal_.Events();
    EXPECT_EQ(std::count(events.begin(), events.end(), "PreUpgrade"), 1);
    EXPECT_EQ(std::count(events.begin(), events.end(), "PostUpgrade"), 1);
    delete launcher;
}

// A run with nothing to upgrade that still takes longer than a progress
// dialog's minimum duration shows the dialog, as the toolkit would.
TEST_F(LauncherTest, SlowRunShowsTheDialogAfterTheMinimumDuration) {
    auto* service = new RecordingService(&journal_, false, 0);
    service->post_upgrade_delay_ms = Launcher::kMinimumDurationMs + 600;
    auto* launcher = new Launcher(new Worker(service));
    LoopRun run = RunLauncherLoop(launcher, false, false);
    EXPECT_FALSE(run.timed_out);
    EXPECT_TRUE(run.shown);
    ASSERT_TRUE(launcher->hasDialog());
    EXPECT_EQ(launcher->dialog()->labelText(), QStringLiteral("Korvane Client is initializing..."));
    EXPECT_FALSE(launcher->dialog()->isVisible());
    delete launcher;
}

TEST_F(LauncherTest, DialogAsConstructed) {
    Launcher launcher(new Worker(new RecordingService(&journal_, false, 0)));
    ProcessingProgressDialog* d = launcher.dialog();
    EXPECT_EQ(d->windowTitle(), QStringLiteral("Korvane Client"));
    EXPECT_EQ(d->labelText(), QStringLiteral("Korvane Client is initializing..."));
    EXPECT_EQ(d->minimum(), 0);
    EXPECT_EQ(d->maximum(), 100);
    EXPECT_EQ(d->value(), 0);
    EXPECT_EQ(d->size(), QSize(400, 80));
    EXPECT_EQ(d->minimumSize(), QSize(400, 80));
    EXPECT_EQ(d->maximumSize(), QSize(400, 80));
    EXPECT_EQ(d->windowFlags() & (Qt::WindowTitleHint | Qt::WindowSystemMenuHint),
              Qt::WindowTitleHint | Qt::WindowSystemMenuHint);
    EXPECT_FALSE(d->windowFlags() & Qt::WindowCloseButtonHint);
    EXPECT_FALSE(d->isModal()) << "the launcher makes it non-modal again";
    EXPECT_FALSE(d->autoReset());
    EXPECT_EQ(d->findChild<QPushButton*>(), nullptr) << "no cancel button";
    EXPECT_FALSE(d->windowIcon().availableSizes().isEmpty());
    EXPECT_EQ(d->styleSheet(),
              QStringLiteral(
                  "QProgressDialog { background-color: WhiteSmoke; vertical-align: middle; }"));
    EXPECT_FALSE(d->isVisible());
}

TEST_F(LauncherTest, DialogWithoutIconStillOpens) {
    UIPathManager::getInstance()->setPath(QStringLiteral("root_resource_path"),
                                          QString::fromStdString(tmp_ / "none"));
    ProcessingProgressDialog d;
    EXPECT_TRUE(d.windowIcon().availableSizes().isEmpty());
    d.show();
    EXPECT_TRUE(d.isVisible());
    d.hide();
}

// The scale factor is fixed when the application object starts, so each
// factor runs in a child of this binary with QT_SCALE_FACTOR set, which runs
// SizeAtThisProcessScale.
// Qt scales widget units to device pixels itself, so the size in units
// stays the same at every factor.
TEST(DialogScale, SizeStaysInWidgetUnitsAtEveryScaleFactor) {
    char buf[4096];
    ssize_t const n = readlink("/proc/self/exe", buf, sizeof(buf) - 1);
    ASSERT_GT(n, 0);
    std::string const exe(buf, static_cast<size_t>(n));
    for (char const* factor : {"1", "1.25", "1.5", "2"}) {
        std::string const cmd =
            "QT_SCALE_FACTOR=" + std::string(factor) + " KORVANE_EXPECT_DIALOG_SIZE=400x80 '" +
            exe + "' --gtest_filter=DialogScale.SizeAtThisProcessScale >/dev/null 2>&1";
        EXPECT_EQ(system(cmd.c_str()), 0) << "scale " << factor << " should keep 400x80";
    }
}

// Also the child's side: the size at this process's scale factor (1 unless
// the parent set QT_SCALE_FACTOR).
TEST(DialogScale, SizeAtThisProcessScale) {
    char const* want = getenv("KORVANE_EXPECT_DIALOG_SIZE");
    App();
    StrTable::InitStrTable();
    ProcessingProgressDialog d;
    QString const got = QString::number(d.width()) + "x" + QString::number(d.height());
    EXPECT_EQ(got.toStdString(), want ? want : "400x80");
}

// Language start-up: every code loads its translation file from the texts
// resource and the dialog shows that file's texts; "tha" picks the Thai font.
TEST(StartupLanguage, EachCodeShowsItsTexts) {
    App();
    qInitResources_texts();
    char const* codes[] = {"chs", "cht", "csy", "dan", "enu", "fre", "ger",
                           "hun", "ita", "jpn", "krn", "nld", "nor", "plk",
                           "ptb", "ptg", "rus", "spn", "sve", "tha", "trk"};
    QStringList labels;
    for (char const* code : codes) {
        SCOPED_TRACE(code);
        QString const c = QString::fromLatin1(code);
        // The expected texts, read from the same file on its own.
        QTranslator reference;
        ASSERT_TRUE(reference.load(":/" + c + ".qm", "", "", ""))
            << "no :/" << code << ".qm in the texts resource";
        QString const want_title = reference.translate("global", "Korvane Client");
        QString const want_label =
            reference.translate("global", "%1 is initializing...").arg(want_title);
        ASSERT_FALSE(want_title.isEmpty());

        startup::UiStart const ui = startup::StartUserInterface(c);
        EXPECT_TRUE(ui.translated);
        ASSERT_NE(ui.translator, nullptr);
        EXPECT_EQ(ui.font_family,
                  c == "tha" ? QStringLiteral("Microsoft Sans Serif") : QStringLiteral("Arial"));
        EXPECT_EQ(QApplication::font().family(), ui.font_family);
        EXPECT_EQ(QApplication::font().pointSize(), 12);
        {
            ProcessingProgressDialog d;
            EXPECT_EQ(d.windowTitle(), want_title);
            EXPECT_EQ(d.labelText(), want_label);
            EXPECT_EQ(d.font().family(), ui.font_family);
            labels << d.labelText();
            if (c != "enu") {
                EXPECT_NE(d.labelText(), QStringLiteral("Korvane Client is initializing..."))
                    << "left in English";
            }
        }
        QCoreApplication::removeTranslator(ui.translator);
        delete ui.translator;
    }
    labels.removeDuplicates();
    EXPECT_GE(labels.size(), 18) << "most languages word the label differently";
}

TEST(StartupLanguage, UnknownCodeKeepsEnglish) {
    App();
    for (char const* code : {"THA", "xyz", ""}) {
        startup::UiStart const ui = startup::StartUserInterface(QString::fromLatin1(code));
        EXPECT_FALSE(ui.translated) << code;
        EXPECT_EQ(ui.translator, nullptr);
        EXPECT_EQ(ui.font_family, QStringLiteral("Arial")) << code;
        EXPECT_EQ(StrTable::LoadStr(542).arg(StrTable::LoadStr(866)),
                  QStringLiteral("Korvane Client is initializing..."));
    }
}

TEST(StartupPaths, RegistryAndPluginFolder) {
    startup::RegisterPaths(QStringLiteral("/Users/a"),
                           QStringLiteral("/Apps/Korvane Client.app/Contents/MacOS"));
    UIPathManager* p = UIPathManager::getInstance();
    EXPECT_EQ(p->getPath("user_korvane_ui_path"),
              QStringLiteral("/Users/a/.Korvane/Korvane.app/Contents/MacOS/korvane-ui"));
    EXPECT_EQ(p->getPath("user_korvane_path"), QStringLiteral("/Users/a/.Korvane"));
    EXPECT_EQ(p->getPath("user_korvane_app_path"), QStringLiteral("/Users/a/.Korvane/Korvane.app"));
    EXPECT_EQ(p->getPath("user_korvane_resource_path"),
              QStringLiteral("/Users/a/.Korvane/Korvane.app/Contents/Resources"));
    EXPECT_EQ(p->getPath("user_korvane_data_path"), QStringLiteral("/Users/a/.Korvane/data"));
    EXPECT_EQ(p->getPath("user_korvane_working_dir_path"),
              QStringLiteral("/Users/a/.Korvane/Korvane.app/Contents/MacOS"));
    EXPECT_EQ(p->getPath("user_tarnwick_path"), QStringLiteral("/Users/a/.Tarnwick"));
    EXPECT_EQ(p->getPath("user_tarnwick_resource_path"),
              QStringLiteral("/Users/a/.Tarnwick/Tarnwick.app/Contents/Resources"));
    EXPECT_EQ(p->getPath("root_resource_path"),
              QStringLiteral("/Apps/Korvane Client.app/Contents/Resources"));
    EXPECT_EQ(startup::PluginFolder("/Apps/Korvane Client.app/Contents/MacOS/korvane-launcher"),
              QStringLiteral("/Apps/Korvane Client.app/Contents/Frameworks/plugins"));
    // A trailing slash in home does not double up.
    startup::RegisterPaths(QStringLiteral("/Users/b/"), QStringLiteral("/x/Contents/MacOS/"));
    EXPECT_EQ(p->getPath("user_korvane_path"), QStringLiteral("/Users/b/.Korvane"));
    EXPECT_EQ(p->getPath("root_resource_path"), QStringLiteral("/x/Contents/Resources"));
}

}  // namespace

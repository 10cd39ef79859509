#include "app/launcher.h"

#include <QCoreApplication>
#include <QMessageBox>
#include <QTimer>

#include "app/Notify_Adapter.h"
#include "app/ProcessingProgressDialog.h"
#include "app/StrTable.h"
#include "service/mac/mac-service.h"

#define KLOG_SOURCE "launcher"
#define KLOG_COMPONENT "launcher_debug"
#include "log/LogMacros.h"

void HandlerThread::run() { exec(); }

Worker::Worker() : Worker(new MacService) {}

Worker::Worker(Service* service) : thread_(nullptr), service_(service) {
    thread_ = new HandlerThread;
    moveToThread(thread_);
}

Worker::~Worker() {
    // Normally LaunchDone has joined the thread already; never destroy a
    // running QThread.
    if (thread_->isRunning()) {
        thread_->quit();
        thread_->wait();
    }
    delete thread_;
    delete service_;
}

void Worker::StartThread() { thread_->start(QThread::InheritPriority); }

void Worker::QuitThread() { thread_->quit(); }

void Worker::JoinThread() { thread_->wait(); }

void Worker::HandleServicce() {
    KLOG(Debug, "running\n");
    service_->PreUpgrade();
    if (service_->IsNeedUpgrade()) {
        emit sigShowMsg();
        // The extractor reports label and per-entry progress through
        // Notify_Adapter while this runs.
        if (service_->HandlePackageUpgrade() != 0) {
            // Only logged: the installed client (if any) is still launched.
            KLOG(Error, "Failed to upgrade package\n");
            upgrade_failed_ = true;
            refusal_ = service_->refusal();
        } else {
            emit sigUpdateProgress(100, 100);
            emit sigSetLabelText(
                StrTable::LoadStr(526).arg(StrTable::LoadStr(866), 0, QLatin1Char(' ')));
        }
    } else {
        KLOG(Debug, "no need to upgrade\n");
    }
    service_->RemoveAgedFolders();
    service_->PostUpgrade();
    client_started_ = service_->ClientStarted();
    // The old copy goes once the new client runs.
    service_->FinishDeployment();
    KLOG(Debug, "done\n");
    // Last thing the worker does: LaunchDone joins this thread.
    emit sigServiceDone();
}

Launcher::Launcher() : Launcher(new Worker) {}

Launcher::Launcher(Worker* worker) : worker_(worker), dialog_(nullptr) {
    Notify_Adapter* relay = Notify_Adapter::GetInstance();
    connect(this, SIGNAL(sigStart()), worker_, SLOT(HandleServicce()));
    connect(worker_, SIGNAL(sigShowMsg()), this, SLOT(ShowMsgBox()));
    connect(worker_, SIGNAL(sigServiceDone()), this, SLOT(LaunchDone()));
    connect(worker_, SIGNAL(sigUpdateProgress(int, int)), this, SLOT(UpdateProgress(int, int)));
    connect(worker_, SIGNAL(sigSetLabelText(QString)), this, SLOT(SetLabelText(QString)));
    // One report an entry, thousands a second: a queued call for each would
    // wake the GUI thread for each, at a fifth of the extraction's CPU time.
    connect(
        relay, &Notify_Adapter::sigUpdateProgress, this,
        [this](int total, int steps) { QueueExtractionProgress(total, steps); },
        Qt::DirectConnection);
    connect(relay, SIGNAL(sigUpdateDialogText(QString)), this, SLOT(SetLabelText(QString)));

    // A dialog built here would show itself after its minimum duration; the
    // lazily built one keeps that rule through this timer.
    QTimer::singleShot(kMinimumDurationMs, this, [this] {
        if (!done_) dialog()->show();
    });
}

ProcessingProgressDialog* Launcher::dialog() {
    if (!dialog_) {
        dialog_ = new ProcessingProgressDialog;
        dialog_->setCancelButton(nullptr);
        dialog_->setAutoReset(false);
        dialog_->setModal(false);
    }
    return dialog_;
}

Launcher::~Launcher() {
    delete worker_;
    delete dialog_;
    delete no_client_message_;
}

void Launcher::Run() { worker_->StartThread(); }

void Launcher::Start() { emit sigStart(); }

int Launcher::ProgressValue(int total, int steps) {
    if (total < 1) return -1;
    // 64 bits: steps * 100 overflows int above ~21 million entries.
    qint64 const value = static_cast<qint64>(steps) * 100 / total;
    return static_cast<int>(qBound<qint64>(0, value, 100));
}

void Launcher::ShowProgress(int total, int steps, int most) {
    int const value = ProgressValue(total, steps);
    if (value < 0) return;
    dialog()->setValue(qMin(value, most));
}

void Launcher::UpdateProgress(int total, int steps) { ShowProgress(total, steps, 100); }

void Launcher::UpdateExtractionProgress(int total, int steps) { ShowProgress(total, steps, 99); }

void Launcher::QueueExtractionProgress(int total, int steps) {
    latest_progress_ =
        static_cast<quint64>(static_cast<quint32>(total)) << 32 | static_cast<quint32>(steps);
    if (progress_queued_.exchange(true)) return;  // the queued call takes this one too
    QMetaObject::invokeMethod(
        this,
        [this] {
            progress_queued_ = false;  // before the read: a later report queues anew
            quint64 const latest = latest_progress_;
            UpdateExtractionProgress(static_cast<int>(latest >> 32),
                                     static_cast<int>(latest & 0xffffffffU));
        },
        Qt::QueuedConnection);
}

void Launcher::SetLabelText(const QString& text) { dialog()->setLabelText(text); }

void Launcher::ShowMsgBox() { dialog()->show(); }

void Launcher::LaunchDone() {
    done_ = true;
    // Never built when nothing was upgraded: nothing to finish or hide.
    if (dialog_) {
        dialog_->setValue(100);
        dialog_->hide();
    }
    worker_->QuitThread();
    worker_->JoinThread();
    if (!worker_->ClientStarted()) {
        TellNoClient();
        return;
    }
    QCoreApplication::quit();
}

void Launcher::TellNoClient() {
    // Without a client the user would see nothing start, every time: only
    // the log would say why.
    KLOG(Error, "no client could be started, telling the user\n");
    no_client_message_ =
        new QMessageBox(QMessageBox::Critical, StrTable::LoadStr(866), StrTable::LoadStr(547));
    // The cause, where the table has a text for it.
    int text = worker_->UpgradeFailed() ? 532 : 192;
    if (worker_->refusal() == Service::Refusal::NoRoom) text = 111;
    if (worker_->refusal() == Service::Refusal::NoPermission) text = 146;
    KLOG(Error, "the user is told: '%s'\n", StrTable::LoadStr(text).toUtf8().constData());
    no_client_message_->setInformativeText(StrTable::LoadStr(text));
    connect(no_client_message_, &QDialog::finished, this,
            [] { QCoreApplication::exit(kNoClientExitCode); });
    no_client_message_->show();
}

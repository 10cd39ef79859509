#pragma once
// The launcher runs the upgrade sequence off the GUI thread and carries its
// progress back to the progress dialog:
//   Launcher (GUI thread) owns the Worker and the dialog;
//   Worker lives on its HandlerThread and owns the upgrade service.
// The two threads exchange only int and QString values through queued signals.

#include <QObject>
#include <QString>
#include <QThread>
#include <atomic>

#include "service/cloud-service.h"

class ProcessingProgressDialog;
class QMessageBox;

class HandlerThread : public QThread {
    Q_OBJECT
protected:
    void run() override;
};

class Worker : public QObject {
    Q_OBJECT
public:
    // Owns a new MacService.
    Worker();
    // Owns `service` instead (tests drive the sequence with their own service).
    explicit Worker(Service* service);
    ~Worker() override;

    void StartThread();
    void QuitThread();
    void JoinThread();

    // How the run ended; read once the thread has been joined.
    bool ClientStarted() const { return client_started_; }
    bool UpgradeFailed() const { return upgrade_failed_; }
    // Why the upgrade was refused, when the service could tell.
    Service::Refusal refusal() const { return refusal_; }

signals:
    void sigServiceDone();
    void sigShowMsg();
    void sigUpdateProgress(int, int);
    void sigSetLabelText(const QString&);

public slots:
    void HandleServicce();

private:
    HandlerThread* thread_;
    Service* service_;
    bool client_started_ = true;
    bool upgrade_failed_ = false;
    Service::Refusal refusal_ = Service::Refusal::None;
};

class Launcher : public QObject {
    Q_OBJECT
public:
    Launcher();
    // Takes ownership of `worker`.
    explicit Launcher(Worker* worker);
    ~Launcher() override;

    void Run();
    void Start();
    Worker* worker() { return worker_; }

    // The progress dialog, created on first use: a start with nothing to
    // upgrade never needs a window, and building one costs as much as a
    // third of that start.
    ProcessingProgressDialog* dialog();
    bool hasDialog() const { return dialog_ != nullptr; }

    // QProgressDialog's default minimum duration: a run still going after
    // this long shows the dialog even when the worker never asked for it.
    static constexpr int kMinimumDurationMs = 4000;

    // The bar value for `steps` of `total`: 0..100, or -1 when total < 1.
    static int ProgressValue(int total, int steps);

    // The exit code of a run that could start no client, and the message that
    // tells the user so (null until then).
    static constexpr int kNoClientExitCode = 1;
    QMessageBox* noClientMessage() const { return no_client_message_; }

signals:
    void sigStart();

public slots:
    void LaunchDone();
    void UpdateProgress(int total, int steps);
    // The extractor's entries: short of 100 until the worker reports the
    // client flushed to disk.
    void UpdateExtractionProgress(int total, int steps);
    void SetLabelText(const QString&);
    void ShowMsgBox();

private:
    // The dialog shows steps of total, at most `most` percent.
    void ShowProgress(int total, int steps, int most);

    // Stays up until the user closes it; the run then ends with
    // kNoClientExitCode.
    void TellNoClient();
    // From the extracting thread: the report waits for the GUI thread, which
    // takes only the latest of those that came meanwhile.
    void QueueExtractionProgress(int total, int steps);

    Worker* worker_;
    ProcessingProgressDialog* dialog_;
    QMessageBox* no_client_message_ = nullptr;
    bool done_ = false;
    std::atomic<quint64> latest_progress_{0};  // total << 32 | steps
    std::atomic<bool> progress_queued_{false};
};

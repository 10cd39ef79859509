#pragma once
// Process-wide relay: code deep in the upgrade service reports progress and
// label texts here without knowing the launcher or its dialog.

#include <QObject>
#include <QString>

class Notify_Adapter : public QObject {
    Q_OBJECT
public:
    static Notify_Adapter* GetInstance();

    // Callable from any thread; receivers on the GUI thread get queued calls.
    void UpdateProgress(int total, int current);
    void UpdateDialogText(QString text);

signals:
    void sigUpdateProgress(int total, int current);
    void sigUpdateDialogText(QString text);

private:
    Notify_Adapter() = default;
};

#pragma once
// The application object with a per-user single-instance guard: the first
// launcher of a user (per home folder) holds a lock for its whole life; a
// lock left behind by a crashed launcher does not count.

#include <QApplication>
#include <QString>

class QtSingleApplication : public QApplication {
    Q_OBJECT
public:
    QtSingleApplication(int& argc, char** argv, bool gui = true);
    ~QtSingleApplication() override;

    // True when another launcher of the same user (same home folder) runs.
    bool isRunning() const { return running_; }
    // True when this launcher holds the guard. When neither this nor
    // isRunning() holds, nobody can tell, and guardError() says why.
    bool isGuarded() const { return lock_fd_ >= 0; }
    QString const& guardError() const { return guard_error_; }

    // Where the guard lives for the given home folder.
    static QString lockFilePath(const QString& homePath);

private:
    int lock_fd_ = -1;
    bool running_ = false;
    QString guard_error_;
};

#pragma once
// The application object with a per-user single-instance guard: the first
// launcher of a user (per home folder) holds its locks for its whole life; a
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
    // True when this launcher holds a guard, lockPath() being its file.
    // When neither this nor isRunning() holds, nobody can tell.
    bool isGuarded() const { return lock_fd_ >= 0 || fallback_fd_ >= 0; }
    QString const& lockPath() const { return lock_path_; }
    // Why the guard in the per-user folder could not be had ("" when it was,
    // or another launcher holds it), and why the fallback could not either.
    QString const& guardError() const { return guard_error_; }
    QString const& fallbackError() const { return fallback_error_; }

    // Where the guard lives for the given home folder, and where it falls
    // back to when that file cannot be had ("" without a temporary folder).
    static QString lockFilePath(const QString& homePath);
    static QString fallbackLockFilePath(const QString& homePath);
    // Where the stand-in's private folder is made ("/tmp"); for tests.
    static void setStandInBase(QString const& folder);

private:
    // 1 held here, 0 held by another launcher, -1 not to be had.
    int TakeStandIn(QString const& home);

    int lock_fd_ = -1;
    int fallback_fd_ = -1;
    bool running_ = false;
    QString lock_path_;
    QString guard_error_;
    QString fallback_error_;
};

#pragma once
// The application object with a per-user single-instance guard. The guard is
// a lock file in the user's home folder: the first launcher of a user holds
// it for its whole life, and a lock left by a crashed launcher is taken over.

#include <QApplication>
#include <QString>
#include <memory>

class QLockFile;

class QtSingleApplication : public QApplication {
    Q_OBJECT
public:
    QtSingleApplication(int& argc, char** argv, bool gui = true);
    ~QtSingleApplication() override;

    // True when another launcher of the same user (same home folder) runs.
    bool isRunning() const { return running_; }

    // Where the guard lives for the given home folder.
    static QString lockFilePath(const QString& homePath);

private:
    std::unique_ptr<QLockFile> lock_;
    bool running_ = false;
};

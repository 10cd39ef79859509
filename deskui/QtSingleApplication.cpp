#include "deskui/QtSingleApplication.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <cerrno>

// The guard is an flock on a file in the user's per-user folder. The kernel
// drops the lock when its holder exits in any way (a crash or SIGKILL
// included), so a lock file left behind is never mistaken for a live
// launcher, a reused pid cannot fake one, and two launchers racing for it
// cannot both win. Each home folder has its own file.
namespace {

int OpenLock(QByteArray const& name) {
    int fd = -1;
    do {
        fd = ::open(name.constData(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0600);
    } while (fd < 0 && errno == EINTR);
    return fd;
}

int AcquireLock(QString const& path, bool* held) {
    *held = false;
    QByteArray const name = QFile::encodeName(path);
    int fd = OpenLock(name);
    // A lock file that cannot be opened (a link, another owner's file, no
    // permission) is replaced when the folder allows it: the lock is only
    // ever a name to flock, it holds nothing.
    struct stat st;
    if (fd < 0 && errno != ENOENT && ::lstat(name.constData(), &st) == 0 && !S_ISDIR(st.st_mode) &&
        ::access(QFile::encodeName(QFileInfo(path).absolutePath()).constData(), W_OK) == 0 &&
        ::unlink(name.constData()) == 0)
        fd = OpenLock(name);
    if (fd < 0) return -1;
    int r;
    do {
        r = ::flock(fd, LOCK_EX | LOCK_NB);
    } while (r < 0 && errno == EINTR);
    if (r == 0) {
        *held = true;
        return fd;
    }
    int const err = errno;
    ::close(fd);
    errno = err;
    return -1;
}

}  // namespace

QString QtSingleApplication::lockFilePath(const QString& homePath) {
    return homePath + QStringLiteral("/.Korvane/.launcher.lock");
}

QtSingleApplication::QtSingleApplication(int& argc, char** argv, bool /*gui*/)
    : QApplication(argc, argv) {
    QString const path = lockFilePath(QDir::homePath());
    QDir().mkpath(QFileInfo(path).absolutePath());
    bool held = false;
    lock_fd_ = AcquireLock(path, &held);
    if (!held) {
        if (errno == EWOULDBLOCK) {
            running_ = true;
        } else {
            // Without a usable lock we cannot tell whether another launcher
            // runs; the caller decides what may still be done safely.
            guard_error_ = qt_error_string(errno);
        }
    }
}

QtSingleApplication::~QtSingleApplication() {
    if (lock_fd_ >= 0) ::close(lock_fd_);
}

#include "deskui/QtSingleApplication.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <cerrno>

// The guard is an flock on a file in the user's per-user folder. The kernel
// drops the lock when its holder exits in any way (a crash or SIGKILL
// included), so a lock file left behind is never mistaken for a live
// launcher, a reused pid cannot fake one, and two launchers racing for it
// cannot both win. Each home folder has its own file.
//
// Where that file cannot be had for any other reason (a home volume without
// flock, the name taken by a folder), a lock in a private folder of the
// user's runtime or temporary folder, a local volume, stands in for it, named
// after the home folder, so that launchers of one home still exclude each
// other.
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

// A folder only this user can enter: created 0700 if missing, refused when
// it is a link or another user's, or others may write into it.
bool PrivateFolder(QString const& path) {
    QByteArray const name = QFile::encodeName(path);
    if (::mkdir(name.constData(), 0700) != 0 && errno != EEXIST) return false;
    struct stat st;
    if (::lstat(name.constData(), &st) != 0) return false;
    if (!S_ISDIR(st.st_mode) || st.st_uid != ::geteuid() || (st.st_mode & 077) != 0) {
        errno = EACCES;
        return false;
    }
    return true;
}

}  // namespace

QString QtSingleApplication::fallbackLockFilePath(const QString& homePath) {
    QString base = qEnvironmentVariable("XDG_RUNTIME_DIR");
    if (base.isEmpty() || !QFileInfo(base).isDir()) base = QDir::tempPath();
    if (base.isEmpty()) return QString();  // a TMPDIR that does not exist
    QByteArray const home_id =
        QCryptographicHash::hash(QFile::encodeName(homePath), QCryptographicHash::Sha256)
            .toHex()
            .left(16);
    return base + QStringLiteral("/korvane-%1/launcher-%2.lock")
                      .arg(::geteuid())
                      .arg(QString::fromLatin1(home_id));
}

QString QtSingleApplication::lockFilePath(const QString& homePath) {
    return homePath + QStringLiteral("/.Korvane/.launcher.lock");
}

QtSingleApplication::QtSingleApplication(int& argc, char** argv, bool /*gui*/)
    : QApplication(argc, argv) {
    QString const path = lockFilePath(QDir::homePath());
    QDir().mkpath(QFileInfo(path).absolutePath());
    if (TakeLock(path)) return;
    guard_error_ = qt_error_string(errno);
    QString const fallback = fallbackLockFilePath(QDir::homePath());
    if (fallback.isEmpty()) {
        fallback_error_ = QStringLiteral("no temporary folder");
        return;
    }
    if (!PrivateFolder(QFileInfo(fallback).absolutePath())) {
        fallback_error_ = qt_error_string(errno);
        return;
    }
    if (!TakeLock(fallback)) fallback_error_ = qt_error_string(errno);
}

bool QtSingleApplication::TakeLock(QString const& path) {
    bool held = false;
    lock_fd_ = AcquireLock(path, &held);
    if (held) {
        lock_path_ = path;
        return true;
    }
    // Held by another launcher: that settles it. Otherwise the caller tries
    // elsewhere, with errno telling why.
    if (errno == EWOULDBLOCK) running_ = true;
    return running_;
}

QtSingleApplication::~QtSingleApplication() {
    if (lock_fd_ >= 0) ::close(lock_fd_);
}

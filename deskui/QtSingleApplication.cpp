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
//
// Every launcher also holds a second lock, in a private folder of /tmp (a
// local volume) named after the user and the home folder's device and inode,
// which every launcher of that home finds alike, whatever its environment.
// A launcher that cannot have the first lock for any other reason than
// another launcher holding it (a home volume without flock, the name taken
// by a folder) still meets the other launchers of its home there.
namespace {

QString g_stand_in_base = QStringLiteral("/tmp");

int OpenLockAt(int dir, char const* name) {
    int fd = -1;
    do {
        fd = ::openat(dir, name, O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0600);
    } while (fd < 0 && errno == EINTR);
    return fd;
}

// The folder's own flock lets one launcher at a time replace a lock file,
// so that the next one finds the new file openable and never removes it.
bool LockFolder(int dir) {
    for (int i = 0; i < 400; ++i) {
        if (::flock(dir, LOCK_EX | LOCK_NB) == 0) return true;
        if (errno != EWOULDBLOCK && errno != EINTR) return false;
        ::usleep(5000);
    }
    errno = EWOULDBLOCK;
    return false;
}

// A lock file that cannot be opened (a link, another owner's file, a
// socket) is replaced when the folder allows it: the lock is only ever a
// name to flock, it holds nothing.
int OpenOrReplaceLock(int dir, char const* name) {
    int fd = OpenLockAt(dir, name);
    if (fd >= 0 || errno == ENOENT) return fd;
    if (!LockFolder(dir)) return -1;
    fd = OpenLockAt(dir, name);
    struct stat st;
    if (fd < 0 && errno != ENOENT && ::fstatat(dir, name, &st, AT_SYMLINK_NOFOLLOW) == 0 &&
        !S_ISDIR(st.st_mode) && ::unlinkat(dir, name, 0) == 0)
        fd = OpenLockAt(dir, name);
    int const err = errno;
    ::flock(dir, LOCK_UN);
    errno = err;
    return fd;
}

// 1 held here (the descriptor in *out), 0 held by another launcher, -1 not
// to be had, errno telling why.
int Acquire(int dir, char const* name, int* out) {
    int const fd = OpenOrReplaceLock(dir, name);
    if (fd < 0) return -1;
    int r;
    do {
        r = ::flock(fd, LOCK_EX | LOCK_NB);
    } while (r < 0 && errno == EINTR);
    if (r == 0) {
        *out = fd;
        return 1;
    }
    int const err = errno;
    ::close(fd);
    errno = err;
    return err == EWOULDBLOCK ? 0 : -1;
}

int OpenFolder(QString const& path, int flags) {
    return ::open(QFile::encodeName(path).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC | flags);
}

// A folder only this user can enter, opened: created 0700 if missing,
// refused when it is a link or another user's, or others may write into it.
// The checks look at the descriptor, which the lock is then opened through.
int OpenPrivateFolder(QString const& base, QString const& name) {
    int const parent = OpenFolder(base, 0);
    if (parent < 0) return -1;
    QByteArray const n = QFile::encodeName(name);
    int fd = -1;
    if (::mkdirat(parent, n.constData(), 0700) == 0 || errno == EEXIST)
        fd = ::openat(parent, n.constData(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
    int err = errno;
    ::close(parent);
    struct stat st;
    if (fd >= 0 && (::fstat(fd, &st) != 0 || st.st_uid != ::geteuid() || (st.st_mode & 077) != 0)) {
        ::close(fd);
        fd = -1;
        err = EACCES;
    }
    errno = err;
    return fd;
}

QString StandInFolderName() { return QStringLiteral("korvane-%1").arg(::geteuid()); }

// Named after the home folder itself, not the text of HOME: two spellings of
// one home share it.
QString StandInFileName(QString const& homePath) {
    struct stat st;
    if (::stat(QFile::encodeName(homePath).constData(), &st) != 0) return QString();
    return QStringLiteral("launcher-%1-%2.lock")
        .arg(static_cast<qulonglong>(st.st_dev))
        .arg(static_cast<qulonglong>(st.st_ino));
}

}  // namespace

void QtSingleApplication::setStandInBase(QString const& folder) { g_stand_in_base = folder; }

QString QtSingleApplication::fallbackLockFilePath(const QString& homePath) {
    QString const file = StandInFileName(homePath);
    if (file.isEmpty()) return QString();
    return g_stand_in_base + QLatin1Char('/') + StandInFolderName() + QLatin1Char('/') + file;
}

QString QtSingleApplication::lockFilePath(const QString& homePath) {
    return homePath + QStringLiteral("/.Korvane/.launcher.lock");
}

QtSingleApplication::QtSingleApplication(int& argc, char** argv, bool /*gui*/)
    : QApplication(argc, argv) {
    QString const home = QDir::homePath();
    QString const path = lockFilePath(home);
    QString const folder = QFileInfo(path).absolutePath();
    QDir().mkpath(folder);
    int held = -1;
    int const dir = OpenFolder(folder, 0);
    if (dir >= 0) {
        held = Acquire(dir, ".launcher.lock", &lock_fd_);
        int const err = errno;
        ::close(dir);
        errno = err;
    }
    if (held == 0) {
        running_ = true;
        return;
    }
    if (held < 0) guard_error_ = qt_error_string(errno);
    if (TakeStandIn(home) == 0) {
        running_ = true;
        if (lock_fd_ >= 0) ::close(lock_fd_);
        lock_fd_ = -1;
        return;
    }
    if (lock_fd_ >= 0)
        lock_path_ = path;
    else if (fallback_fd_ >= 0)
        lock_path_ = fallbackLockFilePath(home);
}

int QtSingleApplication::TakeStandIn(QString const& home) {
    QString const file = StandInFileName(home);
    if (file.isEmpty()) {
        fallback_error_ = QStringLiteral("home folder unknown");
        return -1;
    }
    int const dir = OpenPrivateFolder(g_stand_in_base, StandInFolderName());
    if (dir < 0) {
        fallback_error_ = qt_error_string(errno);
        return -1;
    }
    int const held = Acquire(dir, QFile::encodeName(file).constData(), &fallback_fd_);
    if (held < 0) fallback_error_ = qt_error_string(errno);
    ::close(dir);
    return held;
}

QtSingleApplication::~QtSingleApplication() {
    if (lock_fd_ >= 0) ::close(lock_fd_);
    if (fallback_fd_ >= 0) ::close(fallback_fd_);
}

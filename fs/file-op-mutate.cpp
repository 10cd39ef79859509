// Creating, copying, moving and removing files and folders; temporary files;
// attribute setters.

#define KLOG_SOURCE "file-op"
#define KLOG_COMPONENT "file_op_debug"

#include <dirent.h>
#include <errno.h>
#include <fcntl.h>
#include <limits.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <sys/stat.h>
#include <sys/time.h>
#include <unistd.h>

#include <memory>
#include <string>
#include <vector>

#include "fs/TmpNameGen.h"
#include "fs/file-op-internal.h"
#include "fs/file-op.h"
#include "log/LogMacros.h"
#include "utils/ErrnoText.h"

namespace {

constexpr int kCopyBufferSize = 8192;

bool IsFull(int err) { return err == ENOSPC || err == EDQUOT; }

// A folder of ours that its owner may not change (packaging that marks
// bundles 0555, a read-only data folder) is opened up for its owner alone,
// so that its content can go. A link is never followed, and a folder of
// anyone else is never touched.
bool OpenUpOwnFolder(std::string const& path, struct stat const& st) {
    constexpr mode_t kOwnerAll = S_IRUSR | S_IWUSR | S_IXUSR;
    if (!S_ISDIR(st.st_mode) || st.st_uid != geteuid() || (st.st_mode & kOwnerAll) == kOwnerAll)
        return false;
    return fchmodat(AT_FDCWD, path.c_str(), (st.st_mode & 07777) | kOwnerAll,
                    AT_SYMLINK_NOFOLLOW) == 0;
}

// Logging may touch errno; callers rely on it afterwards.
struct ErrnoKeeper {
    int saved = errno;
    ~ErrnoKeeper() { errno = saved; }
};

// The folder that holds `path`, relative paths included (FSParentPath maps a
// bare name to "/").
std::string ContainingDir(std::string const& path) {
    size_t const pos = path.rfind('/');
    if (pos == std::string::npos) return ".";
    if (pos == 0) return "/";
    return path.substr(0, pos);
}

// Streams sfd into dfd through one heap buffer. 0, -1, or -2 when the
// destination volume is full or over quota.
int CopyData(int sfd, int dfd) {
    char* buf = static_cast<char*>(malloc(kCopyBufferSize));
    if (buf == nullptr) {
        int const err = errno;
        KLOG(Error, "FSCopy: malloc(%d): %s (%d)\n", kCopyBufferSize,
             korvane::utils::ErrnoText(err).c_str(), err);
        return -1;
    }
    int rc = 0;
    for (;;) {
        ssize_t n = read(sfd, buf, kCopyBufferSize);
        if (n == 0) break;
        if (n < 0) {
            if (errno == EINTR) continue;
            int const err = errno;
            KLOG(Error, "CopyFile: read: %s (%d)\n", korvane::utils::ErrnoText(err).c_str(), err);
            rc = -1;
            break;
        }
        ssize_t off = 0;
        while (off < n) {
            errno = 0;
            ssize_t w = write(dfd, buf + off, static_cast<size_t>(n - off));
            if (w < 0 && errno == EINTR) continue;
            if (w <= 0) {
                int const err = errno;
                KLOG(Error, "CopyFile: write: %s (%d)\n", korvane::utils::ErrnoText(err).c_str(),
                     err);
                rc = (w < 0 && IsFull(err)) ? -2 : -1;
                break;
            }
            off += w;
        }
        if (rc != 0) break;
    }
    free(buf);
    return rc;
}

// Flushes and closes a written destination. A full volume often shows only
// here (delayed allocation, network volumes), so the results count.
int FinishDestination(int dfd, std::string const& dst, int rc) {
    if (fsync(dfd) != 0 && errno != EINVAL && errno != EROFS) {
        int const err = errno;
        KLOG(Error, "CopyFile: fsync(%s): %s (%d)\n", dst.c_str(),
             korvane::utils::ErrnoText(err).c_str(), err);
        if (rc == 0) rc = IsFull(err) ? -2 : -1;
    }
    if (close(dfd) != 0) {
        int const err = errno;
        KLOG(Error, "CopyFile: close(%s): %s (%d)\n", dst.c_str(),
             korvane::utils::ErrnoText(err).c_str(), err);
        if (rc == 0) rc = IsFull(err) ? -2 : -1;
    }
    return rc;
}

int OpenRegularSource(std::string const& src, int extraFlags, struct stat& st) {
    // O_NONBLOCK: opening a FIFO must not wait for a writer.
    int sfd = open(src.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | extraFlags);
    if (sfd < 0) {
        int const err = errno;
        KLOG(Error, "CopyFile: open(%s): %s (%d)\n", src.c_str(),
             korvane::utils::ErrnoText(err).c_str(), err);
        return -1;
    }
    if (fstat(sfd, &st) != 0 || !S_ISREG(st.st_mode)) {
        KLOG(Error, "CopyFile: '%s' is not a regular file\n", src.c_str());
        close(sfd);
        return -1;
    }
    return sfd;
}

}  // namespace

int FSMKDir(std::string const& path, bool recursive) {
    if (path.empty()) return -1;
    _FILE_INFO_tag info;
    // A file in the middle of the path (ENOTDIR): the recursive creation goes
    // on to fail with -2 and says which level is a file.
    if (fsinternal::LStatInfo(path, info) != 0 && (!recursive || info.exists || errno != ENOTDIR)) {
        KLOG(Error, "FSMKDir: Failed to to file info '%s'\n", path.c_str());
        return -1;
    }
    if (info.exists) {
        if (info.type == FILE_TYPE_DIR) return 0;
        KLOG(Error, "FSMKDir: Create a folder but local file system is not directory '%s' (%d)\n",
             path.c_str(), info.type);
        return -1;
    }

    if (!recursive) {
        if (mkdir(path.c_str(), 0777) == 0) return 0;
        int const err = errno;
        struct stat st;
        if (err == EEXIST && stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode)) return 0;
        KLOG(Error, "path = %s errno : %s\n", path.c_str(), korvane::utils::ErrnoText(err).c_str());
        errno = err;
        return -2;
    }

    std::string prefix;
    size_t pos = path[0] == '/' ? 1 : 0;
    for (;;) {
        size_t const cut = path.find('/', pos);
        bool const last = cut == std::string::npos || cut + 1 == path.size();
        prefix.assign(path, 0, cut == std::string::npos ? path.size() : cut);
        pos = cut == std::string::npos ? path.size() : cut + 1;

        struct stat st;
        if (stat(prefix.c_str(), &st) != 0) {
            if (mkdir(prefix.c_str(), 0777) != 0) {
                int const err = errno;
                if (!(err == EEXIST && stat(prefix.c_str(), &st) == 0 && S_ISDIR(st.st_mode))) {
                    errno = err;
                    break;
                }
            }
        } else if (!S_ISDIR(st.st_mode)) {
            if (last) {
                KLOG(Info, "FSMKDirP: path: %s is existing file or symbolic link pointed to file\n",
                     prefix.c_str());
                errno = EEXIST;
                break;
            }
            ErrnoKeeper keep;
            KLOG(Info, "FSMKDirP: path: %s is symbolic link pointed to folder\n", prefix.c_str());
        }
        if (last) return 0;
    }
    int const err = errno;
    KLOG(Error, "path = %s errno : %s\n", path.c_str(), korvane::utils::ErrnoText(err).c_str());
    errno = err;
    return -2;
}

int FSMKDirFromRoot(std::string const& target, std::string const& root) {
    if (root.size() > target.size()) {
        KLOG(Error, "Giving a root '%s' whose length is larger then target's '%s'.\n", root.c_str(),
             target.c_str());
        return -1;
    }
    if ((target.size() > root.size() && target[root.size()] != '/') ||
        target.compare(0, root.size(), root) != 0) {
        KLOG(Error, "root '%s' is not a parent folder of target '%s'\n", root.c_str(),
             target.c_str());
        return -1;
    }
    std::string const rest = target.substr(root.size());
    std::string prefix;
    while (prefix != rest) {
        size_t const next = rest.find('/', prefix.size() + 1);
        prefix = rest.substr(0, next);
        KLOG(Debug, "FSMKDirFromRoot: create %s\n", prefix.c_str());
        if (FSMKDir(root + prefix, false) < 0) return -1;
    }
    return 0;
}

int FSCopy(std::string const& src, std::string const& dst, bool removeSource, bool keepMode) {
    struct stat sst;
    int sfd = OpenRegularSource(src, 0, sst);
    if (sfd < 0) return -1;

    mode_t mode = 0644;
    if (keepMode) {
        _FILE_INFO_tag info;
        if (src.empty() || FSStat(src, info, true) < 0) {
            KLOG(Error, "FSStat: check state (%s) failed\n", src.c_str());
            close(sfd);
            return -1;
        }
        // Under another spelling the exact-name lookup knows no mode; the
        // open source still does.
        mode = static_cast<mode_t>((info.exists ? info.mode : sst.st_mode) & 07777);
    }

    // Opening the source itself as the destination would truncate it.
    struct stat dst_st;
    if (stat(dst.c_str(), &dst_st) == 0 && dst_st.st_dev == sst.st_dev &&
        dst_st.st_ino == sst.st_ino) {
        KLOG(Error, "CopyFile: '%s' and '%s' are the same file\n", src.c_str(), dst.c_str());
        close(sfd);
        return -1;
    }

    int dfd = open(dst.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC | O_NONBLOCK, mode);
    if (dfd < 0) {
        int const err = errno;
        KLOG(Error, "CopyFile: open(%s): %s (%d)\n", dst.c_str(),
             korvane::utils::ErrnoText(err).c_str(), err);
        close(sfd);
        return IsFull(err) ? -2 : -1;
    }

    int rc = CopyData(sfd, dfd);
    close(sfd);
    rc = FinishDestination(dfd, dst, rc);
    // The source goes only once its copy is safely on disk.
    if (rc == 0 && removeSource && unlink(src.c_str()) != 0) {
        int const err = errno;
        KLOG(Error, "CopyFile: unlink(%s): %s (%d)\n", src.c_str(),
             korvane::utils::ErrnoText(err).c_str(), err);
        rc = -1;
    }
    return rc;
}

namespace {

// ---- Moving across volumes ----
// The tree is copied beside the destination under a temporary name, renamed
// into place, and only then is the source removed. A failure removes the
// copy and leaves the source as it was.

int MoveFail(char const* what, std::string const& path) {
    int const err = errno;
    KLOG(Error, "FSRename: %s '%s': %s (%d)\n", what, path.c_str(),
         korvane::utils::ErrnoText(err).c_str(), err);
    return -1;
}

void SetTimesFrom(std::string const& path, struct stat const& st) {
    struct timespec times[2];
    fsinternal::StatTimes(st, times);
    utimensat(AT_FDCWD, path.c_str(), times, AT_SYMLINK_NOFOLLOW);
}

int CopyEntry(std::string const& src, std::string const& dst, struct stat const& st);

int CopyRegular(std::string const& src, std::string const& dst) {
    struct stat st;
    int sfd = OpenRegularSource(src, O_NOFOLLOW, st);
    if (sfd < 0) return -1;
    int dfd = open(dst.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
    if (dfd < 0) {
        close(sfd);
        return MoveFail("cannot create", dst);
    }
    int rc = CopyData(sfd, dfd);
    close(sfd);
    if (rc == 0) fsinternal::CopyMetadata(src, dst);  // while the copy is still writable
    // The permission bits exactly, not filtered by the creation mask.
    if (rc == 0 && fchmod(dfd, st.st_mode & 07777) != 0)
        rc = MoveFail("cannot set the mode of", dst);
    if (rc == 0) {
        struct timespec times[2];
        fsinternal::StatTimes(st, times);
        futimens(dfd, times);
    }
    return FinishDestination(dfd, dst, rc);
}

int CopyLink(std::string const& src, std::string const& dst, struct stat const& st) {
    std::vector<char> buf(static_cast<size_t>(st.st_size > 0 ? st.st_size : PATH_MAX) + 1);
    for (;;) {
        ssize_t n = readlink(src.c_str(), buf.data(), buf.size());
        if (n < 0) return MoveFail("cannot read link", src);
        if (static_cast<size_t>(n) < buf.size()) {
            std::string const target(buf.data(), static_cast<size_t>(n));
            if (symlink(target.c_str(), dst.c_str()) != 0)
                return MoveFail("cannot create link", dst);
            SetTimesFrom(dst, st);
            return 0;
        }
        buf.resize(buf.size() * 2);
    }
}

int CopyFolder(std::string const& src, std::string const& dst, struct stat const& st) {
    // Removing the source afterwards needs write access to each of its
    // folders (the user's own are opened up then); find that out before
    // anything is copied.
    if (access(src.c_str(), W_OK | X_OK) != 0 && st.st_uid != geteuid())
        return MoveFail("cannot remove entries of", src);
    if (mkdir(dst.c_str(), 0700) != 0) return MoveFail("cannot create", dst);
    DIR* dir = opendir(src.c_str());
    if (dir == nullptr) return MoveFail("cannot open", src);
    int rc = 0;
    for (;;) {
        errno = 0;
        // NOLINTNEXTLINE(concurrency-mt-unsafe): no other thread reads this stream
        struct dirent* e = readdir(dir);
        if (e == nullptr) {
            if (errno != 0) rc = MoveFail("cannot read", src);
            break;
        }
        if (strcmp(e->d_name, ".") == 0 || strcmp(e->d_name, "..") == 0) continue;
        std::string const s = src + "/" + e->d_name;
        std::string const d = dst + "/" + e->d_name;
        struct stat cst;
        if (lstat(s.c_str(), &cst) != 0) {
            rc = MoveFail("cannot examine", s);
            break;
        }
        if ((rc = CopyEntry(s, d, cst)) != 0) break;
    }
    closedir(dir);
    if (rc != 0) return rc;
    fsinternal::CopyMetadata(src, dst);
    if (chmod(dst.c_str(), st.st_mode & 07777) != 0) return MoveFail("cannot set the mode of", dst);
    SetTimesFrom(dst, st);
    return 0;
}

int CopyEntry(std::string const& src, std::string const& dst, struct stat const& st) {
    if (S_ISREG(st.st_mode)) return CopyRegular(src, dst);
    if (S_ISLNK(st.st_mode)) return CopyLink(src, dst, st);
    if (S_ISDIR(st.st_mode)) return CopyFolder(src, dst, st);
    KLOG(Error, "FSRename: cannot move '%s' (type %d) to another volume\n", src.c_str(),
         fsinternal::TypeOfMode(st.st_mode));
    return -1;
}

bool IsEmptyFolder(std::string const& path) {
    DIR* dir = opendir(path.c_str());
    if (dir == nullptr) return false;
    bool empty = true;
    for (;;) {
        errno = 0;
        // NOLINTNEXTLINE(concurrency-mt-unsafe): no other thread reads this stream
        struct dirent* e = readdir(dir);
        if (e == nullptr) {
            if (errno != 0) empty = false;
            break;
        }
        if (strcmp(e->d_name, ".") != 0 && strcmp(e->d_name, "..") != 0) {
            empty = false;
            break;
        }
    }
    closedir(dir);
    return empty;
}

int MoveAcrossVolumes(std::string const& src, std::string const& dst) {
    struct stat sst;
    if (lstat(src.c_str(), &sst) != 0) {
        MoveFail("cannot examine", src);
        return -3;
    }
    bool const folder = S_ISDIR(sst.st_mode);

    // Replace what rename(2) would replace, nothing more: never merge into
    // a folder that has content.
    struct stat dst_st;
    if (lstat(dst.c_str(), &dst_st) == 0) {
        bool const dst_folder = S_ISDIR(dst_st.st_mode);
        if (folder ? (!dst_folder || !IsEmptyFolder(dst)) : dst_folder) {
            KLOG(Error, "FSRename: destination '%s' exists and can't be replaced by '%s'\n",
                 dst.c_str(), src.c_str());
            return -3;
        }
    } else if (errno != ENOENT) {
        MoveFail("cannot examine", dst);
        return -3;
    }

    std::string const src_parent = ContainingDir(src);
    std::string const dst_parent = ContainingDir(dst);
    if (access(src_parent.c_str(), W_OK | X_OK) != 0) {
        MoveFail("cannot remove the source from", src_parent);
        return -3;
    }
    if (folder) {
        // A volume mounted inside the source would receive a copy of itself.
        std::unique_ptr<char, decltype(&free)> rs(realpath(src.c_str(), nullptr), &free);
        std::unique_ptr<char, decltype(&free)> rd(realpath(dst_parent.c_str(), nullptr), &free);
        if (!rs || !rd || FSIsParentFolder(rs.get(), rd.get())) {
            KLOG(Error, "FSRename: can't move '%s' into itself ('%s')\n", src.c_str(), dst.c_str());
            return -3;
        }
    }

    std::string tmp;
    for (int attempt = 0; attempt < 16; ++attempt) {
        if (FSCreateTempPath(dst_parent, tmp) != 0) return -3;
        struct stat st;
        if (lstat(tmp.c_str(), &st) != 0 && errno == ENOENT) break;
        tmp.clear();
    }
    if (tmp.empty()) return -3;

    if (CopyEntry(src, tmp, sst) != 0) {
        KLOG(Error, "FSRename: failed to copy '%s' to '%s'; the source is kept\n", src.c_str(),
             dst.c_str());
        FSRemove(tmp);
        return -3;
    }
    if (rename(tmp.c_str(), dst.c_str()) != 0) {
        MoveFail("cannot rename the copy to", dst);
        FSRemove(tmp);
        return -3;
    }
    int pfd = open(dst_parent.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (pfd >= 0) {
        fsync(pfd);
        close(pfd);
    }
    if (FSRemove(src) != 0) {
        KLOG(Error, "FSRename: moved '%s' to '%s' but could not remove the source\n", src.c_str(),
             dst.c_str());
        return -3;
    }
    return 0;
}

}  // namespace

int FSRename(std::string const& src, std::string const& dst, bool exactName) {
    if (src.empty() || dst.empty()) return -1;
    if (!IsFileExist(src, exactName)) return -2;
    _FILE_INFO_tag info;
    if (fsinternal::LStatInfo(src, info) != 0 || !info.exists) return -2;

    if (rename(src.c_str(), dst.c_str()) == 0) return 0;
    if (errno == EACCES && info.type == FILE_TYPE_DIR) {
        // A folder moved to another parent needs write access to itself (its
        // ".." changes). The user's own read-only folder gets it for the move
        // and its modes back afterwards.
        struct stat st;
        if (lstat(src.c_str(), &st) == 0 && OpenUpOwnFolder(src, st)) {
            int const moved = rename(src.c_str(), dst.c_str());
            int const err = errno;
            fchmodat(AT_FDCWD, (moved == 0 ? dst : src).c_str(), st.st_mode & 07777,
                     AT_SYMLINK_NOFOLLOW);
            if (moved == 0) return 0;
            errno = err;
        } else {
            errno = EACCES;
        }
    }
    if (errno == ENAMETOOLONG) return -100;
    if (errno != EXDEV) return -3;
    if (info.type != FILE_TYPE_REGULAR && info.type != FILE_TYPE_DIR) return -3;
    return MoveAcrossVolumes(src, dst);
}

namespace {

// One Warning for the entry that could not go; its folders, which then
// can't go either, say nothing more.
int RemoveFailed(std::string const& path, int err) {
    KLOG(Warning, "FSRemove: cannot remove '%s': %s\n", path.c_str(),
         korvane::utils::ErrnoText(err).c_str());
    return -3;
}

int RemoveFolder(std::string const& path, struct stat const& st) {
    OpenUpOwnFolder(path, st);
    // Some file systems skip entries when a folder changes while it is read;
    // another pass picks those up.
    for (int pass = 0;; ++pass) {
        DIR* dir = opendir(path.c_str());
        if (dir == nullptr) {
            if (errno == ENOENT) return 0;
            int const err = errno;
            // Unreadable: an empty folder can still go; one with content stays
            // and is reported.
            if (rmdir(path.c_str()) == 0 || errno == ENOENT) return 0;
            return RemoveFailed(path, err);
        }
        int removed = 0;
        for (;;) {
            errno = 0;
            // NOLINTNEXTLINE(concurrency-mt-unsafe): no other thread reads this stream
            struct dirent* e = readdir(dir);
            if (e == nullptr) {
                int const err = errno;
                if (err != 0) {
                    closedir(dir);
                    return RemoveFailed(path, err);
                }
                break;
            }
            if (strcmp(e->d_name, ".") == 0 || strcmp(e->d_name, "..") == 0) continue;
            if (FSRemove(path + "/" + e->d_name) != 0) {
                closedir(dir);
                return -3;
            }
            ++removed;
        }
        closedir(dir);
        if (rmdir(path.c_str()) == 0 || errno == ENOENT) return 0;
        int const err = errno;
        if ((err != ENOTEMPTY && err != EEXIST) || removed == 0 || pass >= 8)
            return RemoveFailed(path, err);
    }
}

}  // namespace

int FSRemove(std::string const& path, bool) {
    if (path.empty()) return -1;
    struct stat st;
    if (lstat(path.c_str(), &st) != 0) return errno == ENOENT ? 0 : -1;
    if (S_ISDIR(st.st_mode)) return RemoveFolder(path, st);
    if (unlink(path.c_str()) == 0 || errno == ENOENT) return 0;
    return RemoveFailed(path, errno);
}

int FSMktemp(std::string const& dir, std::string& out) {
    char tmpl[4096];
    int n = snprintf(tmpl, sizeof(tmpl), "%s/XXXXXX", dir.c_str());
    if (n < 0 || static_cast<size_t>(n) >= sizeof(tmpl)) {
        // Never let a truncated template name a file somewhere else.
        KLOG(Error, "mkstemp(%s/XXXXXX): %s\n", dir.c_str(),
             korvane::utils::ErrnoText(ENAMETOOLONG).c_str());
        return -1;
    }
    std::string const pattern = tmpl;  // mkstemp rewrites the X's even when it fails
    int fd = mkstemp(tmpl);
    if (fd < 0) {
        int const err = errno;
        KLOG(Error, "mkstemp(%s): %s\n", pattern.c_str(), korvane::utils::ErrnoText(err).c_str());
        return -1;
    }
    close(fd);
    out = tmpl;
    chmod(tmpl, 0644);
    return 0;
}

int FSCreateTempPath(std::string const& dir, std::string& out) {
    out = TmpNameGen::getInstance().getTmpPath(dir);
    return out.empty() ? -1 : 0;
}

int FSFsync(std::string const& path) {
    int fd = open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        int const err = errno;
        if (err == ENOENT) return 1;
        KLOG(Error, "FSFsync: open(%s): %s (%d)\n", path.c_str(),
             korvane::utils::ErrnoText(err).c_str(), err);
        return -1;
    }
    if (fsync(fd) != 0) {
        int const err = errno;
        KLOG(Error, "FSFsync: fsync(%s): %s (%d)\n", path.c_str(),
             korvane::utils::ErrnoText(err).c_str(), err);
        close(fd);
        return -1;
    }
    close(fd);
    return 0;
}

int FSUTime(std::string const& path, long atime, long mtime) {
    struct timeval tv[2];
    tv[0].tv_sec = static_cast<time_t>(atime);
    tv[0].tv_usec = 0;
    tv[1].tv_sec = static_cast<time_t>(mtime);
    tv[1].tv_usec = 0;
    return lutimes(path.c_str(), tv) == 0 ? 0 : -1;
}

int FSCreateSymbolicLink(std::string const& target, std::string const& link) {
    if (symlink(target.c_str(), link.c_str()) == 0) return 0;
    int const err = errno;
    KLOG(Error,
         "FSCreateSymbolicLink: Failed to create symbolic link '%s' -> '%s' (code: %d, msg: %s)\n",
         target.c_str(), link.c_str(), err, korvane::utils::ErrnoText(err).c_str());
    return -1;
}

int FSChown(std::string const& path, unsigned uid, unsigned gid) {
    if (lchown(path.c_str(), static_cast<uid_t>(uid), static_cast<gid_t>(gid)) == 0) return 0;
    int const err = errno;
    KLOG(Error, "FSChown: Failed to chown '%s' (code: %d, msg: %s)\n", path.c_str(), err,
         korvane::utils::ErrnoText(err).c_str());
    return -1;
}

int FSChmod(std::string const& path, unsigned short mode) {
    if (chmod(path.c_str(), static_cast<mode_t>(mode)) == 0) return 0;
    int const err = errno;
    KLOG(Error, "FSChmod: Failed to chmod '%s' (code: %d, msg: %s)\n", path.c_str(), err,
         korvane::utils::ErrnoText(err).c_str());
    return -1;
}

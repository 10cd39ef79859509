// File information, directory reading and small path and volume queries.

#define KLOG_SOURCE "file-op"
#define KLOG_COMPONENT "file_op_debug"

#include "fs/file-op.h"

#include <dirent.h>
#include <errno.h>
#include <string.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cstring>
#include <string>

#include "fs/file-op-internal.h"
#include "fs/file-op-platform.h"
#include "log/LogMacros.h"
#include "utils/ErrnoText.h"
#include "utils/StringHelper.h"

using korvane::utils::StringHelper;

bool _FILE_INFO_tag::operator==(_FILE_INFO_tag const& o) const {
    return exists == o.exists && size == o.size && mtime == o.mtime && type == o.type &&
           path == o.path && name == o.name;
}

namespace fsinternal {

int TypeOfMode(mode_t mode) {
    switch (mode & S_IFMT) {
        case S_IFREG: return FILE_TYPE_REGULAR;
        case S_IFDIR: return FILE_TYPE_DIR;
        case S_IFLNK: return FILE_TYPE_LINK;
        case S_IFCHR:
        case S_IFBLK: return FILE_TYPE_DEVICE;
        case S_IFIFO: return FILE_TYPE_FIFO;
        case S_IFSOCK: return FILE_TYPE_SOCKET;
        default: return -1;
    }
}

int LStatInfo(std::string const& path, _FILE_INFO_tag& info) {
    struct stat st;
    if (lstat(path.c_str(), &st) != 0) {
        if (errno != ENOENT) return -1;
        info.exists = false;
        info.mtime = 0;
        info.path = path;
        info.name = FSBaseName(path);
        info.size = 0;
        info.type = FILE_TYPE_NONE;
        info.uid = info.gid = info.mode = 0;
        info.dev = 0;
        return 0;
    }
    info.exists = true;
    info.mtime = static_cast<int32_t>(static_cast<uint32_t>(static_cast<uint64_t>(st.st_mtime)));
    info.name = FSBaseName(path);
    info.path = path;
    info.size = static_cast<int64_t>(st.st_size);
    info.uid = static_cast<uint32_t>(st.st_uid);
    info.gid = static_cast<uint32_t>(st.st_gid);
    info.mode = static_cast<uint32_t>(st.st_mode);
    info.dev = static_cast<int64_t>(st.st_dev);
    int const type = TypeOfMode(st.st_mode);
    if (type < 0) return -1;
    info.type = type;
    return 0;
}

}  // namespace fsinternal

int GetFileInfo(std::string const& path, _FILE_INFO_tag& info) {
    int rc = fsinternal::LStatInfo(path, info);
    if (rc != 0 || !info.exists) return rc;

    KLOG(Debug, "Input file path = [%s].\n", path.c_str());
    std::string stored;
    int status = fsplatform::StoredPath(path, false, stored);
    if (status != 0) {
        KLOG(Error, "FSPathMakeRef: %d\n", status);
        return -1;
    }
    KLOG(Debug, "FSRefMakePath outTargetPath path = [%s].\n", stored.c_str());
    info.path = stored;
    info.name = FSBaseName(stored);
    return 0;
}

namespace {

// The exact-name test: the last component as stored equals the last
// component as given, both in NFC. The parents take no part: a home reached
// through a link resolves to another path, yet names the same folders.
// Normalising invalid UTF-8 yields "", which would make any two such names
// equal, so those are compared byte for byte.
std::string LastComponent(std::string path) {
    while (path.size() > 1 && path.back() == '/') path.pop_back();
    return FSBaseName(path);
}

bool SameSpelling(std::string const& stored, std::string const& given) {
    std::string const a = LastComponent(stored);
    std::string const b = LastComponent(given);
    if (StringHelper::IsValid(a) && StringHelper::IsValid(b))
        return StringHelper::Normalize(a, korvane::utils::NFC) ==
               StringHelper::Normalize(b, korvane::utils::NFC);
    return a == b;
}

}  // namespace

bool IsFileExist(std::string const& path, bool exactName) {
    if (path.empty()) return false;
    _FILE_INFO_tag info;
    if (GetFileInfo(path, info) != 0 || !info.exists) return false;
    return !exactName || SameSpelling(info.path, path);
}

int FSStat(std::string const& path, _FILE_INFO_tag& info, bool exactName) {
    if (path.empty()) return -1;
    // A path that can't be examined is reported as such, not as absent:
    // callers would otherwise take an unreadable folder for a missing one.
    _FILE_INFO_tag found;
    if (GetFileInfo(path, found) != 0) {
        if (errno != ENOTDIR) return -2;
        found.exists = false;  // a file in the middle of the path: nothing is there
    }
    if (!found.exists || (exactName && !SameSpelling(found.path, path))) {
        info.exists = false;
        return 0;
    }
    info = found;
    return 0;
}

std::string FSParentPath(std::string const& path) {
    size_t const pos = path.rfind('/');
    if (pos == std::string::npos || pos == 0) return "/";
    return path.substr(0, pos);
}

std::string FSBaseName(std::string const& path) {
    size_t const pos = path.rfind('/');
    if (pos == std::string::npos) return path;
    return path.substr(pos + 1);
}

bool FSIsParentFolder(std::string const& parent, std::string const& path) {
    if (path.size() < parent.size()) return false;
    if (path.size() > parent.size() && path[parent.size()] != '/') return false;
    return path.compare(0, parent.size(), parent) == 0;
}

int FSOpenDir(std::string const& path, int flags, DIR_HANDLE& handle) {
    DIR* dir = opendir(path.c_str());
    if (dir == nullptr) {
        int const err = errno;
        KLOG(Error, "FSOpenDir: Failed to open directory '%s'. %s\n", path.c_str(),
             korvane::utils::ErrnoText(err).c_str());
        return -1;
    }
    handle.dir = dir;
    handle.path = path;
    handle.flags = flags;
    return 0;
}

namespace {

int TypeOfDirent(unsigned char d_type) {
    switch (d_type) {
        case DT_FIFO: return FILE_TYPE_FIFO;
        case DT_CHR: return FILE_TYPE_DEVICE;
        case DT_DIR: return FILE_TYPE_DIR;
        case DT_BLK: return FILE_TYPE_DEVICE;
        case DT_REG: return FILE_TYPE_REGULAR;
        case DT_LNK: return FILE_TYPE_LINK;
        case DT_SOCK: return FILE_TYPE_SOCKET;
        default: return FILE_TYPE_NONE;
    }
}

}  // namespace

int FSReadDir(DIR_HANDLE& handle, DIR_ENTRY& entry) {
    // readdir returns null both at the end and on failure; errno tells them
    // apart, and a failure must not pass for a complete folder.
    errno = 0;
    // NOLINTNEXTLINE(concurrency-mt-unsafe): no other thread reads this stream
    struct dirent* e = readdir(handle.dir);
    if (e == nullptr) {
        int const err = errno;
        if (err == 0) return 0;
        KLOG(Error, "FSReadDir: Failed to read directory '%s'. %s\n", handle.path.c_str(),
             korvane::utils::ErrnoText(err).c_str());
        return -1;
    }
    std::string const name = e->d_name;
    unsigned char const d_type = e->d_type;
    entry.mtime = 0;
    entry.size = 0;
    if (handle.flags & DIR_READ_INFO) {
        std::string const full = handle.path + "/" + name;
        if (IsFileExist(full, true)) {
            _FILE_INFO_tag info;
            if (GetFileInfo(full, info) < 0) {
                KLOG(Error, "FSOpenDir: Failed to get info for '%s'\n", full.c_str());
                return -1;
            }
            entry.mtime = info.mtime;
            entry.size = info.size;
        }
    }
    entry.name = name;
    entry.type = TypeOfDirent(d_type);
    return 1;
}

void FSCloseDir(DIR_HANDLE& handle) {
    if (handle.dir != nullptr) closedir(handle.dir);
    handle.dir = nullptr;
    handle.path.clear();
}

bool FSTimeEqual(long a, long b) { return a == b; }

int FSGetRealPath(std::string& path) {
    KLOG(Debug, " org path [%s]\n", path.c_str());
    std::string real;
    if (fsplatform::StoredPath(path, true, real) != 0) return -1;
    path = real;
    KLOG(Debug, " get full path [%s]\n", path.c_str());
    return 0;
}

namespace fsplatform {
namespace {
std::atomic<FsTypeProbe> g_probe{nullptr};
}

void SetFsTypeProbe(FsTypeProbe probe) { g_probe.store(probe); }

int FsTypeName(std::string const& path, std::string& name) {
    FsTypeProbe probe = g_probe.load();
    return probe != nullptr ? probe(path, name) : PlatformFsTypeName(path, name);
}

}  // namespace fsplatform

namespace {

// The volume's type name, or "" after logging the failure under `who`.
std::string VolumeType(std::string const& path, char const* who) {
    std::string type;
    if (fsplatform::FsTypeName(path, type) != 0) {
        int const err = errno;
        KLOG(Error, "%s: Failed to get file system info '%s'. %s\n", who, path.c_str(),
             korvane::utils::ErrnoText(err).c_str());
        return std::string();
    }
    return type;
}

}  // namespace

bool isMountPoint(std::string const& path) {
    std::string const type = VolumeType(path, "isMountPoint");
    return type == "nfs" || type == "smbfs" || type == "afpfs";
}

bool IsMSDOS(std::string const& path) {
    if (VolumeType(path, "IsSupportLargeFile") == "msdos") {
        KLOG(Warning, "Detect a MSDOS platform for path '%s'.\n", path.c_str());
        return true;
    }
    return false;
}

namespace {

// 1 allowed, 0 denied (EACCES or EPERM), -1 any other failure.
int AccessResult(std::string const& path, int mode) {
    if (access(path.c_str(), mode) == 0) return 1;
    return (errno == EACCES || errno == EPERM) ? 0 : -1;
}

}  // namespace

bool isFileLocked(std::string const& path, int mode) { return AccessResult(path, mode) == 0; }

bool hasFilePermission(std::string const& path, int mode) { return AccessResult(path, mode) != 0; }

int FSReadSymbolicLink(std::string const& path, std::string& target) {
    constexpr int kBufSize = 1024;
    char buf[kBufSize];
    std::memset(buf, 0, sizeof(buf));
    ssize_t n = readlink(path.c_str(), buf, sizeof(buf));
    if (n < 0) {
        int const err = errno;
        KLOG(Error, "FSReadSymbolicLink: Failed to read symbolic link '%s' (code: %d, msg: %s)\n",
             path.c_str(), err, korvane::utils::ErrnoText(err).c_str());
        return -1;
    }
    if (n >= kBufSize) {
        KLOG(Error, "FSReadSymbolicLink: path of '%s' is more than %d\n", path.c_str(), kBufSize);
        return -1;
    }
    // The length readlink returns, not strlen: the content is not terminated.
    target.assign(buf, static_cast<size_t>(n));
    return 0;
}

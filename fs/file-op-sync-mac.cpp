#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "fs/file-op-sync.h"
#include "utils/ErrnoText.h"

#define KLOG_SOURCE "file-op"
#define KLOG_COMPONENT "file_op_debug"
#include "log/LogMacros.h"

namespace {

bool FsyncPath(std::string const& path, int flags) {
    int fd = open(path.c_str(), flags | O_CLOEXEC);
    if (fd < 0) return false;
    bool ok = fsync(fd) == 0;
    return close(fd) == 0 && ok;
}

void FsyncEach(std::string const& path) {
    struct stat st;
    if (lstat(path.c_str(), &st) != 0) return;
    if (S_ISREG(st.st_mode)) {
        FsyncPath(path, O_RDONLY | O_NONBLOCK);
        return;
    }
    if (!S_ISDIR(st.st_mode)) return;
    if (DIR* d = opendir(path.c_str())) {
        // NOLINTNEXTLINE(concurrency-mt-unsafe): no other thread reads this stream
        while (dirent* e = readdir(d)) {
            if (strcmp(e->d_name, ".") != 0 && strcmp(e->d_name, "..") != 0)
                FsyncEach(path + "/" + e->d_name);
        }
        closedir(d);
    }
    FsyncPath(path, O_RDONLY | O_DIRECTORY);
}

}  // namespace

int FSSyncTree(std::string const& path) {
    FsyncEach(path);
    int const fd = open(path.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) {
        KLOG(Error, "FSSyncTree: failed to open '%s': %s\n", path.c_str(),
             korvane::utils::ErrnoText(errno).c_str());
        return -1;
    }
    // One flush of the drive's cache covers every file fsynced above.
    bool ok = fcntl(fd, F_FULLFSYNC) == 0 || fsync(fd) == 0;
    int const err = errno;
    close(fd);
    if (!ok) {
        KLOG(Error, "FSSyncTree: failed to flush '%s': %s\n", path.c_str(),
             korvane::utils::ErrnoText(err).c_str());
        return -1;
    }
    return 0;
}

#include <errno.h>
#include <fcntl.h>
#include <linux/fs.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <sys/xattr.h>
#include <unistd.h>

#include "extract/file-clone.h"

namespace fileclone {

Result CloneInto(int src_fd, std::string const& dst, mode_t mode) {
    int const fd = open(dst.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600);
    if (fd < 0) return Result::Failed;
    if (ioctl(fd, FICLONE, src_fd) == 0 && fchmod(fd, mode) == 0) {
        close(fd);
        return Result::Cloned;
    }
    int const err = errno;
    close(fd);
    unlink(dst.c_str());
    // EXDEV: another volume, where a link fails as well.
    bool const never =
        err == EOPNOTSUPP || err == ENOTTY || err == EINVAL || err == EXDEV || err == ENOSYS;
    return never ? Result::Unsupported : Result::Failed;
}

bool IsPlain(int fd) {
    ssize_t const n = flistxattr(fd, nullptr, 0);
    return n == 0 || (n < 0 && errno == ENOTSUP);
}

}  // namespace fileclone

#include <errno.h>
#include <fcntl.h>
#include <sys/acl.h>
#include <sys/clonefile.h>
#include <sys/stat.h>
#include <sys/xattr.h>
#include <unistd.h>

#include <cstring>
#include <vector>

#include "extract/file-clone.h"

namespace fileclone {

namespace {

bool HasAcl(int fd) {
    acl_t const acl = acl_get_fd_np(fd, ACL_TYPE_EXTENDED);
    if (!acl) return false;
    acl_free(acl);
    return true;
}

// Removes every extended attribute of the file open as `fd`.
bool StripAttributes(int fd) {
    ssize_t const size = flistxattr(fd, nullptr, 0, 0);
    if (size <= 0) return size == 0 || errno == ENOTSUP;
    std::vector<char> names(static_cast<size_t>(size));
    ssize_t const got = flistxattr(fd, names.data(), names.size(), 0);
    if (got < 0) return false;
    for (size_t at = 0; at < static_cast<size_t>(got); at += std::strlen(&names[at]) + 1)
        if (fremovexattr(fd, &names[at], 0) != 0 && errno != ENOATTR) return false;
    return true;
}

}  // namespace

Result CloneInto(int src_fd, std::string const& dst, mode_t mode) {
    // The clone gets no ACL unless asked (CLONE_ACL), and the caller's owner.
    if (fclonefileat(src_fd, AT_FDCWD, dst.c_str(), CLONE_NOFOLLOW | CLONE_NOOWNERCOPY) != 0) {
        bool const never = errno == ENOTSUP || errno == EXDEV;
        return never ? Result::Unsupported : Result::Failed;
    }
    int const fd = open(dst.c_str(), O_RDONLY | O_NOFOLLOW | O_CLOEXEC);
    // Flags first (an immutable one blocks the rest), then room to remove
    // the attributes, then the mode the entry asks for.
    bool const ok = fd >= 0 && fchflags(fd, 0) == 0 && fchmod(fd, S_IRUSR | S_IWUSR) == 0 &&
                    StripAttributes(fd) && fchmod(fd, mode) == 0;
    if (fd >= 0) close(fd);
    if (ok) return Result::Cloned;
    unlink(dst.c_str());
    return Result::Failed;
}

bool IsPlain(int fd) {
    struct stat st;
    if (fstat(fd, &st) != 0 || st.st_flags != 0 || HasAcl(fd)) return false;
    ssize_t const n = flistxattr(fd, nullptr, 0, 0);
    return n == 0 || (n < 0 && errno == ENOTSUP);
}

}  // namespace fileclone

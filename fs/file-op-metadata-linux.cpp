// Linux: the user's extended attributes (user.*) travel with a file or
// folder that is copied to another volume. Other namespaces belong to the
// system or need privileges; a volume without attributes is no failure.

#include <errno.h>
#include <sys/xattr.h>

#include <string>
#include <vector>

#include "fs/file-op-internal.h"

namespace fsinternal {

void CopyMetadata(std::string const& src, std::string const& dst) {
    ssize_t size = llistxattr(src.c_str(), nullptr, 0);
    if (size <= 0) return;
    std::vector<char> names(static_cast<size_t>(size));
    size = llistxattr(src.c_str(), names.data(), names.size());
    if (size <= 0) return;
    std::vector<char> value;
    for (size_t pos = 0; pos < static_cast<size_t>(size);) {
        std::string const name(names.data() + pos);
        pos += name.size() + 1;
        if (name.compare(0, 5, "user.") != 0) continue;
        ssize_t n = lgetxattr(src.c_str(), name.c_str(), nullptr, 0);
        if (n < 0) continue;
        value.resize(static_cast<size_t>(n));
        n = lgetxattr(src.c_str(), name.c_str(), value.data(), value.size());
        if (n < 0) continue;
        lsetxattr(dst.c_str(), name.c_str(), value.data(), static_cast<size_t>(n), 0);
    }
}

}  // namespace fsinternal

#include <errno.h>
#include <sys/xattr.h>

#include "extract/quarantine.h"

namespace quarantine {

void RemoveFromPath(std::string const& path) {
    // ENOATTR, the usual answer, and a volume without attributes are both fine.
    removexattr(path.c_str(), kAttribute, XATTR_NOFOLLOW);
}

}  // namespace quarantine

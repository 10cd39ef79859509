#include <fcntl.h>
#include <unistd.h>

#include <cerrno>

#include "fs/file-op-sync.h"
#include "utils/ErrnoText.h"

#define KLOG_SOURCE "file-op"
#define KLOG_COMPONENT "file_op_debug"
#include "log/LogMacros.h"

int FSSyncTree(std::string const& path) {
    int const fd = open(path.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0 || syncfs(fd) != 0) {
        KLOG(Error, "FSSyncTree: failed to flush '%s': %s\n", path.c_str(),
             korvane::utils::ErrnoText(errno).c_str());
        if (fd >= 0) close(fd);
        return -1;
    }
    close(fd);
    return 0;
}

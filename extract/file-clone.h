#pragma once
// Copy-on-write clones of a file, and whether a file carries anything beside
// its data and mode. One platform file each:
//  - Linux: the FICLONE ioctl (Btrfs, XFS with reflinks); most other
//    volumes, ext4 among them, answer that they cannot.
//  - macOS: fclonefileat(2) on APFS, which also copies the extended
//    attributes; they are removed from the clone, which must look written.

#include <sys/types.h>

#include <string>

namespace fileclone {

enum class Result {
    Cloned,       // `dst` shares the source's blocks and has `mode`
    Unsupported,  // this volume cannot clone: no later call will do better
    Failed,       // this file could not be cloned; nothing is left at `dst`
};

// Makes `dst`, which must not exist, a clone of the regular file open as
// `src_fd`, with permission bits `mode`, owned by the caller and with no
// extended attributes. A link at `dst` is never followed.
Result CloneInto(int src_fd, std::string const& dst, mode_t mode);

// True when the file open as `fd` has no extended attributes (and, on
// macOS, no access control list and no file flags): a hard link to it then
// gives nothing a written file would not have.
bool IsPlain(int fd);

}  // namespace fileclone

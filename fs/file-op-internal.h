#pragma once
// Helpers shared by the file-op sources; not part of the layer's interface.

#include <sys/stat.h>
#include <time.h>

#include <string>

#include "fs/file-op.h"

namespace fsinternal {

// The type code of a stat mode; -1 for a kind the record has no code for.
int TypeOfMode(mode_t mode);

// Steps 1-4 of GetFileInfo: the record from lstat alone, path and name as
// given. 0 (also when absent), -1 when the path can't be examined or is of
// an unlisted kind. The mutation operations need no stored spelling.
int LStatInfo(std::string const& path, _FILE_INFO_tag& info);

// Access and modification times, in the order utimensat takes them.
inline void StatTimes(struct stat const& st, struct timespec times[2]) {
#ifdef __APPLE__
    times[0] = st.st_atimespec;
    times[1] = st.st_mtimespec;
#else
    times[0] = st.st_atim;
    times[1] = st.st_mtim;
#endif
}

// Copies what a move across volumes must keep beyond content, mode and
// times: extended attributes (and on macOS ACLs). Best effort; run before
// the destination is made read-only.
void CopyMetadata(std::string const& src, std::string const& dst);

}  // namespace fsinternal

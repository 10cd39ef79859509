#pragma once
// The client bundle as it will be packed: Contents and everything below it,
// each folder walked in byte order of its names, so that the same tree
// always gives the same entries. Every path is checked before anything is
// written: what the installed client on a Mac could not hold, or what this
// user cannot read, is refused.

#include <sys/types.h>

#include <cstdint>
#include <string>
#include <vector>

namespace pack {

struct TreeEntry {
    std::string name;    // in the package: "Contents/MacOS/korvane-ui"
    std::string source;  // on disk
    mode_t mode = 0;     // type and permission bits, as lstat gives them
    uint64_t size = 0;   // regular files only
    int64_t mtime = 0;   // whole seconds
    std::string target;  // a symbolic link's target
    std::string first;   // a hard link's: the package name of its inode's first path
};

// Walks `bundle`/Contents; false with `error` ("<path>: <reason>") at the
// first path that cannot go in.
bool ScanTree(std::string const& bundle, std::vector<TreeEntry>* out, std::string* error);

}  // namespace pack

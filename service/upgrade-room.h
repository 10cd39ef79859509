#pragma once
// What an upgrade needs of the per-user folder's volume, found before the
// running client is stopped: write access, the bytes it will really write
// once the installed client's unchanged files are reused, and the inodes
// its entries take.

#include <sys/statvfs.h>

#include <cstdint>
#include <string>

namespace upgraderoom {

// The package read through once, compared with the installed client.
struct Walk {
    bool ok = false;
    std::string error;     // why not, when !ok
    uint64_t entries = 0;  // all entries
    uint64_t inodes = 0;   // entries that make a name of their own (no hard links)
    uint64_t write_bytes =
        0;  // what the volume gives: data rounded to blocks, one block per folder
    uint64_t reused_bytes = 0;
    uint64_t reused_files = 0;
};

// `installed`: the installed client's bundle, or "" to credit nothing.
// `block`: the volume's allocation unit. A regular file is credited when its
// bytes equal the installed file at its place and that file may be
// hard-linked as it is (the rule the extraction's reuse applies).
Walk WalkPackage(std::string const& package, std::string const& installed, uint64_t block);

// True when the volume counts inodes at all.
bool CountsInodes(struct statvfs const& vfs);

// The nearest existing folder on the way to `path`: "" when none can be
// looked at.
std::string NearestFolder(std::string const& path);

// False, with `err` set, when the per-user folder (or, before it exists,
// the folder it would be made in) cannot be written.
bool CanWrite(std::string const& folder, int* err);

}  // namespace upgraderoom

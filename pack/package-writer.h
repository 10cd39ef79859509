#pragma once
// Writes the scanned tree as a package, byte for byte the same for the same
// tree: entries in the scan's order, owner and group 0 without names, no
// access or change times, mtimes in whole seconds (the launcher does not
// restore them, and a fraction would cost a pax header per entry), the
// gzip header without a timestamp, zip times in UTC.

#include <string>
#include <vector>

#include "pack/tree-scan.h"

namespace pack {

enum class Format { TarGz, Tar, Zip, TarXz };

// "tar.gz", "tar", "zip", "tar.xz"; false for anything else.
bool ParseFormat(std::string const& text, Format* out);

// Zip has no hard links: there each path of a file is stored in full.
bool KeepsHardLinks(Format format);

// Writes `entries` into the open file `fd`; `level` is the compression
// level (0-9), -1 for the format's default. False with `error` set.
bool WritePackage(std::vector<TreeEntry> const& entries, Format format, int level, int fd,
                  std::string* error);

}  // namespace pack

#pragma once
// How much room a package's contents take once extracted, found without
// reading the package through: an install must be refused before the
// running client is stopped, not half-way through the extraction.

#include <cstdint>
#include <string>

namespace packageroom {

struct Measure {
    bool opened = false;  // the package opens and its first entry reads
    std::string error;    // why not, when !opened (a zstd window too large too)
    // Bytes of the extracted entries: an upper bound read off a gzip trailer,
    // the entry sizes of an uncompressed archive, or, where neither can be
    // had cheaply (xz, a padded or huge gzip stream), the package's own
    // size, a lower bound.
    uint64_t bytes = 0;
    bool bound = false;  // bytes is an upper bound rather than an estimate
    // Each entry takes at least this many bytes of the uncompressed stream:
    // a tar header block, or what the smallest zip or cpio entry takes.
    uint64_t least_entry_bytes = 64;
};

// `walk_headers` false: an uncompressed archive's entries are not walked,
// for a caller that knows their bytes already (the package's description);
// the measure is then the package's own size.
Measure MeasurePackage(std::string const& path, bool walk_headers = true);

// Room to ask for: the measure plus a margin for file-system blocks.
uint64_t WithMargin(uint64_t bytes);

}  // namespace packageroom

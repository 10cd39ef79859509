#pragma once
// Writes the scanned tree as a package, byte for byte the same for the same
// tree: entries in the scan's order, owner and group 0 without names, no
// access or change times, mtimes in whole seconds (the launcher does not
// restore them, and a fraction would cost a pax header per entry), the
// gzip header without a timestamp, zip times in UTC.

#include <string>
#include <vector>

#include "pack/tree-scan.h"

struct archive;

namespace pack {

enum class Format { TarGz, Tar, Zip, TarXz, TarZst };

// "tar.gz", "tar", "zip", "tar.xz", "tar.zst"; false for anything else.
bool ParseFormat(std::string const& text, Format* out);

// Zip has no hard links: there each path of a file is stored in full.
bool KeepsHardLinks(Format format);

// The level tar.zst is packed at by default, and the highest one, and the
// window: 128 MiB with long-distance matching, the most the launcher's
// decoder accepts. Whatever a client repeats at a distance beyond level
// 19's own 8 MiB (a library or resources in two frameworks) is then stored
// once: on the bench's real-bytes client, which repeats its sources, the
// package is 0.47 times the tar.gz instead of 0.75, packed in less time.
// The decoder then holds up to 128 MiB of window, within an install's
// memory budget.
constexpr int kZstdLevel = 19;
constexpr int kZstdMaxLevel = 22;
constexpr int kZstdWindowLog = 27;

// Opens the archive writer `a`, its format set, to write a plain tar through
// zstd into `fd`, as WritePackage does for tar.zst (bench/install_kit.h
// writes its packages so). False with libarchive's error set.
bool OpenZstdWriter(struct archive* a, int fd, int level);

// Writes `entries` into the open file `fd`; `level` is the compression
// level (0-9, for tar.zst 1-22), -1 for the format's default. When packing
// takes a while and standard error is a terminal, the bytes packed are shown
// there. False with `error` set.
bool WritePackage(std::vector<TreeEntry> const& entries, Format format, int level, int fd,
                  std::string* error);

}  // namespace pack

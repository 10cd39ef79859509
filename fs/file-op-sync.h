#pragma once
// Makes a freshly written tree durable, so that the install mark is never
// cleared or rewritten ahead of the data it vouches for. One platform file
// each:
//  - Linux: one syncfs(2) on the tree's volume. It writes back every dirty
//    page and metadata of that file system and waits for it, far cheaper
//    than opening and fsyncing thousands of files one by one.
//  - macOS: no syncfs, and fsync only hands data to the drive, whose cache
//    may still lose it on a power cut. Each file is fsynced (queued to the
//    drive), then one fcntl(F_FULLFSYNC) flushes the drive's cache for all of
//    them; a volume that refuses it (network, FAT) gets a plain fsync.

#include <string>

// 0, or -1 when the tree could not be made durable (logged).
int FSSyncTree(std::string const& path);

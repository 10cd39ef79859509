#pragma once
// Unpacks the package archive into a folder, entry by entry, reporting
// progress through Notify_Adapter. A thin layer over libarchive; the object
// keeps no libarchive handles between calls. Extract() takes the total from
// the package's description when it has one; otherwise it counts the entries
// on a thread of its own while it writes, and holds the reports back until
// the total is known.

#include <string>

struct archive;

class Extractor {
public:
    std::string dest_dir;      // UTF-8 folder the entries are written under
    std::string archive_path;  // UTF-8 path of the archive to read
    // UTF-8 folder of the client being replaced, or "": a file it holds
    // unchanged at the same place is reused instead of written again.
    std::string reuse_dir;
    // Entries the package's description names, or 0: then they are counted.
    // A package that holds more or fewer fails the extraction, the surplus
    // entry unwritten.
    int declared_entries = 0;
    // The entry at this path below dest_dir (the client's executable) is
    // written under a temporary name and takes its own only once every other
    // entry is on disk, so that nothing starts a part of the bundle.
    std::string named_last;
    // Asked before each entry: true stops the extraction, which then fails
    // (a logout or a shutdown while the bundle is written).
    bool (*stop_requested)() = nullptr;

    // Number of entries, or -1. Stops counting silently at the first damaged
    // header, so a damaged archive yields the entries before the damage.
    int Count();
    // Prints every entry's path name to stdout, one per line; 0 or -1.
    int List();
    // Extracts the whole archive under dest_dir with progress; 0 or -1.
    // Reports may come from the counting thread, one at a time and in
    // order; a direct receiver must not wait for the extraction to go on.
    // Nothing is ever written outside dest_dir: an entry that would land
    // there (through "..", a link in the path, or a hard link to a file
    // outside) fails the extraction.
    int Extract();
    // Copies the current entry's data blocks from reader to writer; 0 or -1.
    int copy_data(struct archive* reader, struct archive* writer);

    // Seams for tests that stop at a given moment, for the whole process:
    // `entry_on_disk` runs on the extracting thread once entry `done` (from
    // 1) is written, before its report, which may wait for the count;
    // `count_starts` runs on the counting thread before it reads.
    struct Hooks {
        void (*entry_on_disk)(int done) = nullptr;
        void (*count_starts)() = nullptr;
        // runs once every entry is on disk, before named_last takes its name
        void (*before_named_last)() = nullptr;
        // false: write every entry, even one reuse_dir holds unchanged (benchmarks)
        bool reuse_backup = true;
    };
    static void SetHooks(Hooks hooks);
};

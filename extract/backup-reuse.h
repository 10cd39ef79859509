#pragma once
// During an upgrade the old client lies in its backup folder while the new
// one is written. A regular file of the package whose data is byte for byte
// the file at the same place in the backup is not written again: it is
// cloned from it (blocks shared, copy on write) or, where the volume cannot
// clone, hard-linked, but only when sharing the inode gives the new tree
// nothing a written file would not have. The backup is only ever read, and
// data that differs is written from bytes already compared.

#include <sys/types.h>

#include <cstdint>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "extract/link-guard.h"

struct archive;
struct archive_entry;

class BackupReuse {
public:
    enum class Outcome {
        NotTried,     // nothing was read: write the entry as usual
        Reused,       // the entry's data was read and its file is in place
        Written,      // the data differed: the writer took the entry, finished
        ReadFailed,   // the package's data could not be read (reader's error)
        WriteFailed,  // the entry could not be written (writer's error, or logged)
    };

    // `backup`: the old client's folder, or "" to write everything. `umask`:
    // the one the disk writer applies to every mode it sets.
    BackupReuse(std::string backup, mode_t umask);

    // Entry `name`, as the package spells it, is about to land at `path`,
    // which the caller has checked for links on the way.
    Outcome Place(struct archive* reader, struct archive_entry* entry, std::string const& name,
                  std::string const& path, struct archive* writer);

    // Before a hard-link entry that carries data is written to `target`: a
    // file linked from the backup first gets an inode of its own, so that
    // the data never lands in the backup. False, logged, when it cannot.
    bool Unshare(std::string const& target);

    void LogTotals() const;  // at Debug

    // A name with a ".." component is never looked up in the backup.
    static bool HasDotDot(std::string const& name);

private:
    int OpenMatch(struct archive_entry* entry, std::string const& from, int64_t size);
    bool SameAs(int fd, int64_t pos, void const* data, size_t size);
    bool Adopt(int fd, std::string const& from, std::string const& path, mode_t mode);
    Outcome WriteInstead(struct archive* reader, struct archive_entry* entry,
                         struct archive* writer, int fd, std::string const& from, int64_t compared,
                         void const* block, size_t size, int64_t offset);

    std::string backup_;
    mode_t umask_;
    LinkGuard backup_links_;
    bool can_clone_ = true;
    std::vector<char> buffer_;
    std::set<std::pair<dev_t, ino_t>> linked_;  // inodes shared with the backup
    int cloned_ = 0, hard_linked_ = 0, written_ = 0;
    uint64_t reused_bytes_ = 0, written_bytes_ = 0;
};

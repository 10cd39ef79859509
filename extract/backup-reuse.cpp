#include "extract/backup-reuse.h"

#include <archive.h>
#include <archive_entry.h>
#include <errno.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstring>

#include "extract/file-clone.h"
#include "utils/ErrnoText.h"

#define KLOG_SOURCE "extractor"
#define KLOG_COMPONENT "extractor_debug"
#include "log/LogMacros.h"

namespace {

constexpr size_t kChunk = size_t{256} << 10;  // the most the comparison holds at once
// A changed file mostly differs from its start: compare a little first, so
// that it costs a page of the backup rather than a whole block.
constexpr size_t kFirstChunk = size_t{4} << 10;

class Fd {
public:
    explicit Fd(int fd) : fd_(fd) {}
    ~Fd() {
        if (fd_ >= 0) close(fd_);
    }
    Fd(Fd const&) = delete;
    Fd& operator=(Fd const&) = delete;
    int get() const { return fd_; }

private:
    int fd_;
};

// Reading the backup must not dirty its inodes' access times: they would
// be written to the disk for a folder about to go. Only the owner may ask.
int OpenToCompare(std::string const& path) {
    int const flags = O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC;
#ifdef O_NOATIME
    int const fd = open(path.c_str(), flags | O_NOATIME);
    if (fd >= 0 || errno != EPERM) return fd;
#endif
    return open(path.c_str(), flags);
}

// Reads exactly `size` bytes at `pos`; false on an error or a short file.
bool ReadAt(int fd, char* out, size_t size, int64_t pos) {
    while (size > 0) {
        ssize_t const n = pread(fd, out, size, static_cast<off_t>(pos));
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return false;
        out += n;
        size -= static_cast<size_t>(n);
        pos += n;
    }
    return true;
}

}  // namespace

bool BackupReuse::HasDotDot(std::string const& name) {
    for (size_t start = 0; start <= name.size();) {
        size_t end = name.find('/', start);
        if (end == std::string::npos) end = name.size();
        if (name.compare(start, end - start, "..") == 0) return true;
        start = end + 1;
    }
    return false;
}

BackupReuse::BackupReuse(std::string backup, mode_t umask)
    : backup_(std::move(backup)), umask_(umask), backup_links_(backup_, false) {}

// The backup's file at the entry's place, open, when it is a regular file of
// the entry's size reached through real folders only; -1 otherwise.
int BackupReuse::OpenMatch(struct archive_entry* entry, std::string const& from, int64_t size) {
    size_t mac_size = 0;
    // Mac metadata is restored by the writer alone, and a sparse entry's
    // holes are not data to compare.
    if (archive_entry_mac_metadata(entry, &mac_size) != nullptr ||
        archive_entry_sparse_count(entry) > 0)
        return -1;
    if (!backup_links_.FindLink(from, false).empty()) return -1;
    int const fd = OpenToCompare(from);
    if (fd < 0) return -1;
    struct stat st;
    if (fstat(fd, &st) != 0 || !S_ISREG(st.st_mode) || st.st_size != size) {
        close(fd);
        return -1;
    }
    return fd;
}

bool BackupReuse::SameAs(int fd, int64_t pos, void const* data, size_t size) {
    auto const* want = static_cast<char const*>(data);
    while (size > 0) {
        size_t const chunk = pos == 0 ? kFirstChunk : kChunk;
        size_t const n = std::min(size, chunk);
        if (buffer_.size() < n) buffer_.resize(n);
        if (!ReadAt(fd, buffer_.data(), n, pos) || std::memcmp(buffer_.data(), want, n) != 0)
            return false;
        want += n;
        pos += static_cast<int64_t>(n);
        size -= n;
    }
    return true;
}

// Puts the compared file at `path` without writing its data; false leaves
// nothing there.
bool BackupReuse::Adopt(int fd, std::string const& from, std::string const& path, mode_t mode) {
    if (can_clone_) {
        fileclone::Result const r = fileclone::CloneInto(fd, path, mode);
        if (r == fileclone::Result::Cloned) {
            ++cloned_;
            return true;
        }
        if (r == fileclone::Result::Unsupported) can_clone_ = false;
    }
    // A shared inode keeps the backup's mode and attributes for both names,
    // and its data too: only an inode of ours alone, that already looks as
    // the written file would, may be shared.
    struct stat st;
    if (fstat(fd, &st) != 0 || st.st_nlink != 1 || st.st_uid != geteuid() ||
        (st.st_mode & 07777) != mode || !fileclone::IsPlain(fd))
        return false;
    if (link(from.c_str(), path.c_str()) != 0) return false;
    struct stat now;
    if (lstat(path.c_str(), &now) != 0 || now.st_dev != st.st_dev || now.st_ino != st.st_ino) {
        unlink(path.c_str());  // the backup changed under the comparison
        return false;
    }
    linked_.insert({st.st_dev, st.st_ino});
    ++hard_linked_;
    return true;
}

// Writes the entry after all: the `compared` bytes come back from the
// backup, which matched the package up to there, then `block` (read from
// the package at `offset`), then the rest of the entry's data.
BackupReuse::Outcome BackupReuse::WriteInstead(struct archive* reader, struct archive_entry* entry,
                                               struct archive* writer, int fd,
                                               std::string const& from, int64_t compared,
                                               void const* block, size_t size, int64_t offset) {
    if (archive_write_header(writer, entry) != ARCHIVE_OK) return Outcome::WriteFailed;
    for (int64_t pos = 0; pos < compared;) {
        size_t const n = static_cast<size_t>(std::min<int64_t>(compared - pos, kChunk));
        if (buffer_.size() < n) buffer_.resize(n);
        if (!ReadAt(fd, buffer_.data(), n, pos)) {
            KLOG(Error, "cannot read '%s' back: %s\n", from.c_str(),
                 korvane::utils::ErrnoText(errno).c_str());
            return Outcome::WriteFailed;
        }
        if (archive_write_data_block(writer, buffer_.data(), n, pos) != ARCHIVE_OK)
            return Outcome::WriteFailed;
        pos += static_cast<int64_t>(n);
    }
    if (size > 0 && archive_write_data_block(writer, block, size, offset) != ARCHIVE_OK)
        return Outcome::WriteFailed;
    for (;;) {
        int const r = archive_read_data_block(reader, &block, &size, &offset);
        if (r == ARCHIVE_EOF) break;
        if (r != ARCHIVE_OK) return Outcome::ReadFailed;
        if (archive_write_data_block(writer, block, size, offset) != ARCHIVE_OK)
            return Outcome::WriteFailed;
    }
    if (archive_write_finish_entry(writer) != ARCHIVE_OK) return Outcome::WriteFailed;
    ++written_;
    written_bytes_ += static_cast<uint64_t>(archive_entry_size(entry));
    return Outcome::Written;
}

BackupReuse::Outcome BackupReuse::Place(struct archive* reader, struct archive_entry* entry,
                                        std::string const& name, std::string const& path,
                                        struct archive* writer) {
    bool const regular =
        archive_entry_filetype(entry) == AE_IFREG && archive_entry_hardlink(entry) == nullptr;
    int64_t const size = archive_entry_size_is_set(entry) ? archive_entry_size(entry) : -1;
    bool const candidate = !backup_.empty() && regular && size > 0 && !HasDotDot(name);
    std::string const from = candidate ? backup_ + "/" + name : std::string();
    Fd const fd(candidate ? OpenMatch(entry, from, size) : -1);
    if (fd.get() < 0) {
        ++written_;
        if (regular && size > 0) written_bytes_ += static_cast<uint64_t>(size);
        return Outcome::NotTried;
    }
    // Compared as the data streams out; the first difference turns it into
    // an ordinary write.
    int64_t pos = 0;
    for (;;) {
        void const* block = nullptr;
        size_t n = 0;
        la_int64_t offset = 0;
        int const r = archive_read_data_block(reader, &block, &n, &offset);
        if (r == ARCHIVE_EOF) break;
        if (r != ARCHIVE_OK) return Outcome::ReadFailed;
        if (offset != pos || !SameAs(fd.get(), pos, block, n))
            return WriteInstead(reader, entry, writer, fd.get(), from, pos, block, n, offset);
        pos += static_cast<int64_t>(n);
    }
    // What the disk writer would set: no set-id or sticky bits, the umask.
    mode_t const mode = archive_entry_perm(entry) & 0777 & ~umask_;
    if (pos != size || !Adopt(fd.get(), from, path, mode))
        return WriteInstead(reader, entry, writer, fd.get(), from, pos, nullptr, 0, 0);
    reused_bytes_ += static_cast<uint64_t>(size);
    return Outcome::Reused;
}

bool BackupReuse::Unshare(std::string const& target) {
    struct stat st;
    if (linked_.empty() || lstat(target.c_str(), &st) != 0 ||
        linked_.count({st.st_dev, st.st_ino}) == 0)
        return true;
    // Never through what an entry may have put at this name.
    std::string const copy = target + ".korvane-unshare";
    Fd const in(open(target.c_str(), O_RDONLY | O_NOFOLLOW | O_CLOEXEC));
    Fd const out(open(copy.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600));
    bool ok = in.get() >= 0 && out.get() >= 0;
    for (int64_t pos = 0; ok && pos < st.st_size;) {
        size_t const n = static_cast<size_t>(std::min<int64_t>(st.st_size - pos, kChunk));
        if (buffer_.size() < n) buffer_.resize(n);
        ok = ReadAt(in.get(), buffer_.data(), n, pos) &&
             write(out.get(), buffer_.data(), n) == static_cast<ssize_t>(n);
        pos += static_cast<int64_t>(n);
    }
    ok = ok && fchmod(out.get(), st.st_mode & 07777) == 0 &&
         rename(copy.c_str(), target.c_str()) == 0;
    if (!ok) {
        KLOG(Error, "cannot give '%s' an inode of its own: %s\n", target.c_str(),
             korvane::utils::ErrnoText(errno).c_str());
        if (out.get() >= 0) unlink(copy.c_str());
        return false;
    }
    linked_.erase({st.st_dev, st.st_ino});
    return true;
}

void BackupReuse::LogTotals() const {
    if (backup_.empty()) return;
    KLOG(Debug,
         "reused %d unchanged files (%llu bytes; %d cloned, %d hard-linked) from '%s'; wrote %d "
         "entries (%llu bytes)\n",
         cloned_ + hard_linked_, static_cast<unsigned long long>(reused_bytes_), cloned_,
         hard_linked_, backup_.c_str(), written_, static_cast<unsigned long long>(written_bytes_));
}

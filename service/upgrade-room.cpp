#define KLOG_SOURCE "cloud-service"
#define KLOG_COMPONENT "service_debug"

#include "service/upgrade-room.h"

#include <archive.h>
#include <archive_entry.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <memory>
#include <vector>

#include "extract/backup-reuse.h"
#include "extract/file-clone.h"
#include "extract/link-guard.h"
#include "extract/package-room.h"
#include "fs/file-op.h"
#include "log/LogMacros.h"
#include "service/cloud-service.h"
#include "utils/ErrnoText.h"

namespace upgraderoom {
namespace {

struct ReadFree {
    void operator()(struct archive* a) const { archive_read_free(a); }
};

uint64_t RoundUp(uint64_t bytes, uint64_t block) {
    return block == 0 ? bytes : (bytes + block - 1) / block * block;
}

// The installed file at `from` when the extraction's reuse would link it in
// place of the entry: a plain regular file of ours alone, of the entry's
// size and mode, reached through real folders. -1 otherwise.
int OpenLinkable(LinkGuard& links, std::string const& from, int64_t size, mode_t mode) {
    if (!links.FindLink(from, false).empty()) return -1;
    int const fd = open(from.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) return -1;
    struct stat st;
    if (fstat(fd, &st) != 0 || !S_ISREG(st.st_mode) || st.st_size != size || st.st_nlink != 1 ||
        st.st_uid != geteuid() || (st.st_mode & 07777) != mode || !fileclone::IsPlain(fd)) {
        close(fd);
        return -1;
    }
    return fd;
}

// Reads the entry's data through; true when it equals the file open as `fd`.
bool SameData(struct archive* a, int fd, std::vector<char>& buffer, bool* read_failed) {
    int64_t pos = 0;
    bool same = true;
    for (;;) {
        void const* block = nullptr;
        size_t n = 0;
        la_int64_t offset = 0;
        int const r = archive_read_data_block(a, &block, &n, &offset);
        if (r == ARCHIVE_EOF) return same;
        if (r != ARCHIVE_OK) {
            *read_failed = true;
            return false;
        }
        if (!same) continue;  // the rest of the entry is only skipped
        if (buffer.size() < n) buffer.resize(n);
        same = offset == pos &&
               pread(fd, buffer.data(), n, static_cast<off_t>(pos)) == static_cast<ssize_t>(n) &&
               memcmp(buffer.data(), block, n) == 0;
        pos += static_cast<int64_t>(n);
    }
}

}  // namespace

Walk WalkPackage(std::string const& package, std::string const& installed, uint64_t block) {
    Walk w;
    std::unique_ptr<struct archive, ReadFree> a(archive_read_new());
    if (!a) {
        w.error = "out of memory";
        return w;
    }
    archive_read_support_filter_all(a.get());
    archive_read_support_format_all(a.get());
    if (archive_read_open_filename(a.get(), package.c_str(), size_t{1} << 20) != ARCHIVE_OK) {
        char const* why = archive_error_string(a.get());
        w.error = why ? why : "unreadable";
        return w;
    }
    // The disk writer applies the umask to every mode it sets.
    mode_t const mask = umask(022);
    umask(mask);
    LinkGuard links(installed, false);
    std::vector<char> buffer;
    struct archive_entry* entry = nullptr;
    for (;;) {
        int const r = archive_read_next_header(a.get(), &entry);
        if (r == ARCHIVE_EOF) break;
        if (r != ARCHIVE_OK && r != ARCHIVE_WARN) {
            char const* why = archive_error_string(a.get());
            w.error = why ? why : "unreadable";
            return w;
        }
        ++w.entries;
        if (archive_entry_hardlink(entry) != nullptr) continue;  // a name, no inode
        ++w.inodes;
        if (archive_entry_filetype(entry) == AE_IFDIR) {
            w.write_bytes += block;
            continue;
        }
        if (archive_entry_filetype(entry) != AE_IFREG || !archive_entry_size_is_set(entry) ||
            archive_entry_size(entry) <= 0)
            continue;
        auto const size = static_cast<uint64_t>(archive_entry_size(entry));
        char const* name = archive_entry_pathname(entry);
        size_t mac_size = 0;
        int fd = -1;
        if (!installed.empty() && name != nullptr && !BackupReuse::HasDotDot(name) &&
            archive_entry_mac_metadata(entry, &mac_size) == nullptr &&
            archive_entry_sparse_count(entry) == 0)
            fd = OpenLinkable(links, installed + "/" + name, archive_entry_size(entry),
                              archive_entry_perm(entry) & 0777 & ~mask);
        if (fd < 0) {
            w.write_bytes += RoundUp(size, block);
            continue;  // the next header skips the data
        }
        bool read_failed = false;
        bool const same = SameData(a.get(), fd, buffer, &read_failed);
        close(fd);
        if (read_failed) {
            char const* why = archive_error_string(a.get());
            w.error = why ? why : "unreadable";
            return w;
        }
        if (same) {
            w.reused_bytes += size;
            ++w.reused_files;
        } else {
            w.write_bytes += RoundUp(size, block);
        }
    }
    w.ok = true;
    return w;
}

bool CountsInodes(struct statvfs const& vfs) { return vfs.f_files > 0; }

std::string NearestFolder(std::string const& path) {
    std::string folder = path;
    struct stat st;
    while (stat(folder.c_str(), &st) != 0) {
        std::string const up = FSParentPath(folder);
        if (up.empty() || up == folder) return "";
        folder = up;
    }
    return folder;
}

bool CanWrite(std::string const& folder, int* err) {
    // access() asks without writing: a nearly full volume is the room
    // check's to judge.
    if (access(folder.c_str(), W_OK | X_OK) == 0) return true;
    *err = errno;
    return false;
}

}  // namespace upgraderoom

bool Service::CanWriteUserFolder() {
    std::string const korvane = FSParentPath(app_path);
    std::string const folder = upgraderoom::NearestFolder(korvane);
    int err = 0;
    if (folder.empty() || upgraderoom::CanWrite(folder, &err)) return true;
    KLOG(Error, "'%s' cannot be written: %s, not upgrading\n", folder.c_str(),
         korvane::utils::ErrnoText(err).c_str());
    refusal_ = Refusal::NoPermission;
    return false;
}

bool Service::RoomAfterReuse(std::string const& package, std::string const& folder,
                             struct statvfs const& vfs, uint64_t* needed, upgraderoom::Walk* walk) {
    // Only an installed, complete bundle is set aside and reused from.
    if (!IsFileExist(app_path, false) || !IsBundleComplete()) return false;
    *walk = upgraderoom::WalkPackage(package, app_path, uint64_t{vfs.f_frsize});
    if (!walk->ok) {
        KLOG(Warning, "package '%s' not compared with '%s': %s\n", package.c_str(),
             app_path.c_str(), walk->error.c_str());
        return false;
    }
    *needed = packageroom::WithMargin(walk->write_bytes);
    KLOG(Info,
         "upgrade writes %llu bytes to '%s' once %llu unchanged files (%llu bytes) are reused\n",
         static_cast<unsigned long long>(walk->write_bytes), folder.c_str(),
         static_cast<unsigned long long>(walk->reused_files),
         static_cast<unsigned long long>(walk->reused_bytes));
    return true;
}

bool Service::InodesFit(std::string const& package, uint64_t entry_bound, bool exact,
                        std::string const& folder, struct statvfs const& vfs,
                        upgraderoom::Walk* walk) {
    if (!upgraderoom::CountsInodes(vfs)) return true;
    // The install mark and its replacement take a few more.
    uint64_t const spare = 4;
    uint64_t const free_inodes = uint64_t{vfs.f_favail};
    uint64_t needed = entry_bound;
    if (walk->ok) {
        needed = walk->inodes;
    } else if (!exact && (entry_bound == 0 || entry_bound + spare > free_inodes)) {
        // Only a volume short of inodes pays for reading the package through.
        *walk = upgraderoom::WalkPackage(package, "", 0);
        if (!walk->ok) return true;  // the extraction reports an unreadable package
        needed = walk->inodes;
    }
    if (needed + spare <= free_inodes) return true;
    KLOG(Error, "not enough inodes for the client in '%s': %llu entries, %llu inodes free\n",
         folder.c_str(), static_cast<unsigned long long>(needed),
         static_cast<unsigned long long>(free_inodes));
    refusal_ = Refusal::NoRoom;
    return false;
}

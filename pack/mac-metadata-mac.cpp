#include <archive.h>
#include <archive_entry.h>
#include <copyfile.h>
#include <errno.h>
#include <fcntl.h>
#include <limits.h>
#include <sys/acl.h>
#include <sys/stat.h>
#include <sys/xattr.h>
#include <unistd.h>

#include <cstdlib>
#include <cstring>
#include <memory>
#include <vector>

#include "pack/mac-metadata.h"
#include "utils/ErrnoText.h"

namespace macmeta {
namespace {

using korvane::utils::ErrnoText;

constexpr char kQuarantine[] = "com.apple.quarantine";

// -1 unreadable, 0 nothing but the quarantine mark (or nothing at all),
// 1 attributes or an ACL that must travel.
int HasMetadata(std::string const& path) {
    ssize_t const size = listxattr(path.c_str(), nullptr, 0, XATTR_NOFOLLOW);
    if (size < 0 && errno != ENOTSUP) return -1;
    if (size > 0) {
        std::vector<char> names(static_cast<size_t>(size));
        ssize_t const got = listxattr(path.c_str(), names.data(), names.size(), XATTR_NOFOLLOW);
        if (got < 0) return -1;
        for (size_t at = 0; at < static_cast<size_t>(got); at += std::strlen(&names[at]) + 1)
            if (std::strcmp(&names[at], kQuarantine) != 0) return 1;
    }
    acl_t const acl = acl_get_link_np(path.c_str(), ACL_TYPE_EXTENDED);
    if (!acl) return 0;
    acl_free(acl);
    return 1;
}

// A scratch folder, removed with what is in it.
class Scratch {
public:
    Scratch() {
        char const* tmp = getenv("TMPDIR");  // NOLINT(concurrency-mt-unsafe): one thread
        std::string pattern = std::string(tmp && *tmp ? tmp : "/tmp") + "/korvane-pack.XXXXXX";
        if (mkdtemp(&pattern[0])) dir_ = pattern;
    }
    ~Scratch() {
        if (dir_.empty()) return;
        unlink(Holder().c_str());
        rmdir(Holder().c_str());
        rmdir(dir_.c_str());
    }
    Scratch(Scratch const&) = delete;
    Scratch& operator=(Scratch const&) = delete;
    bool ok() const { return !dir_.empty(); }
    std::string Holder() const { return dir_ + "/m"; }

private:
    std::string dir_;
};

// An empty path of the same kind as the original, to carry a copy of its
// metadata without the quarantine mark: the original is never changed.
bool MakeHolder(std::string const& path, mode_t mode, std::string const& holder) {
    if (S_ISDIR(mode)) return mkdir(holder.c_str(), 0700) == 0;
    if (S_ISLNK(mode)) {
        std::vector<char> target(PATH_MAX + 1, '\0');
        ssize_t const n = readlink(path.c_str(), target.data(), target.size() - 1);
        return n >= 0 && symlink(target.data(), holder.c_str()) == 0;
    }
    int const fd = open(holder.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
    if (fd < 0) return false;
    close(fd);
    return true;
}

struct DiskFree {
    void operator()(struct archive* a) const { archive_read_free(a); }
};
struct EntryFree {
    void operator()(struct archive_entry* e) const { archive_entry_free(e); }
};

}  // namespace

bool Attach(std::string const& path, mode_t mode, struct archive_entry* entry, std::string* error) {
    int const has = HasMetadata(path);
    if (has < 0) {
        *error = path + ": cannot read its extended attributes: " + ErrnoText(errno);
        return false;
    }
    if (has == 0) return true;
    Scratch scratch;
    std::string const holder = scratch.Holder();
    copyfile_flags_t const flags = COPYFILE_ACL | COPYFILE_XATTR | COPYFILE_NOFOLLOW;
    if (!scratch.ok() || !MakeHolder(path, mode, holder) ||
        copyfile(path.c_str(), holder.c_str(), nullptr, flags) != 0) {
        *error = path + ": cannot copy its Mac metadata: " + ErrnoText(errno);
        return false;
    }
    removexattr(holder.c_str(), kQuarantine, XATTR_NOFOLLOW);

    // The disk reader packs what copyfile(3) would, ACLs and attributes
    // included, into one AppleDouble blob.
    std::unique_ptr<struct archive, DiskFree> disk(archive_read_disk_new());
    std::unique_ptr<struct archive_entry, EntryFree> scratch_entry(archive_entry_new());
    struct stat hst;
    if (!disk || !scratch_entry || lstat(holder.c_str(), &hst) != 0 ||
        archive_read_disk_set_behavior(disk.get(), ARCHIVE_READDISK_MAC_COPYFILE |
                                                       ARCHIVE_READDISK_NO_XATTR |
                                                       ARCHIVE_READDISK_NO_ACL) != ARCHIVE_OK) {
        *error = path + ": cannot read its Mac metadata";
        return false;
    }
    archive_entry_copy_sourcepath(scratch_entry.get(), holder.c_str());
    if (archive_read_disk_entry_from_file(disk.get(), scratch_entry.get(), -1, &hst) !=
        ARCHIVE_OK) {
        char const* why = archive_error_string(disk.get());
        *error = path + ": cannot read its Mac metadata: " + (why ? why : "");
        return false;
    }
    size_t size = 0;
    void const* blob = archive_entry_mac_metadata(scratch_entry.get(), &size);
    if (blob && size > 0) archive_entry_copy_mac_metadata(entry, blob, size);
    return true;
}

}  // namespace macmeta

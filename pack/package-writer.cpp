#include "pack/package-writer.h"

#include <archive.h>
#include <archive_entry.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <memory>
#include <vector>

#include "pack/mac-metadata.h"
#include "utils/ErrnoText.h"

namespace pack {
namespace {

using korvane::utils::ErrnoText;

struct WriteFree {
    void operator()(struct archive* a) const { archive_write_free(a); }
};
struct EntryFree {
    void operator()(struct archive_entry* e) const { archive_entry_free(e); }
};

std::string ArchiveError(struct archive* a) {
    char const* s = archive_error_string(a);
    return s ? s : "unknown libarchive error";
}

bool Setup(struct archive* a, Format format, int level, std::string* error) {
    std::string const digits = level >= 0 ? std::to_string(level) : std::string();
    char const* filter = nullptr;
    int r = ARCHIVE_OK;
    switch (format) {
        case Format::Zip:
            r = archive_write_set_format_zip(a);
            if (r == ARCHIVE_OK && level >= 0)
                r = archive_write_set_format_option(a, "zip", "compression-level", digits.c_str());
            break;
        case Format::TarGz:
            filter = "gzip";
            r = archive_write_add_filter_gzip(a);
            // No timestamp in the gzip header.
            if (r == ARCHIVE_OK)
                r = archive_write_set_filter_option(a, "gzip", "timestamp", nullptr);
            break;
        case Format::TarXz:
            filter = "xz";
            r = archive_write_add_filter_xz(a);  // one thread: the same blocks everywhere
            break;
        case Format::Tar: break;
    }
    if (r == ARCHIVE_OK && filter && level >= 0)
        r = archive_write_set_filter_option(a, filter, "compression-level", digits.c_str());
    if (r == ARCHIVE_OK && format != Format::Zip) r = archive_write_set_format_pax_restricted(a);
    if (r != ARCHIVE_OK) *error = "cannot set up the package writer: " + ArchiveError(a);
    return r == ARCHIVE_OK;
}

bool CopyData(struct archive* a, TreeEntry const& e, std::vector<char>& buf, std::string* error) {
    int const fd = open(e.source.c_str(), O_RDONLY | O_NOFOLLOW | O_CLOEXEC);
    if (fd < 0) {
        *error = e.source + ": cannot read the file: " + ErrnoText(errno);
        return false;
    }
    uint64_t done = 0;
    bool ok = true;
    for (;;) {
        ssize_t const n = read(fd, buf.data(), buf.size());
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) {
            *error = e.source + ": cannot read the file: " + ErrnoText(errno);
            ok = false;
            break;
        }
        if (n == 0) break;
        done += static_cast<uint64_t>(n);
        if (done > e.size) break;
        if (archive_write_data(a, buf.data(), static_cast<size_t>(n)) != n) {
            *error = "cannot write the package: " + ArchiveError(a);
            ok = false;
            break;
        }
    }
    close(fd);
    if (ok && done != e.size) {
        *error = e.source + ": the file changed while it was packed";
        ok = false;
    }
    return ok;
}

bool WriteEntry(struct archive* a, TreeEntry const& e, Format format, std::vector<char>& buf,
                std::string* error) {
    std::unique_ptr<struct archive_entry, EntryFree> entry(archive_entry_new());
    archive_entry_set_pathname(entry.get(), e.name.c_str());
    archive_entry_set_mode(entry.get(), e.mode);
    archive_entry_set_uid(entry.get(), 0);
    archive_entry_set_gid(entry.get(), 0);
    archive_entry_set_mtime(entry.get(), static_cast<time_t>(e.mtime), 0);
    bool const hard_link = !e.first.empty() && KeepsHardLinks(format);
    if (S_ISLNK(e.mode)) archive_entry_set_symlink(entry.get(), e.target.c_str());
    if (hard_link) archive_entry_set_hardlink(entry.get(), e.first.c_str());
    bool const data = S_ISREG(e.mode) && !hard_link;
    archive_entry_set_size(entry.get(), data ? static_cast<la_int64_t>(e.size) : 0);
    if (!hard_link && !macmeta::Attach(e.source, e.mode, entry.get(), error)) return false;
    if (archive_write_header(a, entry.get()) != ARCHIVE_OK) {
        *error = e.source + ": cannot write its entry: " + ArchiveError(a);
        return false;
    }
    return !data || CopyData(a, e, buf, error);
}

}  // namespace

bool ParseFormat(std::string const& text, Format* out) {
    static struct {
        char const* name;
        Format format;
    } const kFormats[] = {{"tar.gz", Format::TarGz},
                          {"tar", Format::Tar},
                          {"zip", Format::Zip},
                          {"tar.xz", Format::TarXz}};
    for (auto const& f : kFormats) {
        if (text == f.name) {
            *out = f.format;
            return true;
        }
    }
    return false;
}

bool KeepsHardLinks(Format format) { return format != Format::Zip; }

bool WritePackage(std::vector<TreeEntry> const& entries, Format format, int level, int fd,
                  std::string* error) {
    std::unique_ptr<struct archive, WriteFree> a(archive_write_new());
    if (!a) {
        *error = "cannot set up the package writer";
        return false;
    }
    if (!Setup(a.get(), format, level, error)) return false;
    if (archive_write_open_fd(a.get(), fd) != ARCHIVE_OK) {
        *error = "cannot write the package: " + ArchiveError(a.get());
        return false;
    }
    std::vector<char> buf(size_t{1} << 18);
    for (auto const& e : entries)
        if (!WriteEntry(a.get(), e, format, buf, error)) return false;
    if (archive_write_close(a.get()) != ARCHIVE_OK) {
        *error = "cannot write the package: " + ArchiveError(a.get());
        return false;
    }
    return true;
}

}  // namespace pack

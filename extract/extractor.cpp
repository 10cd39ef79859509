#include "extract/extractor.h"

#include <archive.h>
#include <archive_entry.h>
#include <errno.h>
#include <locale.h>
#include <sys/stat.h>
#include <zlib.h>
#if defined(__APPLE__)
#include <xlocale.h>
#endif

#include <cstdio>
#include <memory>
#include <vector>

#include "app/Notify_Adapter.h"
#include "app/StrTable.h"
#include "extract/quarantine.h"

#define KLOG_SOURCE "extractor"
#define KLOG_COMPONENT "extractor_debug"
#include "log/LogMacros.h"

namespace {

// libarchive's error text may be null; printf must never see that.
char const* ErrText(struct archive* a) {
    char const* s = archive_error_string(a);
    return s ? s : "";
}

struct ReadFree {
    void operator()(struct archive* a) const { archive_read_free(a); }
};
struct WriteFree {
    void operator()(struct archive* a) const { archive_write_free(a); }
};
using ReadHandle = std::unique_ptr<struct archive, ReadFree>;
using WriteHandle = std::unique_ptr<struct archive, WriteFree>;

constexpr size_t kBlockSize = 10240;
constexpr int kDiskOptions =
    ARCHIVE_EXTRACT_UNLINK | ARCHIVE_EXTRACT_SECURE_NODOTDOT | ARCHIVE_EXTRACT_MAC_METADATA;
static_assert(kDiskOptions == 0x2210, "disk-write options changed");

// A launcher started from the Finder runs in the C locale, where libarchive
// cannot convert UTF-8 entry names and reports every one as a warning. Give
// this thread a UTF-8 LC_CTYPE for the duration of one operation and put the
// previous locale back afterwards.
class ScopedUtf8Ctype {
public:
    ScopedUtf8Ctype() {
        for (char const* name : {"C.UTF-8", "en_US.UTF-8", "UTF-8"}) {
            utf8_ = newlocale(LC_CTYPE_MASK, name, static_cast<locale_t>(nullptr));
            if (utf8_) break;
        }
        if (!utf8_) {
            KLOG(Warning, "No UTF-8 locale available, entry names may not convert\n");
            return;
        }
        previous_ = uselocale(utf8_);
    }
    ~ScopedUtf8Ctype() {
        if (!utf8_) return;
        uselocale(previous_);
        freelocale(utf8_);
    }
    ScopedUtf8Ctype(ScopedUtf8Ctype const&) = delete;
    ScopedUtf8Ctype& operator=(ScopedUtf8Ctype const&) = delete;

private:
    locale_t utf8_ = static_cast<locale_t>(nullptr);
    locale_t previous_ = static_cast<locale_t>(nullptr);
};

// Opens archive_path for reading with every filter and format, or logs
// `fmt` with the handle's error text and returns null.
ReadHandle OpenReader(std::string const& path, struct archive* reader) {
    ReadHandle r(reader);
    archive_read_support_filter_all(reader);
    archive_read_support_format_all(reader);
    if (archive_read_open_filename(reader, path.c_str(), kBlockSize) != ARCHIVE_OK) {
        KLOG(Error, "archive_read_open_filename failed: '%s'\n", ErrText(reader));
        return nullptr;
    }
    return r;
}

bool StartsWithGzipMagic(std::string const& path) {
    FILE* f = std::fopen(path.c_str(), "rb");
    if (!f) return false;
    unsigned char magic[2] = {0, 0};
    size_t const n = std::fread(magic, 1, sizeof magic, f);
    std::fclose(f);
    return n == 2 && magic[0] == 0x1f && magic[1] == 0x8b;
}

// libarchive's gzip filter never checks a member's CRC32 and length trailer,
// so a flipped bit inside a package would install silently. The count pass
// therefore inflates gzip files itself (zlib checks every trailer) and hands
// libarchive the plain tar stream.
class GzipSource {
public:
    GzipSource() : in_(kBufSize), out_(kBufSize) {}
    ~GzipSource() {
        if (inflating_) inflateEnd(&strm_);
        if (file_) std::fclose(file_);
    }
    GzipSource(GzipSource const&) = delete;
    GzipSource& operator=(GzipSource const&) = delete;

    bool Open(std::string const& path) {
        file_ = std::fopen(path.c_str(), "rb");
        if (!file_) {
            error_ = "cannot open file";
            return false;
        }
        if (inflateInit2(&strm_, 16 + MAX_WBITS) != Z_OK) {
            error_ = "inflateInit2 failed";
            return false;
        }
        inflating_ = true;
        return true;
    }

    // Next piece of decompressed data: its size, 0 once every member has
    // ended at the end of the file, or -1 with error() set.
    la_ssize_t Read(void const** data) {
        if (!error_.empty()) return -1;
        while (!finished_) {
            if (strm_.avail_in == 0 && !Fill()) return -1;
            if (strm_.avail_in == 0) {
                error_ = "unexpected end of file";
                return -1;
            }
            strm_.next_out = out_.data();
            strm_.avail_out = static_cast<uInt>(out_.size());
            int const r = inflate(&strm_, Z_NO_FLUSH);
            size_t const produced = out_.size() - strm_.avail_out;
            if (r == Z_STREAM_END) {
                // Another member may follow.
                if (strm_.avail_in == 0 && !Fill()) return -1;
                if (strm_.avail_in == 0) {
                    finished_ = true;
                } else if (inflateReset(&strm_) != Z_OK) {
                    error_ = "inflateReset failed";
                    return -1;
                }
            } else if (r != Z_OK) {
                error_ = strm_.msg ? strm_.msg : "inflate failed";
                return -1;
            }
            if (produced > 0) {
                *data = out_.data();
                return static_cast<la_ssize_t>(produced);
            }
        }
        return 0;
    }

    // Inflates whatever libarchive did not ask for, so every trailer is checked.
    bool Drain() {
        void const* data = nullptr;
        la_ssize_t n = 0;
        while ((n = Read(&data)) > 0) {
        }
        return n == 0;
    }

    std::string const& error() const { return error_; }

    static la_ssize_t ReadCallback(struct archive* a, void* self, void const** data) {
        auto* src = static_cast<GzipSource*>(self);
        la_ssize_t const n = src->Read(data);
        if (n < 0) archive_set_error(a, EIO, "%s", src->error_.c_str());
        return n;
    }
    static int CloseCallback(struct archive*, void*) { return ARCHIVE_OK; }

private:
    static constexpr size_t kBufSize = size_t{64} * 1024;

    // Refills the input buffer once it is empty; false on a read error.
    bool Fill() {
        size_t const n = std::fread(in_.data(), 1, in_.size(), file_);
        if (n == 0 && std::ferror(file_)) {
            error_ = "read error";
            return false;
        }
        strm_.next_in = in_.data();
        strm_.avail_in = static_cast<uInt>(n);
        return true;
    }

    FILE* file_ = nullptr;
    z_stream strm_{};
    bool inflating_ = false;
    bool finished_ = false;
    std::vector<Bytef> in_;
    std::vector<Bytef> out_;
    std::string error_;
};

// Counts the entries of a gzip-compressed archive and checks the whole
// compressed stream on the way; -1 if it is damaged or unreadable.
int CountGzip(std::string const& path) {
    GzipSource src;
    if (!src.Open(path)) {
        KLOG(Error, "archive '%s' is damaged: %s\n", path.c_str(), src.error().c_str());
        return -1;
    }
    ReadHandle reader(archive_read_new());
    if (!reader) {
        KLOG(Error, "Allocate archive failed\n");
        return -1;
    }
    archive_read_support_filter_all(reader.get());
    archive_read_support_format_all(reader.get());
    if (archive_read_open(reader.get(), &src, nullptr, &GzipSource::ReadCallback,
                          &GzipSource::CloseCallback) != ARCHIVE_OK) {
        if (!src.error().empty()) {
            KLOG(Error, "archive '%s' is damaged: %s\n", path.c_str(), src.error().c_str());
        } else {
            KLOG(Error, "archive_read_open failed: '%s'\n", ErrText(reader.get()));
        }
        return -1;
    }
    int n = 0;
    struct archive_entry* entry = nullptr;
    while (archive_read_next_header(reader.get(), &entry) == ARCHIVE_OK) {
        ++n;
        archive_read_data_skip(reader.get());
    }
    if (!src.Drain()) {
        KLOG(Error, "archive '%s' is damaged: %s\n", path.c_str(), src.error().c_str());
        return -1;
    }
    return n;
}

// Walks the components of `path` below `root` (path starts with root + "/")
// and returns the first existing one that is a symbolic link, or "". The
// last component is checked only when `check_last` is set: an ordinary entry
// replaces whatever sits at its own place, but must never be written through
// a link further up. The walk stops at the first missing component and at
// "..", which the disk writer refuses by itself.
std::string FindLinkInPath(std::string const& root, std::string const& path, bool check_last) {
    size_t pos = root.size();
    std::string current = root;
    while (pos < path.size()) {
        while (pos < path.size() && path[pos] == '/') ++pos;
        if (pos >= path.size()) break;
        size_t end = path.find('/', pos);
        if (end == std::string::npos) end = path.size();
        std::string const comp = path.substr(pos, end - pos);
        pos = end;
        if (comp == ".") continue;
        if (comp == "..") break;
        current += "/";
        current += comp;
        bool const last = path.find_first_not_of('/', pos) == std::string::npos;
        if (last && !check_last) break;
        struct stat st;
        if (lstat(current.c_str(), &st) != 0) break;
        if (S_ISLNK(st.st_mode)) return current;
        if (!S_ISDIR(st.st_mode)) break;
    }
    return "";
}

}  // namespace

int Extractor::Count() {
    if (dest_dir.empty() || archive_path.empty()) {
        KLOG(Error, "Invalid argument\n");
        return -1;
    }
    ScopedUtf8Ctype utf8;
    if (StartsWithGzipMagic(archive_path)) return CountGzip(archive_path);
    struct archive* raw = archive_read_new();
    if (!raw) {
        KLOG(Error, "Allocate archive failed\n");
        return -1;
    }
    ReadHandle reader = OpenReader(archive_path, raw);
    if (!reader) return -1;
    int n = 0;
    struct archive_entry* entry = nullptr;
    while (archive_read_next_header(reader.get(), &entry) == ARCHIVE_OK) {
        ++n;
        archive_read_data_skip(reader.get());
    }
    return n;
}

int Extractor::List() {
    if (dest_dir.empty() || archive_path.empty()) {
        KLOG(Error, "Invalid argument\n");
        return -1;
    }
    ScopedUtf8Ctype utf8;
    struct archive* raw = archive_read_new();
    if (!raw) {
        KLOG(Error, "Allocate archive failed\n");
        return -1;
    }
    ReadHandle reader = OpenReader(archive_path, raw);
    if (!reader) return -1;
    struct archive_entry* entry = nullptr;
    while (archive_read_next_header(reader.get(), &entry) == ARCHIVE_OK) {
        char const* name = archive_entry_pathname(entry);
        std::printf("%s\n", name ? name : "");
        std::fflush(stdout);
        archive_read_data_skip(reader.get());
    }
    archive_read_close(reader.get());
    return 0;
}

int Extractor::Extract() {
    if (archive_path.empty() || dest_dir.empty()) {
        KLOG(Error, "Invalid Argument\n");
        return -1;
    }
    KLOG(Debug, "decompress from '%s' to '%s'\n", archive_path.c_str(), dest_dir.c_str());
    // Mac metadata is written through temporary files, which releases before
    // 3.8.3 put in the working folder: "/" and read-only for a Finder start.
    KLOG(Debug, "libarchive: %s\n", archive_version_details());
    QString label = StrTable::LoadStr(542);
    if (label.contains(QLatin1String("%1")))  // a translation may drop it; arg() would warn
        label = label.arg(StrTable::LoadStr(866));
    Notify_Adapter::GetInstance()->UpdateDialogText(label);

    ScopedUtf8Ctype utf8;
    int const total = Count();
    if (total < 1) {
        KLOG(Error, "Failed to calculate total file numbers, ret: %d\n", total);
        return -1;
    }

    ReadHandle reader(archive_read_new());
    if (!reader) {
        KLOG(Error, "Allocate extractor failed\n");
        return -1;
    }
    WriteHandle writer(archive_write_disk_new());
    if (!writer) {
        KLOG(Error, "Allocate extractor failed\n");
        return -1;
    }
    archive_write_disk_set_options(writer.get(), kDiskOptions);
    // archive_read_support_compression_all is the deprecated alias of this.
    archive_read_support_filter_all(reader.get());
    archive_read_support_format_all(reader.get());
    if (archive_read_open_filename(reader.get(), archive_path.c_str(), kBlockSize) != ARCHIVE_OK) {
        KLOG(Error, "Failed to read file '%s' ('%s')\n", archive_path.c_str(),
             ErrText(reader.get()));
        return -1;
    }

    std::string const prefix = dest_dir + "/";
    int done = 1;
    for (;;) {
        struct archive_entry* entry = nullptr;
        int r = archive_read_next_header(reader.get(), &entry);
        if (r == ARCHIVE_EOF) return 0;
        if (r != ARCHIVE_OK) {
            KLOG(Error, "archive_read_next_header failed: '%s'\n", ErrText(reader.get()));
            return -1;
        }
        char const* name = archive_entry_pathname(entry);
        if (!name) {
            KLOG(Error, "archive_entry_pathname failed");
            return -1;
        }
        std::string const path = prefix + name;
        archive_entry_set_pathname(entry, path.c_str());

        // Hard-link targets are archive-relative like the names; left alone,
        // they would resolve against the working directory, or for an
        // absolute target, link to (and with pax data overwrite) a file
        // outside dest_dir.
        std::string link_path;
        if (char const* link = archive_entry_hardlink(entry)) {
            link_path = prefix + link;
            archive_entry_set_hardlink(entry, link_path.c_str());
        }

        // A symlink stored earlier in the archive must not carry later
        // entries outside dest_dir.
        bool const is_dir = archive_entry_filetype(entry) == AE_IFDIR;
        std::string via = FindLinkInPath(dest_dir, path, is_dir);
        if (!via.empty()) {
            KLOG(Error, "Refusing to extract '%s': '%s' is a symbolic link\n", path.c_str(),
                 via.c_str());
            return -1;
        }
        if (!link_path.empty()) {
            via = FindLinkInPath(dest_dir, link_path, true);
            if (!via.empty()) {
                KLOG(Error,
                     "Refusing to extract '%s': its link target passes through the symbolic link "
                     "'%s'\n",
                     path.c_str(), via.c_str());
                return -1;
            }
        }

        quarantine::DropFromEntry(entry);
        r = archive_read_extract2(reader.get(), entry, writer.get());
        if (r != ARCHIVE_OK) {
            KLOG(Error, "archive_read_extract2 failed: '%s'\n", ErrText(writer.get()));
            return -1;
        }
        Notify_Adapter::GetInstance()->UpdateProgress(total, done);
        r = archive_write_finish_entry(writer.get());
        if (r != ARCHIVE_OK) {
            KLOG(Error, "archive_write_finish_entry failed: '%s'\n", ErrText(writer.get()));
            return -1;
        }
        quarantine::RemoveFromPath(path);
        ++done;
    }
}

int Extractor::copy_data(struct archive* reader, struct archive* writer) {
    if (!reader || !writer) {
        KLOG(Error, "Invalid Argument\n");
        return -1;
    }
    for (;;) {
        void const* buffer = nullptr;
        size_t size = 0;
        la_int64_t offset = 0;
        int r = archive_read_data_block(reader, &buffer, &size, &offset);
        if (r == ARCHIVE_EOF) return 0;
        if (r != ARCHIVE_OK) {
            KLOG(Error, "archive_read_data_block failed: '%s'\n", ErrText(reader));
            return -1;
        }
        if (archive_write_data_block(writer, buffer, size, offset) != ARCHIVE_OK) {
            KLOG(Error, "archive_write_data_block failed: '%s'\n", ErrText(writer));
            return -1;
        }
    }
}

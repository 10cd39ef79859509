#include "pack/package-writer.h"

#include <archive.h>
#include <archive_entry.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <zstd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <memory>
#include <thread>
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
        case Format::Tar:
        case Format::TarZst: break;  // compressed by ZstdSink
    }
    if (r == ARCHIVE_OK && filter && level >= 0)
        r = archive_write_set_filter_option(a, filter, "compression-level", digits.c_str());
    if (r == ARCHIVE_OK && format != Format::Zip) r = archive_write_set_format_pax_restricted(a);
    if (r != ARCHIVE_OK) *error = "cannot set up the package writer: " + ArchiveError(a);
    return r == ARCHIVE_OK;
}

// The plain tar from libarchive's writer, compressed by libzstd into `fd`:
// every frame with its checksum, on every core. zstd's output does not depend
// on the number of workers, so the same tree still packs to the same bytes.
class ZstdSink {
public:
    ZstdSink(int fd, int level) : fd_(fd), cctx_(ZSTD_createCCtx()), out_(ZSTD_CStreamOutSize()) {
        if (!cctx_) return;
        unsigned const cores = std::max(1u, std::thread::hardware_concurrency());
        ok_ =
            !ZSTD_isError(ZSTD_CCtx_setParameter(cctx_, ZSTD_c_compressionLevel, level)) &&
            !ZSTD_isError(ZSTD_CCtx_setParameter(cctx_, ZSTD_c_checksumFlag, 1)) &&
            !ZSTD_isError(ZSTD_CCtx_setParameter(cctx_, ZSTD_c_windowLog, kZstdWindowLog)) &&
            !ZSTD_isError(ZSTD_CCtx_setParameter(cctx_, ZSTD_c_enableLongDistanceMatching, 1)) &&
            !ZSTD_isError(ZSTD_CCtx_setParameter(cctx_, ZSTD_c_nbWorkers, static_cast<int>(cores)));
    }
    ~ZstdSink() { ZSTD_freeCCtx(cctx_); }
    ZstdSink(ZstdSink const&) = delete;
    ZstdSink& operator=(ZstdSink const&) = delete;

    bool ok() const { return ok_; }
    std::string const& error() const { return error_; }

    static la_ssize_t Write(struct archive* a, void* self, void const* data, size_t n) {
        auto* s = static_cast<ZstdSink*>(self);
        if (!s->Feed(data, n, ZSTD_e_continue)) {
            archive_set_error(a, EIO, "%s", s->error_.c_str());
            return -1;
        }
        return static_cast<la_ssize_t>(n);
    }
    static int Close(struct archive* a, void* self) {
        auto* s = static_cast<ZstdSink*>(self);
        if (!s->Feed(nullptr, 0, ZSTD_e_end)) {
            archive_set_error(a, EIO, "%s", s->error_.c_str());
            return ARCHIVE_FATAL;
        }
        return ARCHIVE_OK;
    }
    static int Free(struct archive*, void* self) {
        delete static_cast<ZstdSink*>(self);
        return ARCHIVE_OK;
    }

private:
    bool Feed(void const* data, size_t n, ZSTD_EndDirective mode) {
        ZSTD_inBuffer in{data, n, 0};
        for (;;) {
            ZSTD_outBuffer o{out_.data(), out_.size(), 0};
            size_t const r = ZSTD_compressStream2(cctx_, &o, &in, mode);
            if (ZSTD_isError(r)) {
                error_ = ZSTD_getErrorName(r);
                return false;
            }
            for (size_t done = 0; done < o.pos;) {
                ssize_t const w = write(fd_, out_.data() + done, o.pos - done);
                if (w < 0 && errno == EINTR) continue;
                if (w < 0) {
                    error_ = ErrnoText(errno);
                    return false;
                }
                done += static_cast<size_t>(w);
            }
            if (mode == ZSTD_e_end ? r == 0 : in.pos == in.size) return true;
        }
    }

    int fd_;
    ZSTD_CCtx* cctx_;
    std::vector<char> out_;
    bool ok_ = false;
    std::string error_;
};

// "packed X of Y MB" on a terminal once packing has taken a few seconds.
class Progress {
public:
    explicit Progress(uint64_t total) : total_(total), shown_(isatty(2) == 1) {}
    ~Progress() {
        if (printed_) std::fputc('\n', stderr);
    }
    Progress(Progress const&) = delete;
    Progress& operator=(Progress const&) = delete;
    void Add(uint64_t n) {
        done_ += n;
        if (!shown_) return;
        auto const now = std::chrono::steady_clock::now();
        if (now - start_ < std::chrono::seconds(3) || now - last_ < std::chrono::milliseconds(200))
            return;
        last_ = now;
        printed_ = true;
        std::fprintf(stderr, "\rpacked %llu of %llu MB",
                     static_cast<unsigned long long>(done_ >> 20),
                     static_cast<unsigned long long>(total_ >> 20));
        std::fflush(stderr);
    }

private:
    uint64_t total_;
    uint64_t done_ = 0;
    bool shown_;
    bool printed_ = false;
    std::chrono::steady_clock::time_point start_ = std::chrono::steady_clock::now();
    std::chrono::steady_clock::time_point last_;
};

bool CopyData(struct archive* a, TreeEntry const& e, std::vector<char>& buf, Progress& progress,
              std::string* error) {
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
        progress.Add(static_cast<uint64_t>(n));
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
                Progress& progress, std::string* error) {
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
    return !data || CopyData(a, e, buf, progress, error);
}

}  // namespace

bool ParseFormat(std::string const& text, Format* out) {
    static struct {
        char const* name;
        Format format;
    } const kFormats[] = {{"tar.gz", Format::TarGz},
                          {"tar", Format::Tar},
                          {"zip", Format::Zip},
                          {"tar.xz", Format::TarXz},
                          {"tar.zst", Format::TarZst}};
    for (auto const& f : kFormats) {
        if (text == f.name) {
            *out = f.format;
            return true;
        }
    }
    return false;
}

bool KeepsHardLinks(Format format) { return format != Format::Zip; }

bool OpenZstdWriter(struct archive* a, int fd, int level) {
    auto* sink = new ZstdSink(fd, level);
    if (!sink->ok()) {
        delete sink;
        archive_set_error(a, ENOMEM, "cannot set up the zstd compressor");
        return false;
    }
    return archive_write_open2(a, sink, nullptr, &ZstdSink::Write, &ZstdSink::Close,
                               &ZstdSink::Free) == ARCHIVE_OK;
}

bool WritePackage(std::vector<TreeEntry> const& entries, Format format, int level, int fd,
                  std::string* error) {
    std::unique_ptr<struct archive, WriteFree> a(archive_write_new());
    if (!a) {
        *error = "cannot set up the package writer";
        return false;
    }
    if (!Setup(a.get(), format, level, error)) return false;
    bool const opened = format == Format::TarZst
                            ? OpenZstdWriter(a.get(), fd, level >= 0 ? level : kZstdLevel)
                            : archive_write_open_fd(a.get(), fd) == ARCHIVE_OK;
    if (!opened) {
        *error = "cannot write the package: " + ArchiveError(a.get());
        return false;
    }
    uint64_t total = 0;
    for (auto const& e : entries)
        if (S_ISREG(e.mode) && (e.first.empty() || !KeepsHardLinks(format))) total += e.size;
    Progress progress(total);
    std::vector<char> buf(size_t{1} << 18);
    for (auto const& e : entries)
        if (!WriteEntry(a.get(), e, format, buf, progress, error)) return false;
    if (archive_write_close(a.get()) != ARCHIVE_OK) {
        *error = "cannot write the package: " + ArchiveError(a.get());
        return false;
    }
    return true;
}

}  // namespace pack

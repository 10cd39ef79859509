#include "extract/package-room.h"

#include <archive.h>
#include <archive_entry.h>
#include <sys/stat.h>

#define ZSTD_STATIC_LINKING_ONLY  // ZSTD_getFrameHeader
#include <zstd.h>

#include <cstdio>
#include <memory>

#include "extract/package-source.h"
#include "extract/zstd-stream.h"

namespace packageroom {
namespace {

struct ReadFree {
    void operator()(struct archive* a) const { archive_read_free(a); }
};

struct FileClose {
    void operator()(FILE* f) const { std::fclose(f); }
};

// The uncompressed size in a gzip file's last trailer (modulo 4 GiB), when
// the file starts as gzip; false otherwise.
bool GzipTrailerSize(std::string const& path, uint64_t* isize) {
    std::unique_ptr<FILE, FileClose> f(std::fopen(path.c_str(), "rb"));
    if (!f) return false;
    unsigned char magic[2] = {0, 0};
    if (std::fread(magic, 1, 2, f.get()) != 2 || magic[0] != 0x1f || magic[1] != 0x8b) return false;
    unsigned char t[4] = {0, 0, 0, 0};
    if (std::fseek(f.get(), -4, SEEK_END) != 0 || std::fread(t, 1, 4, f.get()) != 4) return false;
    *isize = uint64_t{t[0]} | uint64_t{t[1]} << 8 | uint64_t{t[2]} << 16 | uint64_t{t[3]} << 24;
    return true;
}

// A zstd file's first frame header: true with `*window` its window, false
// when the file is no zstd file.
bool ZstdWindow(std::string const& path, uint64_t* window) {
    std::unique_ptr<FILE, FileClose> f(std::fopen(path.c_str(), "rb"));
    if (!f) return false;
    unsigned char head[ZSTD_FRAMEHEADERSIZE_MAX] = {};
    size_t const n = std::fread(head, 1, sizeof head, f.get());
    if (n < 4 || head[0] != 0x28 || head[1] != 0xb5 || head[2] != 0x2f || head[3] != 0xfd)
        return false;
    ZSTD_frameHeader h{};
    *window = ZSTD_getFrameHeader(&h, head, n) == 0 ? h.windowSize : 0;
    return true;
}

}  // namespace

Measure MeasurePackage(std::string const& path, bool walk_headers) {
    Measure m;
    struct stat st;
    if (stat(path.c_str(), &st) != 0 || !S_ISREG(st.st_mode)) {
        m.error = "no such file";
        return m;
    }
    // zstd is read by the launcher's own decoder, never by an external
    // program, and a window it would refuse is refused before the stop.
    uint64_t window = 0;
    bool const zstd = ZstdWindow(path, &window);
    if (zstd && window > (uint64_t{1} << ZstdStream::kMaxWindowLog)) {
        m.error = "its zstd window of " + std::to_string(window >> 20) + " MiB is above the " +
                  std::to_string(1u << (ZstdStream::kMaxWindowLog - 20)) + " MiB allowed";
        return m;
    }
    PackageSource source;
    std::unique_ptr<struct archive, ReadFree> own;
    struct archive* a = nullptr;
    int r = ARCHIVE_FATAL;
    if (zstd) {
        r = source.Open(path, true) ? ARCHIVE_OK : ARCHIVE_FATAL;
        a = source.reader();
    } else {
        own.reset(archive_read_new());
        a = own.get();
        if (a) {
            archive_read_support_filter_all(a);
            archive_read_support_format_all(a);
            r = archive_read_open_filename(a, path.c_str(), 10240);
        }
    }
    if (!a) {
        m.error = "out of memory";
        return m;
    }
    struct archive_entry* entry = nullptr;
    if (r == ARCHIVE_OK) r = archive_read_next_header(a, &entry);
    if (r != ARCHIVE_OK && r != ARCHIVE_WARN) {
        std::string const why = zstd ? source.error() : std::string();
        char const* text = archive_error_string(a);
        m.error = r == ARCHIVE_EOF ? "it holds no entries"
                  : !why.empty()   ? why
                  : text           ? text
                                   : "unreadable";
        return m;
    }
    m.opened = true;
    if ((archive_format(a) & ARCHIVE_FORMAT_BASE_MASK) == ARCHIVE_FORMAT_TAR)
        m.least_entry_bytes = 512;
    auto const size = static_cast<uint64_t>(st.st_size);
    m.bytes = size;

    uint64_t isize = 0;
    if (GzipTrailerSize(path, &isize)) {
        // The trailer only holds the size modulo 4 GiB: one smaller than the
        // compressed data has wrapped (or the file is padded) and says nothing.
        if (isize >= size) {
            m.bytes = isize;
            m.bound = true;
        }
        return m;
    }
    // Uncompressed archives skip entry data by seeking: only headers are read.
    if (walk_headers && !zstd && archive_filter_count(a) == 1 &&
        archive_filter_code(a, 0) == ARCHIVE_FILTER_NONE) {
        uint64_t sum = 0;
        do {
            if (archive_entry_size_is_set(entry) && archive_entry_size(entry) > 0)
                sum += static_cast<uint64_t>(archive_entry_size(entry));
            r = archive_read_next_header(a, &entry);
        } while (r == ARCHIVE_OK || r == ARCHIVE_WARN);
        if (r == ARCHIVE_EOF) {
            m.bytes = sum;
            m.bound = true;
        }
    }
    return m;
}

// An eighth covers the partly used last block of typical entries; a client
// of many tiny files may still need more, and then the extraction's own
// rollback is what keeps the old client.
uint64_t WithMargin(uint64_t bytes) { return bytes + bytes / 8 + (uint64_t{64} << 10); }

}  // namespace packageroom

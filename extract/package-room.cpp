#include "extract/package-room.h"

#include <archive.h>
#include <archive_entry.h>
#include <sys/stat.h>

#include <cstdio>
#include <memory>

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

}  // namespace

Measure MeasurePackage(std::string const& path, bool walk_headers) {
    Measure m;
    struct stat st;
    if (stat(path.c_str(), &st) != 0 || !S_ISREG(st.st_mode)) {
        m.error = "no such file";
        return m;
    }
    std::unique_ptr<struct archive, ReadFree> a(archive_read_new());
    if (!a) {
        m.error = "out of memory";
        return m;
    }
    archive_read_support_filter_all(a.get());
    archive_read_support_format_all(a.get());
    struct archive_entry* entry = nullptr;
    int r = archive_read_open_filename(a.get(), path.c_str(), 10240);
    if (r == ARCHIVE_OK) r = archive_read_next_header(a.get(), &entry);
    if (r != ARCHIVE_OK && r != ARCHIVE_WARN) {
        char const* why = archive_error_string(a.get());
        m.error = r == ARCHIVE_EOF ? "it holds no entries" : (why ? why : "unreadable");
        return m;
    }
    m.opened = true;
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
    if (walk_headers && archive_filter_count(a.get()) == 1 &&
        archive_filter_code(a.get(), 0) == ARCHIVE_FILTER_NONE) {
        uint64_t sum = 0;
        do {
            if (archive_entry_size_is_set(entry) && archive_entry_size(entry) > 0)
                sum += static_cast<uint64_t>(archive_entry_size(entry));
            r = archive_read_next_header(a.get(), &entry);
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

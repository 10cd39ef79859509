#pragma once
// A package opened for reading with libarchive, every filter and format.
// libarchive's gzip filter never checks a member's CRC32 and length trailer,
// so a flipped bit inside a package would install silently: gzip files are
// inflated by GzipStream instead, which checks every member, and libarchive
// reads the plain stream. zstd files are decoded by ZstdStream, so that no
// external program is ever run for them. Other formats keep libarchive's own
// readers.

#include <archive.h>

#include <memory>
#include <string>

class DecodeStream;

class PackageSource {
public:
    PackageSource();
    ~PackageSource();
    PackageSource(PackageSource const&) = delete;
    PackageSource& operator=(PackageSource const&) = delete;

    // Opens `path`; false with error() set to the reason. Nothing is logged
    // here. A `quiet` reader (one that only counts) leaves the warnings about
    // the package's bytes to the reader that extracts it.
    bool Open(std::string const& path, bool quiet = false);
    // True when Open failed for want of a reader, not because of the file.
    bool allocation_failed() const { return allocation_failed_; }
    struct archive* reader() const {
        return reader_.get();
    }
    // The decoder's verdict once the reader has met the damage: "" before.
    std::string Damage() const;
    // After the last entry: every gzip member or zstd frame must have been
    // checked; false with Damage() set otherwise.
    bool Finish() const;
    // Why Open failed (the reader's or the decoder's text), or
    // libarchive's text for the reader's last error.
    std::string error() const;

    // Plain and uncompressed packages are read in blocks this large: the
    // reader's 10 KB default cost one read call per 10 KB.
    static constexpr size_t kBlockSize = size_t{1} << 20;

private:
    struct ReadFree {
        void operator()(struct archive* a) const { archive_read_free(a); }
    };
    std::string error_;
    bool allocation_failed_ = false;
    std::unique_ptr<DecodeStream> stream_;
    std::unique_ptr<struct archive, ReadFree> reader_;  // freed before the stream it reads
};

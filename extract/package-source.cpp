#include "extract/package-source.h"

#include <cstdio>

#include "extract/gzip-stream.h"

namespace {

bool StartsWithGzipMagic(std::string const& path) {
    FILE* f = std::fopen(path.c_str(), "rb");
    if (!f) return false;
    unsigned char magic[2] = {0, 0};
    size_t const n = std::fread(magic, 1, sizeof magic, f);
    std::fclose(f);
    return n == 2 && magic[0] == 0x1f && magic[1] == 0x8b;
}

}  // namespace

PackageSource::PackageSource() = default;
PackageSource::~PackageSource() {
    reader_.reset();  // before the stream it reads from
}

bool PackageSource::Open(std::string const& path, bool quiet) {
    reader_.reset(archive_read_new());
    if (!reader_) {
        allocation_failed_ = true;
        error_ = "no memory for a reader";
        return false;
    }
    archive_read_support_filter_all(reader_.get());
    archive_read_support_format_all(reader_.get());
    if (!StartsWithGzipMagic(path)) {
        if (archive_read_open_filename(reader_.get(), path.c_str(), kBlockSize) != ARCHIVE_OK) {
            error_ = error();
            return false;
        }
        return true;
    }
    gzip_ = std::make_unique<GzipStream>();
    if (quiet) gzip_->SetQuiet();
    if (!gzip_->Open(path) ||
        archive_read_open(reader_.get(), gzip_.get(), nullptr, &GzipStream::ReadCallback,
                          &GzipStream::CloseCallback) != ARCHIVE_OK) {
        std::string const why = Damage();
        error_ = why.empty() ? error() : why;
        return false;
    }
    return true;
}

std::string PackageSource::Damage() const { return gzip_ ? gzip_->MetError() : std::string(); }

bool PackageSource::Finish() const { return !gzip_ || gzip_->Finish(); }

std::string PackageSource::error() const {
    if (!error_.empty()) return error_;
    char const* s = reader_ ? archive_error_string(reader_.get()) : nullptr;
    return s ? s : "";
}

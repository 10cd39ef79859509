#include "extract/package-source.h"

#include <cstdio>

#include "extract/gzip-stream.h"
#include "extract/zstd-stream.h"

namespace {

// The decoder the file's magic asks for, or none: libarchive reads it itself.
std::unique_ptr<DecodeStream> DecoderFor(std::string const& path) {
    FILE* f = std::fopen(path.c_str(), "rb");
    if (!f) return nullptr;
    unsigned char magic[4] = {0, 0, 0, 0};
    size_t const n = std::fread(magic, 1, sizeof magic, f);
    std::fclose(f);
    if (n >= 2 && magic[0] == 0x1f && magic[1] == 0x8b) return std::make_unique<GzipStream>();
    if (n == 4 && magic[0] == 0x28 && magic[1] == 0xb5 && magic[2] == 0x2f && magic[3] == 0xfd)
        return std::make_unique<ZstdStream>();
    return nullptr;
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
    stream_ = DecoderFor(path);
    if (!stream_) {
        if (archive_read_open_filename(reader_.get(), path.c_str(), kBlockSize) != ARCHIVE_OK) {
            error_ = error();
            return false;
        }
        return true;
    }
    if (quiet) stream_->SetQuiet();
    if (!stream_->Open(path) ||
        archive_read_open(reader_.get(), stream_.get(), nullptr, &DecodeStream::ReadCallback,
                          &DecodeStream::CloseCallback) != ARCHIVE_OK) {
        std::string const why = Damage();
        error_ = why.empty() ? error() : why;
        return false;
    }
    return true;
}

std::string PackageSource::Damage() const { return stream_ ? stream_->MetError() : std::string(); }

bool PackageSource::Finish() const { return !stream_ || stream_->Finish(); }

std::string PackageSource::error() const {
    if (!error_.empty()) return error_;
    char const* s = reader_ ? archive_error_string(reader_.get()) : nullptr;
    return s ? s : "";
}

#include "extract/gzip-stream.h"

#include <errno.h>
#include <fcntl.h>
#include <isa-l/igzip_lib.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>

#define KLOG_SOURCE "extractor"
#define KLOG_COMPONENT "extractor_debug"
#include "log/LogMacros.h"

namespace {

// Four full buffers may wait while the reader holds one and the inflater
// fills another: 6 MiB at most, whatever the package's size.
constexpr size_t kBufferSize = size_t{1} << 20;
constexpr size_t kBuffers = 6;
// The first buffer goes out this full and each next one four times fuller,
// up to kBufferSize: libarchive's format and filter bidders look up to
// 128 KB ahead, and the first entry, with it the first progress report,
// need not wait for megabytes.
constexpr size_t kFirstBufferSize = size_t{64} << 10;
constexpr size_t kInputSize = size_t{256} << 10;
constexpr size_t kSpansKept = kBuffers;

char const* InflateError(int r) {
    switch (r) {
        case ISAL_INVALID_BLOCK: return "invalid block type";
        case ISAL_INVALID_SYMBOL: return "invalid code";
        case ISAL_INVALID_LOOKBACK: return "invalid distance too far back";
        case ISAL_INVALID_WRAPPER: return "incorrect header check";
        case ISAL_UNSUPPORTED_METHOD: return "unknown compression method";
        default: return "inflate failed";
    }
}

}  // namespace

GzipStream::GzipStream() : state_(new inflate_state), in_(kInputSize) {}

GzipStream::~GzipStream() {
    {
        std::lock_guard<std::mutex> lock(mu_);
        stop_ = true;
    }
    cv_.notify_all();
    if (thread_.joinable()) thread_.join();
    if (fd_ >= 0) close(fd_);
}

bool GzipStream::Open(std::string const& path) {
    path_ = path;
    fd_ = open(path.c_str(), O_RDONLY | O_CLOEXEC);
    struct stat st;
    if (fd_ < 0 || fstat(fd_, &st) != 0) {
        error_ = "cannot open file";
        return false;
    }
    file_size_ = static_cast<uint64_t>(st.st_size);
#if defined(POSIX_FADV_SEQUENTIAL)
    posix_fadvise(fd_, 0, 0, POSIX_FADV_SEQUENTIAL);
#endif
    isal_inflate_init(state_.get());
    state_->crc_flag = ISAL_GZIP;
    state_->avail_in = 0;
    thread_ = std::thread([this] { Run(); });
    return true;
}

std::string GzipStream::error() const {
    std::lock_guard<std::mutex> lock(mu_);
    return error_;
}

std::string GzipStream::MetError() const {
    std::lock_guard<std::mutex> lock(mu_);
    return met_ ? error_ : std::string();
}

void GzipStream::Fail(std::string const& why) {
    std::lock_guard<std::mutex> lock(mu_);
    if (error_.empty()) error_ = why;
}

void GzipStream::Run() {
    Inflate();  // a failure is in error_
    {
        std::lock_guard<std::mutex> lock(mu_);
        produced_all_ = true;
    }
    cv_.notify_all();
}

GzipStream::Buffer* GzipStream::TakeFree() {
    std::unique_lock<std::mutex> lock(mu_);
    // Buffers are made only as the reader falls behind, and never zeroed: a
    // page first touched by the inflater costs one fault instead of two, and
    // the first entry does not wait for megabytes of them.
    if (free_.empty() && pool_.size() < kBuffers && !stop_) {
        pool_.push_back(std::make_unique<Buffer>());
        pool_.back()->bytes.reset(new uint8_t[kBufferSize]);
        return pool_.back().get();
    }
    cv_.wait(lock, [this] { return stop_ || !free_.empty(); });
    if (stop_) return nullptr;
    Buffer* b = free_.back();
    free_.pop_back();
    return b;
}

void GzipStream::Publish(Buffer* b) {
    {
        std::lock_guard<std::mutex> lock(mu_);
        ready_.push_back(b);
    }
    cv_.notify_all();
}

// Reads the next piece of the file once the inflater has used the last one.
bool GzipStream::Refill(size_t keep) {
    if (in_eof_) return true;
    ssize_t n;
    do {
        n = read(fd_, in_.data() + keep, in_.size() - keep);
    } while (n < 0 && errno == EINTR);
    if (n < 0) {
        Fail("read error");
        return false;
    }
    if (n == 0) in_eof_ = true;
    in_offset_ += static_cast<uint64_t>(n);
    state_->next_in = in_.data();
    state_->avail_in = static_cast<uint32_t>(n) + static_cast<uint32_t>(keep);
    return true;
}

// After a member's trailer: skips zero padding and tells whether another
// member starts. Trailing data that is neither is left alone with a Warning.
bool GzipStream::NextMember(bool* more) {
    *more = false;
    for (;;) {
        while (state_->avail_in > 0 && *state_->next_in == 0) {
            ++state_->next_in;
            --state_->avail_in;
        }
        if (state_->avail_in > 0) break;
        if (!Refill()) return false;
        if (in_eof_ && state_->avail_in == 0) return true;  // zero padding only, or nothing
    }
    uint64_t const at = in_offset_ - state_->avail_in;
    if (*state_->next_in == 0x1f) {
        // A member's magic may straddle two reads; keep the first byte.
        if (state_->avail_in == 1) {
            in_[0] = 0x1f;
            if (!Refill(1)) return false;
        }
        // A lone 0x1f at the very end may be a cut member: count it as one.
        if (state_->avail_in == 1 || state_->next_in[1] == 0x8b) {
            isal_inflate_reset(state_.get());
            state_->crc_flag = ISAL_GZIP;
            *more = true;
            return true;
        }
    }
    if (!quiet_)
        KLOG(Warning,
             "archive '%s': ignoring trailing data at offset %llu after the last gzip member\n",
             path_.c_str(), static_cast<unsigned long long>(at));
    state_->avail_in = 0;
    return true;
}

// ISA-L checks the CRC32 and the length together; the trailer it just read
// tells which one failed.
char const* GzipStream::TrailerError() const {
    uint8_t t[8];
    off_t const at = static_cast<off_t>(in_offset_ - state_->avail_in) - 8;
    if (at >= 0 && pread(fd_, t, sizeof t, at) == static_cast<ssize_t>(sizeof t)) {
        uint32_t const crc = static_cast<uint32_t>(t[0]) | static_cast<uint32_t>(t[1]) << 8 |
                             static_cast<uint32_t>(t[2]) << 16 | static_cast<uint32_t>(t[3]) << 24;
        if (crc == state_->crc) return "incorrect length check";
    }
    return "incorrect data check";
}

bool GzipStream::Inflate() {
    if (!Refill()) return false;
    if (state_->avail_in == 0) {
        Fail("unexpected end of file");
        return false;
    }
    Buffer* b = nullptr;
    size_t fill = kFirstBufferSize;  // how full the current buffer goes out
    uint64_t packed_mark = 0;
    // What was inflated before the damage goes to the reader first, as a
    // reader without the check would see it: the entries before the damage
    // are read, and the damage is met where it lies.
    auto const fail = [this, &b](std::string const& why) {
        if (b && b->size > 0) {
            b->packed_end = in_offset_ - state_->avail_in;
            Publish(b);
        }
        Fail(why);
        return false;
    };
    for (;;) {
        if (!b) {
            b = TakeFree();
            if (!b) return false;  // the reader gave up
            b->size = 0;
            b->plain_start = plain_total_;
            b->packed_start = packed_mark;
        }
        if (state_->avail_in == 0 && !Refill()) return fail(error());
        state_->next_out = b->bytes.get() + b->size;
        state_->avail_out = static_cast<uint32_t>(fill - b->size);
        int const r = isal_inflate(state_.get());
        size_t const produced = fill - b->size - state_->avail_out;
        b->size += produced;
        plain_total_ += produced;
        if (r == ISAL_INCORRECT_CHECKSUM) return fail(TrailerError());
        if (r != ISAL_DECOMP_OK && r != ISAL_END_INPUT && r != ISAL_OUT_OVERFLOW)
            return fail(InflateError(r));
        if (state_->block_state != ISAL_BLOCK_FINISH && produced == 0 && state_->avail_in == 0 &&
            in_eof_)
            return fail("unexpected end of file");
        bool done = false;
        if (state_->block_state == ISAL_BLOCK_FINISH) {
            bool more = false;
            if (!NextMember(&more)) return fail(error());
            done = !more;
        }
        packed_mark = in_offset_ - state_->avail_in;
        if (done || b->size == fill) {
            fill = std::min(fill * 4, kBufferSize);
            b->packed_end = packed_mark;
            if (b->size > 0) {
                Publish(b);
            } else {
                std::lock_guard<std::mutex> lock(mu_);
                free_.push_back(b);
            }
            b = nullptr;
            if (done) return true;
        }
    }
}

la_ssize_t GzipStream::Read(void const** data) {
    std::unique_lock<std::mutex> lock(mu_);
    if (current_) {
        free_.push_back(current_);
        current_ = nullptr;
        cv_.notify_all();
    }
    cv_.wait(lock, [this] { return !ready_.empty() || produced_all_; });
    if (ready_.empty()) {
        met_ = !error_.empty();
        return met_ ? -1 : 0;
    }
    current_ = ready_.front();
    ready_.pop_front();
    lock.unlock();
    spans_.push_back(Span{current_->plain_start, current_->plain_start + current_->size,
                          current_->packed_start, current_->packed_end});
    if (spans_.size() > kSpansKept) spans_.pop_front();
    *data = current_->bytes.get();
    return static_cast<la_ssize_t>(current_->size);
}

bool GzipStream::Finish() {
    void const* data = nullptr;
    while (Read(&data) > 0) {
    }
    if (thread_.joinable()) thread_.join();
    return error().empty();
}

uint64_t GzipStream::CompressedOffsetOf(uint64_t plain_offset) const {
    for (auto it = spans_.rbegin(); it != spans_.rend(); ++it) {
        if (plain_offset < it->plain_start) continue;
        uint64_t const len = it->plain_end - it->plain_start;
        uint64_t const in = std::min(plain_offset - it->plain_start, len);
        uint64_t const packed = it->packed_end - it->packed_start;
        return it->packed_start + (len == 0 ? packed : in * packed / len);
    }
    return spans_.empty() ? 0 : spans_.front().packed_start;
}

la_ssize_t GzipStream::ReadCallback(struct archive* a, void* self, void const** data) {
    auto* stream = static_cast<GzipStream*>(self);
    la_ssize_t const n = stream->Read(data);
    if (n < 0) archive_set_error(a, EIO, "%s", stream->error().c_str());
    return n;
}

#include "extract/decode-stream.h"

#include <errno.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstring>

#define KLOG_SOURCE "extractor"
#define KLOG_COMPONENT "extractor_debug"
#include "log/LogMacros.h"

namespace {

// Four full buffers may wait while the reader holds one and the decoder
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

}  // namespace

DecodeStream::DecodeStream() : in_(kInputSize) {}

DecodeStream::~DecodeStream() {
    Stop();
    if (fd_ >= 0) close(fd_);
}

void DecodeStream::Stop() {
    {
        std::lock_guard<std::mutex> lock(mu_);
        stop_ = true;
    }
    cv_.notify_all();
    if (thread_.joinable()) thread_.join();
}

bool DecodeStream::Open(std::string const& path) {
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
    thread_ = std::thread([this] { Run(); });
    return true;
}

std::string DecodeStream::error() const {
    std::lock_guard<std::mutex> lock(mu_);
    return error_;
}

std::string DecodeStream::MetError() const {
    std::lock_guard<std::mutex> lock(mu_);
    return met_ ? error_ : std::string();
}

void DecodeStream::Fail(std::string const& why) {
    std::lock_guard<std::mutex> lock(mu_);
    if (error_.empty()) error_ = why;
}

void DecodeStream::Run() {
    Decode();  // a failure is in error_
    {
        std::lock_guard<std::mutex> lock(mu_);
        produced_all_ = true;
    }
    cv_.notify_all();
}

DecodeStream::Buffer* DecodeStream::TakeFree() {
    std::unique_lock<std::mutex> lock(mu_);
    // Buffers are made only as the reader falls behind, and never zeroed: a
    // page first touched by the decoder costs one fault instead of two, and
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

void DecodeStream::Publish(Buffer* b) {
    {
        std::lock_guard<std::mutex> lock(mu_);
        ready_.push_back(b);
    }
    cv_.notify_all();
}

// Reads the next piece of the file once the decoder has used the last one.
bool DecodeStream::Refill(size_t keep) {
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
    next_in_ = in_.data();
    avail_in_ = static_cast<size_t>(n) + keep;
    return true;
}

bool DecodeStream::NextMember(bool* more, size_t magic, bool (*starts)(uint8_t const*, size_t),
                              char const* what) {
    *more = false;
    for (;;) {
        while (avail_in_ > 0 && *next_in_ == 0) {
            ++next_in_;
            --avail_in_;
        }
        if (avail_in_ > 0) break;
        if (!Refill()) return false;
        if (in_eof_ && avail_in_ == 0) return true;  // zero padding only, or nothing
    }
    uint64_t const at = in_offset_ - avail_in_;
    // A magic may straddle two reads; keep its first bytes.
    while (avail_in_ < magic && !in_eof_) {
        std::memmove(in_.data(), next_in_, avail_in_);
        if (!Refill(avail_in_)) return false;
    }
    // A magic's start at the very end may be a cut member: count it as one.
    if (starts(next_in_, std::min(avail_in_, magic))) {
        *more = true;
        return true;
    }
    if (!quiet_)
        KLOG(Warning, "archive '%s': ignoring trailing data at offset %llu after the last %s\n",
             path_.c_str(), static_cast<unsigned long long>(at), what);
    avail_in_ = 0;
    return true;
}

bool DecodeStream::Decode() {
    if (!Refill()) return false;
    if (avail_in_ == 0) {
        Fail("unexpected end of file");
        return false;
    }
    Buffer* b = nullptr;
    size_t fill = kFirstBufferSize;  // how full the current buffer goes out
    uint64_t packed_mark = 0;
    // What was decoded before the damage goes to the reader first, as a
    // reader without the check would see it: the entries before the damage
    // are read, and the damage is met where it lies.
    auto const fail = [this, &b]() {
        if (b && b->size > 0) {
            b->packed_end = in_offset_ - avail_in_;
            Publish(b);
        }
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
        if (avail_in_ == 0 && !Refill()) return fail();
        size_t produced = 0;
        bool done = false;
        bool const ok = Step(b->bytes.get() + b->size, fill - b->size, &produced, &done);
        b->size += produced;
        plain_total_ += produced;
        if (!ok) return fail();
        packed_mark = in_offset_ - avail_in_;
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

la_ssize_t DecodeStream::Read(void const** data) {
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

bool DecodeStream::Finish() {
    void const* data = nullptr;
    while (Read(&data) > 0) {
    }
    if (thread_.joinable()) thread_.join();
    return error().empty();
}

uint64_t DecodeStream::CompressedOffsetOf(uint64_t plain_offset) const {
    for (auto it = spans_.rbegin(); it != spans_.rend(); ++it) {
        if (plain_offset < it->plain_start) continue;
        uint64_t const len = it->plain_end - it->plain_start;
        uint64_t const in = std::min(plain_offset - it->plain_start, len);
        uint64_t const packed = it->packed_end - it->packed_start;
        return it->packed_start + (len == 0 ? packed : in * packed / len);
    }
    return spans_.empty() ? 0 : spans_.front().packed_start;
}

la_ssize_t DecodeStream::ReadCallback(struct archive* a, void* self, void const** data) {
    auto* stream = static_cast<DecodeStream*>(self);
    la_ssize_t const n = stream->Read(data);
    if (n < 0) archive_set_error(a, EIO, "%s", stream->error().c_str());
    return n;
}

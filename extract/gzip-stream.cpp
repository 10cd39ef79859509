#include "extract/gzip-stream.h"

#include <isa-l/igzip_lib.h>
#include <unistd.h>

namespace {

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

bool StartsMember(uint8_t const* p, size_t n) { return p[0] == 0x1f && (n < 2 || p[1] == 0x8b); }

}  // namespace

GzipStream::GzipStream() : state_(new inflate_state) {
    isal_inflate_init(state_.get());
    state_->crc_flag = ISAL_GZIP;
    state_->avail_in = 0;
}

GzipStream::~GzipStream() { Stop(); }

// ISA-L checks the CRC32 and the length together; the trailer it just read
// tells which one failed.
char const* GzipStream::TrailerError() const {
    uint8_t t[8];
    off_t const at = static_cast<off_t>(in_offset_ - avail_in_) - 8;
    if (at >= 0 && pread(fd_, t, sizeof t, at) == static_cast<ssize_t>(sizeof t)) {
        uint32_t const crc = static_cast<uint32_t>(t[0]) | static_cast<uint32_t>(t[1]) << 8 |
                             static_cast<uint32_t>(t[2]) << 16 | static_cast<uint32_t>(t[3]) << 24;
        if (crc == state_->crc) return "incorrect length check";
    }
    return "incorrect data check";
}

bool GzipStream::Step(uint8_t* out, size_t room, size_t* produced, bool* done) {
    state_->next_in = const_cast<uint8_t*>(next_in_);
    state_->avail_in = static_cast<uint32_t>(avail_in_);
    state_->next_out = out;
    state_->avail_out = static_cast<uint32_t>(room);
    int const r = isal_inflate(state_.get());
    next_in_ = state_->next_in;
    avail_in_ = state_->avail_in;
    *produced = room - state_->avail_out;
    if (r == ISAL_INCORRECT_CHECKSUM) {
        Fail(TrailerError());
        return false;
    }
    if (r != ISAL_DECOMP_OK && r != ISAL_END_INPUT && r != ISAL_OUT_OVERFLOW) {
        Fail(InflateError(r));
        return false;
    }
    if (state_->block_state != ISAL_BLOCK_FINISH && *produced == 0 && avail_in_ == 0 && in_eof_) {
        Fail("unexpected end of file");
        return false;
    }
    if (state_->block_state == ISAL_BLOCK_FINISH) {
        bool more = false;
        if (!NextMember(&more, 2, &StartsMember, "gzip member")) return false;
        if (more) {
            isal_inflate_reset(state_.get());
            state_->crc_flag = ISAL_GZIP;
        }
        *done = !more;
    }
    return true;
}

#include "extract/zstd-stream.h"

#include <zstd.h>

ZstdStream::ZstdStream() : dctx_(ZSTD_createDCtx()) {
    if (dctx_) ZSTD_DCtx_setParameter(dctx_, ZSTD_d_windowLogMax, kMaxWindowLog);
}

ZstdStream::~ZstdStream() {
    Stop();
    ZSTD_freeDCtx(dctx_);
}

// A frame's magic, or a skippable frame's (0x184D2A50 to 0x184D2A5F), little
// endian; a prefix of one at the file's end counts as a cut frame.
bool ZstdStream::StartsFrame(uint8_t const* p, size_t n) {
    static uint8_t const kFrame[4] = {0x28, 0xb5, 0x2f, 0xfd};
    static uint8_t const kSkippable[4] = {0x50, 0x2a, 0x4d, 0x18};
    bool frame = true, skippable = true;
    for (size_t i = 0; i < n && i < 4; ++i) {
        frame = frame && p[i] == kFrame[i];
        skippable = skippable && (i == 0 ? (p[0] & 0xf0) == 0x50 : p[i] == kSkippable[i]);
    }
    return frame || skippable;
}

bool ZstdStream::Step(uint8_t* out, size_t room, size_t* produced, bool* done) {
    if (!dctx_) {
        Fail("no memory for the zstd decoder");
        return false;
    }
    ZSTD_inBuffer in{next_in_, avail_in_, 0};
    ZSTD_outBuffer o{out, room, 0};
    size_t const r = ZSTD_decompressStream(dctx_, &o, &in);
    next_in_ += in.pos;
    avail_in_ -= in.pos;
    *produced = o.pos;
    if (ZSTD_isError(r)) {
        Fail(ZSTD_getErrorName(r));
        return false;
    }
    if (r != 0) {
        // Not at a frame's end: input ran out at the file's end.
        if (o.pos == 0 && in.pos == 0 && avail_in_ == 0 && in_eof_) {
            Fail("unexpected end of file");
            return false;
        }
        return true;
    }
    // A frame ended, flushed; the context starts the next one by itself.
    bool more = false;
    if (!NextMember(&more, 4, &StartsFrame, "zstd frame")) return false;
    *done = !more;
    return true;
}

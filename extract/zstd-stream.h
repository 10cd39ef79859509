#pragma once
// zstd frames decoded by libzstd on DecodeStream's thread, never by an
// external program. Every frame's checksum is checked when it has one, and
// windows above kMaxWindowLog are refused.

#include "extract/decode-stream.h"

struct ZSTD_DCtx_s;

class ZstdStream : public DecodeStream {
public:
    // 128 MiB: every package `zstd --long` makes, at a bounded memory cost.
    static constexpr int kMaxWindowLog = 27;

    ZstdStream();
    ~ZstdStream() override;

    // True when `p` (n bytes, fewer only at a file's end) starts a frame.
    static bool StartsFrame(uint8_t const* p, size_t n);

protected:
    bool Step(uint8_t* out, size_t room, size_t* produced, bool* done) override;

private:
    ZSTD_DCtx_s* dctx_ = nullptr;
};

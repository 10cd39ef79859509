#pragma once
// gzip members inflated by ISA-L on DecodeStream's thread. Every member's
// CRC32 and length are checked (libarchive's gzip filter checks neither).

#include "extract/decode-stream.h"

struct inflate_state;

class GzipStream : public DecodeStream {
public:
    GzipStream();
    ~GzipStream() override;

protected:
    bool Step(uint8_t* out, size_t room, size_t* produced, bool* done) override;

private:
    char const* TrailerError() const;

    std::unique_ptr<inflate_state> state_;
};

#pragma once
// A compressed file decoded once, on a thread of its own, into a bounded
// queue of plain buffers that libarchive reads through its client callbacks.
// Writing the entries and decoding the next ones then run on two cores, and
// memory stays flat. The decoders (GzipStream, ZstdStream) check every
// member or frame; damage found after libarchive has read its last entry is
// reported by Finish().
//
// After the last member or frame: zero padding is ignored, a further one
// must be complete and correct, and anything else is ignored with a Warning.

#include <archive.h>

#include <condition_variable>
#include <cstdint>
#include <deque>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

class DecodeStream {
public:
    DecodeStream();
    virtual ~DecodeStream();
    DecodeStream(DecodeStream const&) = delete;
    DecodeStream& operator=(DecodeStream const&) = delete;

    // Trailing data after the last member is then ignored without a Warning.
    void SetQuiet() { quiet_ = true; }
    // Opens the file and starts decoding; false with error() set.
    bool Open(std::string const& path);
    // Next plain buffer for libarchive: its size, 0 at the end, -1 on damage.
    // The previous buffer is given back to the decoder.
    la_ssize_t Read(void const** data);
    // Decodes (and checks) what the reader did not ask for, then waits for
    // the decoder; false with error() set if any member was damaged.
    bool Finish();

    // The compressed file's size, and roughly how much of it has been
    // consumed once the reader is at `plain_offset` of the plain stream.
    uint64_t file_size() const { return file_size_; }
    uint64_t CompressedOffsetOf(uint64_t plain_offset) const;
    std::string error() const;
    // error() once the reader has met it (Read gave -1), else "": damage
    // found ahead of the reader is not what stopped a failed write.
    std::string MetError() const;

    static la_ssize_t ReadCallback(struct archive* a, void* self, void const** data);
    static int CloseCallback(struct archive*, void*) { return ARCHIVE_OK; }

protected:
    // Decodes from next_in_/avail_in_ into `out` (room bytes): sets how many
    // it produced and whether the last member ended. False with Fail() called.
    virtual bool Step(uint8_t* out, size_t room, size_t* produced, bool* done) = 0;
    // Derived destructors call it first: the thread uses their state.
    void Stop();
    // Reads the next piece of the file after the first `keep` bytes of in_,
    // which the caller has put there.
    bool Refill(size_t keep = 0);
    // After a member's end: skips zero padding and tells whether another
    // member starts (`starts` of its first bytes, fewer than `magic` of them
    // only at the file's end). Other trailing data is left with a Warning.
    bool NextMember(bool* more, size_t magic, bool (*starts)(uint8_t const*, size_t),
                    char const* what);
    void Fail(std::string const& why);

    std::string path_;
    int fd_ = -1;
    std::vector<uint8_t> in_;
    uint8_t const* next_in_ = nullptr;
    size_t avail_in_ = 0;
    uint64_t in_offset_ = 0;  // file offset just past what in_ holds
    bool in_eof_ = false;

private:
    struct Buffer {
        std::unique_ptr<uint8_t[]> bytes;  // kBufferSize of them
        size_t size = 0;
        uint64_t plain_start = 0;   // offset of bytes[0] in the plain stream
        uint64_t packed_start = 0;  // compressed bytes consumed before bytes[0]
        uint64_t packed_end = 0;    // ... and after bytes[size - 1]
    };

    void Run();
    bool Decode();
    Buffer* TakeFree();
    void Publish(Buffer* b);

    uint64_t file_size_ = 0;
    bool quiet_ = false;
    uint64_t plain_total_ = 0;

    std::vector<std::unique_ptr<Buffer>> pool_;  // with mu_ held
    mutable std::mutex mu_;
    std::condition_variable cv_;
    std::deque<Buffer*> ready_;
    std::vector<Buffer*> free_;
    // Where the last buffers handed to the reader lie, for CompressedOffsetOf
    // (reader's thread only).
    struct Span {
        uint64_t plain_start, plain_end, packed_start, packed_end;
    };
    std::deque<Span> spans_;
    Buffer* current_ = nullptr;  // the buffer libarchive is reading
    bool produced_all_ = false;  // set with mu_ held once the decoder ends
    bool stop_ = false;
    std::string error_;
    bool met_ = false;  // with mu_ held
    std::thread thread_;
};

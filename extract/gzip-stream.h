#pragma once
// A gzip file inflated once, on a thread of its own, into a bounded queue of
// plain buffers that libarchive reads through its client callbacks. Writing
// the entries and inflating the next ones then run on two cores, and memory
// stays flat. Every member's CRC32 and length are checked; damage found after
// libarchive has read its last entry is reported by Finish().
//
// After the last member: zero padding is ignored, a further member must be
// complete and correct, and anything else is ignored with a Warning.

#include <archive.h>

#include <condition_variable>
#include <cstdint>
#include <deque>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

struct inflate_state;

class GzipStream {
public:
    GzipStream();
    ~GzipStream();
    GzipStream(GzipStream const&) = delete;
    GzipStream& operator=(GzipStream const&) = delete;

    // Trailing data after the last member is then ignored without a Warning.
    void SetQuiet() { quiet_ = true; }
    // Opens the file and starts inflating; false with error() set.
    bool Open(std::string const& path);
    // Next plain buffer for libarchive: its size, 0 at the end, -1 on damage.
    // The previous buffer is given back to the inflater.
    la_ssize_t Read(void const** data);
    // Inflates (and checks) what the reader did not ask for, then waits for
    // the inflater; false with error() set if any member was damaged.
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

private:
    struct Buffer {
        std::unique_ptr<uint8_t[]> bytes;  // kBufferSize of them
        size_t size = 0;
        uint64_t plain_start = 0;   // offset of bytes[0] in the plain stream
        uint64_t packed_start = 0;  // compressed bytes consumed before bytes[0]
        uint64_t packed_end = 0;    // ... and after bytes[size - 1]
    };

    void Run();
    bool Inflate();
    // Reads the next piece of the file after the first `keep` bytes of in_,
    // which the caller has put there.
    bool Refill(size_t keep = 0);
    bool NextMember(bool* more);
    char const* TrailerError() const;
    Buffer* TakeFree();
    void Publish(Buffer* b);
    void Fail(std::string const& why);

    int fd_ = -1;
    uint64_t file_size_ = 0;
    std::string path_;
    std::unique_ptr<inflate_state> state_;
    std::vector<uint8_t> in_;
    uint64_t in_offset_ = 0;  // file offset just past what in_ holds
    bool in_eof_ = false;
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
    bool produced_all_ = false;  // set with mu_ held once the inflater ends
    bool stop_ = false;
    std::string error_;
    bool met_ = false;  // with mu_ held
    std::thread thread_;
};

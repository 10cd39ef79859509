#include "extract/sha256.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <memory>

#include "utils/ErrnoText.h"

namespace {

constexpr size_t kBlock = size_t{1} << 20;  // few calls, the hash sets the pace

struct Fd {
    int fd;
    ~Fd() {
        if (fd >= 0) close(fd);
    }
};

}  // namespace

bool Sha256File(std::string const& path, std::string* hex, std::string* error) {
    Fd const file{open(path.c_str(), O_RDONLY | O_CLOEXEC)};
    if (file.fd < 0) {
        *error = "cannot open: " + korvane::utils::ErrnoText(errno);
        return false;
    }
    sha256platform::State* const state = sha256platform::Begin();
    unsigned char digest[32];
    if (state == nullptr) {
        *error = "the SHA-256 hash cannot be set up";
        return false;
    }
    std::unique_ptr<char[]> const block(new char[kBlock]);
    for (;;) {
        ssize_t const n = read(file.fd, block.get(), kBlock);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) {
            *error = "cannot read: " + korvane::utils::ErrnoText(errno);
            sha256platform::End(state, digest);
            return false;
        }
        if (n == 0) break;
        if (!sha256platform::Add(state, block.get(), static_cast<size_t>(n))) {
            *error = "the SHA-256 hash failed";
            sha256platform::End(state, digest);
            return false;
        }
    }
    if (!sha256platform::End(state, digest)) {
        *error = "the SHA-256 hash failed";
        return false;
    }
    static char const digits[] = "0123456789abcdef";
    hex->clear();
    for (unsigned char b : digest) {
        hex->push_back(digits[b >> 4]);
        hex->push_back(digits[b & 15]);
    }
    return true;
}

// Feeds arbitrary bytes to both Config::parse overloads and, through a
// temporary file, to Config::read, and checks what they promise:
//   - an entry's key holds only key bytes, its value no control byte;
//   - the two parse overloads agree on text without NUL bytes;
//   - read() either keeps earlier entries and adds valid ones, or leaves none.

#include <fcntl.h>
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "utils/Config.h"

namespace {

std::string g_path;

void RemoveTempFile() {
    if (!g_path.empty()) unlink(g_path.c_str());
}

std::string const& TempFile() {
    if (g_path.empty()) {
        // Memory-backed when possible: ext4 flushes a truncated file on close,
        // which makes every run cost a disk write.
        char const* base = getenv("TMPDIR");
        if (access("/dev/shm", W_OK) == 0) base = "/dev/shm";
        std::string tmpl =
            std::string(base && *base ? base : "/tmp") + "/korvane-fuzz-config-XXXXXX";
        std::vector<char> buf(tmpl.begin(), tmpl.end());
        buf.push_back('\0');
        int fd = mkstemp(buf.data());
        if (fd < 0) abort();
        close(fd);
        g_path = buf.data();
        atexit(RemoveTempFile);
    }
    return g_path;
}

bool IsKeyByte(unsigned char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_' ||
           c == '-' || c == '.';
}

void Check(bool ok, char const* what) {
    if (!ok) {
        fprintf(stderr, "fuzz_config: %s\n", what);
        abort();
    }
}

void CheckEntry(std::string const& key, std::string const& value) {
    for (unsigned char c : key) Check(IsKeyByte(c), "key holds a byte outside the key set");
    for (unsigned char c : value) Check(c >= 32 && c != 127, "value holds a control byte");
}

int ParseCopy(uint8_t const* data, size_t size, bool with_length, std::string& key,
              std::string& value) {
    std::vector<char> line(data, data + size);
    line.push_back('\0');
    return with_length ? Config::parse(line.data(), size, key, value)
                       : Config::parse(line.data(), key, value);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(uint8_t const* data, size_t size) {
    std::string k1, v1, k2, v2;
    int r1 = ParseCopy(data, size, false, k1, v1);
    int r2 = ParseCopy(data, size, true, k2, v2);
    Check(r1 >= 0 && r1 <= 2 && r2 >= 0 && r2 <= 2, "parse result out of range");
    if (r1 == 0) CheckEntry(k1, v1);
    if (r2 == 0) CheckEntry(k2, v2);
    if (memchr(data, '\0', size) == nullptr) {
        Check(r1 == r2, "parse overloads disagree");
        if (r1 == 0) Check(k1 == k2 && v1 == v2, "parse overloads give different entries");
    }

    std::string const& path = TempFile();
    int fd = open(path.c_str(), O_WRONLY | O_TRUNC);
    if (fd < 0) abort();
    size_t off = 0;
    while (off < size) {
        ssize_t n = write(fd, data + off, size - off);
        if (n <= 0) abort();
        off += static_cast<size_t>(n);
    }
    close(fd);

    Config cfg;
    cfg.entries["seed"] = "kept unless the file is malformed";
    int r = cfg.read(path);
    Check(r == 0 || r == -1, "read result out of range");
    if (r == -1) Check(cfg.entries.empty(), "failed read left entries");
    if (r == 0) {
        Check(cfg.entries.count("seed") == 1, "successful read lost an earlier entry");
        for (auto const& e : cfg.entries) CheckEntry(e.first, e.second);
        (void)cfg.get_int("pid");
    }
    return 0;
}

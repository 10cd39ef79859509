#include "utils/Config.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <sstream>

namespace {

bool IsSpace(unsigned char c) { return (c >= 9 && c <= 13) || c == ' '; }

bool IsKeyChar(unsigned char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_' ||
           c == '-' || c == '.';
}

// A byte that may not appear in a value: below 32 (NUL included) or DEL.
bool IsControl(unsigned char c) { return c < 32 || c == 127; }

}  // namespace

int Config::parse(char* line, std::string& key, std::string& value) {
    return parse(line, strlen(line), key, value);
}

// Positions run over [0, length); "end of the text" is position length, so an
// embedded NUL is an ordinary control byte and never ends the line early.
int Config::parse(char* line, size_t length, std::string& key, std::string& value) {
    unsigned char const* p = reinterpret_cast<unsigned char const*>(line);
    // A crash or power cut can leave a file's tail filled with NUL bytes;
    // a line of nothing else is blank, not malformed.
    size_t i = 0;
    while (i < length && (IsSpace(p[i]) || p[i] == '\0')) ++i;
    if (i == length) return 1;
    i = 0;
    while (i < length && IsSpace(p[i])) ++i;

    size_t key_begin = i;
    while (i < length && IsKeyChar(p[i])) ++i;
    size_t key_end = i;

    if (i == length || p[i] == '#') return 1;

    while (i < length && IsSpace(p[i])) ++i;
    if (i == length || p[i] != '=') return 2;
    ++i;

    while (i < length && IsSpace(p[i])) ++i;
    if (i == length) return 2;

    size_t value_begin;
    size_t value_end;
    if (p[i] == '"' || p[i] == '\'') {
        unsigned char quote = p[i];
        value_begin = ++i;
        while (i < length && p[i] != quote) {
            if (IsControl(p[i])) return 2;
            ++i;
        }
        if (i == length) return 2;
        value_end = i;
        ++i;  // past the closing quote
    } else {
        value_begin = i;
        while (i < length && p[i] != ' ' && !IsControl(p[i])) ++i;
        value_end = i;
    }

    while (i < length && IsSpace(p[i])) ++i;
    if (i != length && p[i] != '#') return 2;

    // Terminators only inside the buffer: a line of known length may have no
    // room after its last byte.
    if (key_end < length) line[key_end] = '\0';
    if (value_end < length) line[value_end] = '\0';
    key.assign(line + key_begin, key_end - key_begin);
    value.assign(line + value_begin, value_end - value_begin);
    return 0;
}

int Config::read(std::string const& path) {
    if (path.empty()) return -1;

    // O_NONBLOCK so that a FIFO in place of the file cannot block the open;
    // anything that is not a regular file is refused.
    int fd = open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) return -1;
    struct stat st;
    if (fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        close(fd);
        return -1;
    }
    FILE* fp = fdopen(fd, "r");
    if (fp == nullptr) {
        close(fd);
        return -1;
    }

    // Whole lines of any length: a long line cut into pieces would let the
    // tail of a comment become an entry of its own.
    char* buf = nullptr;
    size_t cap = 0;
    ssize_t n;
    int result = 0;
    std::string key;
    std::string value;
    while ((n = getline(&buf, &cap, fp)) > 0) {
        int r = parse(buf, static_cast<size_t>(n), key, value);
        if (r == 0) {
            entries[key] = value;
        } else if (r == 2) {
            result = -1;
            break;
        }
    }
    if (result == 0 && ferror(fp)) result = -1;  // not the whole file
    free(buf);
    fclose(fp);
    if (result != 0) entries.clear();
    return result;
}

int Config::get_int(std::string const& key) {
    std::istringstream in(entries[key]);
    int v = 0;
    // Extraction leaves 0 when there is no number and saturates on overflow.
    in >> v;
    return v;
}

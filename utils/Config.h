#pragma once
// Reader of key=value text files (the pid file, the logger's level file).

#include <cstddef>
#include <map>
#include <string>

class Config {
public:
    // 0 when the whole file was read; -1 for an empty path, a path that is
    // not a readable regular file, or a malformed line (entries then empty).
    int read(std::string const& path);
    // 0 entry, 1 blank or comment, 2 malformed. Writes terminators into line.
    static int parse(char* line, std::string& key, std::string& value);
    // The same for a line of known length that may hold NUL bytes.
    static int parse(char* line, size_t length, std::string& key, std::string& value);
    int get_int(std::string const& key);

    std::map<std::string, std::string> entries;
};

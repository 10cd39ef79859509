#include "extract/link-guard.h"

#include <sys/stat.h>

std::string LinkGuard::FindLink(std::string const& path, bool check_last) {
    size_t pos = root_.size();
    std::string current = root_;
    while (pos < path.size()) {
        while (pos < path.size() && path[pos] == '/') ++pos;
        if (pos >= path.size()) break;
        size_t end = path.find('/', pos);
        if (end == std::string::npos) end = path.size();
        size_t const start = pos;
        pos = end;
        if (end - start == 1 && path[start] == '.') continue;
        if (end - start == 2 && path[start] == '.' && path[start + 1] == '.') break;
        current += '/';
        current.append(path, start, end - start);
        bool const last = path.find_first_not_of('/', pos) == std::string::npos;
        if (last && !check_last) break;
        if (dirs_.count(current) != 0) continue;
        struct stat st;
        if (lstat(current.c_str(), &st) != 0) break;
        if (S_ISLNK(st.st_mode)) return current;
        if (!S_ISDIR(st.st_mode)) break;
        dirs_.insert(current);
    }
    return "";
}

void LinkGuard::BeforeNonDirectory(std::string const& path) {
    if (dirs_.empty()) return;
    // The kernel resolves the name, so a folder stored in another letter case
    // or normalisation is found too.
    struct stat st;
    if (lstat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode)) dirs_.clear();
}

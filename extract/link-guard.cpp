#include "extract/link-guard.h"

#include <sys/stat.h>

namespace {

// Appends "/" and the component in lower case to `key`; false for a
// component outside ASCII, whose other spellings cannot be told here.
bool AppendFolded(std::string* key, std::string const& path, size_t start, size_t end) {
    *key += '/';
    for (size_t i = start; i < end; ++i) {
        auto const c = static_cast<unsigned char>(path[i]);
        if (c >= 0x80) return false;
        *key += static_cast<char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
    }
    return true;
}

// Calls `visit(end, key)` for each component of `path` after `pos`, with the
// folded key of the path up to it, until `visit` returns false, a component
// is "..", or one cannot be folded (then with an empty key, once).
template <typename Visit>
void ForEachComponent(std::string const& path, size_t pos, Visit visit) {
    std::string key;
    bool foldable = true;
    while (pos < path.size()) {
        while (pos < path.size() && path[pos] == '/') ++pos;
        if (pos >= path.size()) return;
        size_t end = path.find('/', pos);
        if (end == std::string::npos) end = path.size();
        size_t const start = pos;
        pos = end;
        if (end - start == 1 && path[start] == '.') continue;
        if (end - start == 2 && path[start] == '.' && path[start + 1] == '.') return;
        if (foldable) foldable = AppendFolded(&key, path, start, end);
        if (!visit(start, end, foldable ? key : std::string())) return;
    }
}

}  // namespace

std::string LinkGuard::FindLink(std::string const& path, bool check_last) {
    std::string current = root_;
    std::string found;
    ForEachComponent(path, root_.size(), [&](size_t start, size_t end, std::string const& key) {
        current += '/';
        current.append(path, start, end - start);
        bool const last = path.find_first_not_of('/', end) == std::string::npos;
        if (last && !check_last) return false;
        if (dirs_.count(current) != 0) return true;
        if (fresh_ && !key.empty() && written_.count(key) == 0) return false;  // missing
        struct stat st;
        if (lstat(current.c_str(), &st) != 0) return false;
        if (S_ISLNK(st.st_mode)) {
            found = current;
            return false;
        }
        if (!S_ISDIR(st.st_mode)) return false;
        dirs_.insert(current);
        return true;
    });
    return found;
}

void LinkGuard::BeforeNonDirectory(std::string const& path) {
    if (dirs_.empty() || !MayExist(path)) return;
    // The kernel resolves the name, so a folder stored in another letter case
    // or normalisation is found too.
    struct stat st;
    if (lstat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode)) dirs_.clear();
}

bool LinkGuard::MayExist(std::string const& path) const {
    if (!fresh_) return true;
    bool may = true;
    ForEachComponent(path, root_.size(), [&](size_t, size_t end, std::string const& key) {
        if (path.find_first_not_of('/', end) != std::string::npos) return true;
        may = key.empty() || written_.count(key) != 0;
        return false;
    });
    return may;
}

void LinkGuard::Wrote(std::string const& path) {
    if (!fresh_) return;
    ForEachComponent(path, root_.size(), [&](size_t, size_t, std::string const& key) {
        if (key.empty()) return false;
        written_.insert(key);
        return true;
    });
}

#include "extract/quarantine.h"

#include <archive.h>
#include <archive_entry.h>

#include <cstring>
#include <utility>
#include <vector>

namespace quarantine {

char const* const kAttribute = "com.apple.quarantine";

bool DropFromEntry(struct archive_entry* entry) {
    if (!entry || archive_entry_xattr_reset(entry) == 0) return false;
    std::vector<std::pair<std::string, std::string>> kept;
    bool dropped = false;
    char const* name = nullptr;
    void const* value = nullptr;
    size_t size = 0;
    while (archive_entry_xattr_next(entry, &name, &value, &size) == ARCHIVE_OK) {
        if (name && std::strcmp(name, kAttribute) == 0) {
            dropped = true;
            continue;
        }
        kept.emplace_back(name ? name : "",
                          std::string(static_cast<char const*>(value), value ? size : 0));
    }
    if (!dropped) return false;
    archive_entry_xattr_clear(entry);
    for (auto const& [n, v] : kept)
        archive_entry_xattr_add_entry(entry, n.c_str(), v.data(), v.size());
    return true;
}

}  // namespace quarantine

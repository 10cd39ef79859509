#include "pack/package-check.h"

#include <archive_entry.h>
#include <sys/stat.h>

namespace pack {

bool ReadBack(std::string const& package, std::vector<TreeEntry> const& packed, Format format,
              PackageDescription* d, std::string* error) {
    size_t at = 0;
    auto const check = [&](struct archive_entry* entry, std::string* why) {
        char const* raw = archive_entry_pathname(entry);
        std::string name = raw ? raw : "";
        if (!name.empty() && name.back() == '/') name.pop_back();  // zip's folders
        if (at >= packed.size()) {
            *why = "it holds more entries than were packed ('" + name + "')";
            return false;
        }
        TreeEntry const& e = packed[at++];
        bool const linked = !e.first.empty() && KeepsHardLinks(format);
        char const* link = archive_entry_hardlink(entry);
        auto const size = static_cast<uint64_t>(archive_entry_size(entry));
        // A hard link's type is its first path's; its data is there too.
        bool const same = name == e.name &&
                          (linked ? link && e.first == link
                                  : !link && archive_entry_filetype(entry) == (e.mode & S_IFMT) &&
                                        (!S_ISREG(e.mode) || size == e.size));
        if (!same) {
            *why = "entry " + std::to_string(at) + " reads as '" + name + "' of " +
                   std::to_string(size) + " bytes, but '" + e.name + "' of " +
                   std::to_string(linked ? 0 : e.size) + " bytes was packed";
            return false;
        }
        return true;
    };
    std::string why;
    if (!packagedesc::Describe(package, d, &why, check)) {
        *error = package + ": the package does not read back: " + why;
        return false;
    }
    if (at != packed.size()) {
        *error = package + ": the package reads back with " + std::to_string(at) + " of " +
                 std::to_string(packed.size()) + " entries";
        return false;
    }
    return true;
}

}  // namespace pack

// macOS: Finder tags and comments, other extended attributes and ACLs
// travel with a file or folder that is copied to another volume.

#include <copyfile.h>

#include <string>

#include "fs/file-op-internal.h"

namespace fsinternal {

void CopyMetadata(std::string const& src, std::string const& dst) {
    // Best effort: the data is what must arrive; a volume without
    // attributes or ACLs still receives it.
    copyfile(src.c_str(), dst.c_str(), nullptr, COPYFILE_METADATA | COPYFILE_NOFOLLOW);
}

}  // namespace fsinternal

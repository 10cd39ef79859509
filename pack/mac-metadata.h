#pragma once
// The Mac metadata of a path (extended attributes, ACLs, resource forks),
// in the form the launcher's disk writer restores (archive_write_disk with
// ARCHIVE_EXTRACT_MAC_METADATA): an AppleDouble blob, as libarchive's disk
// reader makes it with ARCHIVE_READDISK_MAC_COPYFILE. Gatekeeper's
// quarantine mark never goes in. Off macOS nothing is added: Linux
// attributes have no meaning for the installed client.

#include <sys/types.h>

#include <string>

struct archive_entry;

namespace macmeta {

// Adds the metadata of `path` (whose type and bits are `mode`) to `entry`;
// false with `error` set when it cannot be read.
bool Attach(std::string const& path, mode_t mode, struct archive_entry* entry, std::string* error);

}  // namespace macmeta

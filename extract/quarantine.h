#pragma once
// The installed client must never carry Gatekeeper's quarantine mark: a
// quarantined per-user copy prompts on every start or runs translocated
// from a read-only path. Every other extended attribute is kept.

#include <string>

struct archive_entry;

namespace quarantine {

extern char const* const kAttribute;  // "com.apple.quarantine"

// Drops the mark from the entry's extended attributes, keeping the rest in
// their order; true if it was there.
bool DropFromEntry(struct archive_entry* entry);

// Removes the mark from a written path without following a link there.
// AppleDouble data restored with the entry brings it back, so this runs
// after the entry's metadata is on disk. Nothing to do off macOS.
void RemoveFromPath(std::string const& path);

}  // namespace quarantine

#pragma once
// Finds symbolic links in the paths an extraction writes to, so that no
// entry lands outside the install folder through a link stored earlier in
// the same archive. Folders already seen to be real directories are
// remembered, so each entry costs one look-up instead of one per component.

#include <string>
#include <unordered_set>

class LinkGuard {
public:
    explicit LinkGuard(std::string root) : root_(std::move(root)) {}

    // Walks the components of `path` below the root (path starts with root +
    // "/") and returns the first existing one that is a symbolic link, or "".
    // The last component is checked only when `check_last` is set: an
    // ordinary entry replaces whatever sits at its own place, but must never
    // be written through a link further up. The walk stops at the first
    // missing component and at "..", which the disk writer refuses itself.
    std::string FindLink(std::string const& path, bool check_last);

    // Before a non-directory entry is written at `path`: it may replace an
    // empty directory (under any spelling the volume takes for the same
    // name), so what was remembered no longer holds.
    void BeforeNonDirectory(std::string const& path);

private:
    std::string root_;
    std::unordered_set<std::string> dirs_;
};

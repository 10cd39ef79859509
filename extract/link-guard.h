#pragma once
// Finds symbolic links in the paths an extraction writes to, so that no
// entry lands outside the install folder through a link stored earlier in
// the same archive. Folders already seen to be real directories are
// remembered, so each entry costs one look-up instead of one per component.
//
// Into a root that started empty, only what this extraction wrote can be
// there: names it never wrote are known to be missing without asking the
// file system.

#include <string>
#include <unordered_set>

class LinkGuard {
public:
    // `fresh`: the root was missing or empty when the extraction began.
    LinkGuard(std::string root, bool fresh) : root_(std::move(root)), fresh_(fresh) {}

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

    // Whether something may already be at `path`. Only a fresh root can say
    // no, and only for names a volume cannot take for another spelling of a
    // name written before: ASCII, compared without letter case.
    bool MayExist(std::string const& path) const;
    // `path` and the folders above it exist now.
    void Wrote(std::string const& path);

private:
    std::string root_;
    bool fresh_;
    std::unordered_set<std::string> dirs_;
    std::unordered_set<std::string> written_;  // keys of what this extraction wrote
};

#pragma once
// A case-insensitive, case-preserving view of a folder, mounted with FUSE by
// tests/support/cifs_fuse.py (Debian's fuse and python3-fusepy, run with
// /usr/bin/python3). It stands in for a case-insensitive macOS volume: FOO
// finds a file stored as foo, and directory listings show the stored name.
//
//   testsupport::CiFuseMount ci(tmp / "backing", tmp / "ci");
//   ASSERT_TRUE(ci.ok()) << ci.reason();
//   ... use ci.path() ...
//
// Link the target korvane_testsupport_fuse (tests/support/fuse).

#include <sys/types.h>

#include <string>

namespace testsupport {

class CiFuseMount {
public:
    // Creates both folders when missing and mounts; unmounts in the destructor.
    CiFuseMount(std::string const& backing, std::string const& mountpoint);
    ~CiFuseMount();
    CiFuseMount(CiFuseMount const&) = delete;
    CiFuseMount& operator=(CiFuseMount const&) = delete;

    bool ok() const { return mounted_; }
    std::string const& reason() const { return reason_; }
    std::string const& path() const { return mountpoint_; }

private:
    std::string backing_;
    std::string mountpoint_;
    std::string log_;
    pid_t pid_ = -1;
    bool mounted_ = false;
    std::string reason_;
};

}  // namespace testsupport

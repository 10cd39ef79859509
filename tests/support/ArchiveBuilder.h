#pragma once
// Writes real archives with libarchive's writer, including hostile shapes
// (absolute and ".." names, escaping links, hard links that carry data).

#include <string>
#include <vector>

namespace testsupport {

struct ArchiveEntry {
    enum Kind { File, Dir, Symlink, Hardlink };
    Kind kind = File;
    std::string path;
    std::string data;    // File content; for a Hardlink with data (pax), its content
    std::string target;  // Symlink or Hardlink target as stored
    int mode = 0644;

    static ArchiveEntry file(std::string p, std::string d, int m = 0644) {
        ArchiveEntry e;
        e.kind = File;
        e.path = std::move(p);
        e.data = std::move(d);
        e.mode = m;
        return e;
    }
    static ArchiveEntry dir(std::string p, int m = 0755) {
        ArchiveEntry e;
        e.kind = Dir;
        e.path = std::move(p);
        e.mode = m;
        return e;
    }
    static ArchiveEntry symlink(std::string p, std::string t) {
        ArchiveEntry e;
        e.kind = Symlink;
        e.path = std::move(p);
        e.target = std::move(t);
        e.mode = 0777;
        return e;
    }
    static ArchiveEntry hardlink(std::string p, std::string t, std::string d = "") {
        ArchiveEntry e;
        e.kind = Hardlink;
        e.path = std::move(p);
        e.target = std::move(t);
        e.data = std::move(d);
        return e;
    }
};

enum class ArchiveFormat { Pax, Ustar, Gnutar, Zip };
enum class ArchiveFilter { None, Gzip, Xz, Zstd };

// One zstd frame holding `data`, with its checksum, streamed so that the
// window is not shrunk to the size; `window_log` 0 lets the level choose.
// Empty on failure.
std::string ZstdFrame(std::string const& data, int window_log = 0);

// Returns an empty string on success, else libarchive's error text.
std::string WriteArchive(std::string const& path, std::vector<ArchiveEntry> const& entries,
                         ArchiveFormat format = ArchiveFormat::Pax,
                         ArchiveFilter filter = ArchiveFilter::Gzip);

// A small client bundle: Contents/MacOS/korvane-ui (executable, content
// `ui`), Contents/Resources/INFO with the given build number, and a few
// more files. Written as a pax tar.gz.
std::vector<ArchiveEntry> ClientBundleEntries(int build,
                                              std::string const& ui = "#!/bin/sh\nexit 0\n");

// The INFO text for a build number.
std::string InfoText(int build, int major = 1, int minor = 0, int overlay = 1);

}  // namespace testsupport

#pragma once
// The bytes of the bench clients, taken from real files of this machine, so
// that the packages compress and inflate as a real client's do: machine code
// from Qt's and ICU's shared libraries, PNG icons, Qt's C++ headers and
// gettext catalogues. Each kind is one stream: the files of a fixed list of
// Debian packages, package by package, each package's files sorted by path.
// The same packages give the same bytes; a client larger than a stream takes
// the stream again from another offset, never noise.

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <string>
#include <vector>

namespace real_bytes {

enum class Kind { kCode, kImage, kText, kCatalog };
constexpr int kKinds = 4;

// Where each kind comes from; scripts/setup.sh installs these packages.
struct Origin {
    Kind kind;
    char const* package;
    char const* suffix;  // of the files taken; nullptr: ELF files
};
constexpr Origin kOrigins[] = {
    {Kind::kCode, "libqt5core5a", nullptr},      {Kind::kCode, "libqt5gui5", nullptr},
    {Kind::kCode, "libqt5widgets5", nullptr},    {Kind::kCode, "libqt5network5", nullptr},
    {Kind::kCode, "libqt5dbus5", nullptr},       {Kind::kCode, "libqt5xml5", nullptr},
    {Kind::kCode, "libqt5sql5", nullptr},        {Kind::kCode, "libqt5printsupport5", nullptr},
    {Kind::kCode, "libqt5concurrent5", nullptr}, {Kind::kCode, "libqt5test5", nullptr},
    {Kind::kCode, "libqt5designer5", nullptr},   {Kind::kCode, "libqt5help5", nullptr},
    {Kind::kCode, "libqt5webkit5", nullptr},     {Kind::kCode, "libicu72", nullptr},
    {Kind::kImage, "oxygen-icon-theme", ".png"}, {Kind::kImage, "adwaita-icon-theme", ".png"},
    {Kind::kText, "qtbase5-dev", ".h"},          {Kind::kCatalog, "iso-codes", ".mo"},
    {Kind::kCatalog, "libgtk-3-common", ".mo"},  {Kind::kCatalog, "coreutils", ".mo"},
    {Kind::kCatalog, "binutils-common", ".mo"},
};

// The packages of all kinds, for messages and the usage texts.
inline std::string Packages() {
    std::string all;
    for (Origin const& o : kOrigins) all += std::string(all.empty() ? "" : " ") + o.package;
    return all;
}

class Source {
public:
    // Reads the packages' file lists; exits with a message when a kind has
    // no bytes (a package missing, or its files excluded from the install).
    Source() {
        std::string missing;
        for (Origin const& o : kOrigins)
            if (!Add(o)) missing += std::string(" ") + o.package;
        for (Stream const& s : streams_)
            if (s.total == 0) missing += " (a kind without bytes)";
        if (missing.empty()) return;
        fprintf(stderr, "bench: the real client's bytes need%s; scripts/setup.sh installs them\n",
                missing.c_str());
        exit(1);  // NOLINT(concurrency-mt-unsafe): one thread
    }
    ~Source() {
        for (Stream& s : streams_)
            if (s.fd >= 0) close(s.fd);
    }
    Source(Source const&) = delete;
    Source& operator=(Source const&) = delete;

    uint64_t Size(Kind kind) const { return streams_[static_cast<int>(kind)].total; }

    // How many files and megabytes each kind draws from.
    std::string Summary() const {
        static char const* const kNames[kKinds] = {"machine code", "PNG", "headers", "catalogues"};
        std::string text;
        for (int k = 0; k < kKinds; ++k) {
            char line[96];
            snprintf(line, sizeof line, "%s%s %zu files %.0f MB", k ? ", " : "", kNames[k],
                     streams_[k].pieces.size(), static_cast<double>(streams_[k].total) / 1048576.0);
            text += line;
        }
        return text;
    }

    // The offset of the first file of the stream that starts at or after
    // `offset`, for the kinds whose generated files are small: each then
    // begins as a real one does (a PNG's signature, a catalogue's header).
    // Machine code is taken as it comes: a plug-in's slice would otherwise
    // skip the rest of a large library.
    uint64_t Start(Kind kind, uint64_t offset) const {
        if (kind == Kind::kCode) return offset;
        Stream const& s = streams_[static_cast<int>(kind)];
        uint64_t const pos = Pos(s, offset);
        auto const it =
            std::lower_bound(s.pieces.begin(), s.pieces.end(), pos,
                             [](Piece const& piece, uint64_t p) { return piece.start < p; });
        uint64_t const start = it == s.pieces.end() ? s.total : it->start;
        return offset + (start - pos);
    }

    // The n bytes of the kind's stream from `offset`. Past the stream's end
    // it starts over, each pass shifted by about a megabyte against the last,
    // so that a repeated file does not line up with the one it repeats.
    void Read(Kind kind, uint64_t offset, char* buf, size_t n) {
        Stream& s = streams_[static_cast<int>(kind)];
        while (n > 0) {
            uint64_t const in_pass = offset % s.total;
            uint64_t const pos = Pos(s, offset);
            auto const it =
                std::upper_bound(s.pieces.begin(), s.pieces.end(), pos,
                                 [](uint64_t p, Piece const& piece) { return p < piece.start; });
            Piece const& piece = *(it - 1);
            uint64_t const left = std::min(piece.start + piece.size - pos, s.total - in_pass);
            size_t const take = static_cast<size_t>(std::min<uint64_t>(n, left));
            if (s.open != &piece - s.pieces.data()) {
                if (s.fd >= 0) close(s.fd);
                s.fd = open(piece.path.c_str(), O_RDONLY | O_CLOEXEC);
                s.open = &piece - s.pieces.data();
            }
            auto const at = static_cast<off_t>(pos - piece.start);
            if (s.fd < 0 || pread(s.fd, buf, take, at) != static_cast<ssize_t>(take)) {
                fprintf(stderr, "bench: cannot read %s\n", piece.path.c_str());
                exit(1);  // NOLINT(concurrency-mt-unsafe): one thread
            }
            buf += take;
            n -= take;
            offset += take;
        }
    }

private:
    static constexpr uint64_t kShift = 1000003;  // a prime near a megabyte
    struct Piece {
        std::string path;
        uint64_t start = 0;
        uint64_t size = 0;
    };
    struct Stream {
        std::vector<Piece> pieces;
        uint64_t total = 0;
        int fd = -1;
        std::ptrdiff_t open = -1;  // the piece fd is of
    };

    // Where in the stream's files an offset of the endless stream falls.
    static uint64_t Pos(Stream const& s, uint64_t offset) {
        return (offset % s.total + offset / s.total * kShift) % s.total;
    }

    // dpkg's list of the package's files: <name>.list, or <name>:<arch>.list.
    static std::string ListOf(std::string const& package) {
        std::string const dir = "/var/lib/dpkg/info/";
        if (access((dir + package + ".list").c_str(), R_OK) == 0) return dir + package + ".list";
        for (char const* arch : {"amd64", "arm64", "i386", "armhf"}) {
            std::string path = dir + package + ":" + arch + ".list";
            if (access(path.c_str(), R_OK) == 0) return path;
        }
        return "";
    }

    static bool Takes(std::string const& path, char const* suffix) {
        if (suffix) {
            size_t const n = strlen(suffix);
            return path.size() > n && path.compare(path.size() - n, n, suffix) == 0;
        }
        char magic[4] = {};
        std::ifstream in(path, std::ios::binary);
        return in.read(magic, sizeof magic) && memcmp(magic,
                                                      "\x7f"
                                                      "ELF",
                                                      4) == 0;
    }

    // False when the package is not installed.
    bool Add(Origin const& o) {
        std::string const list_path = ListOf(o.package);
        if (list_path.empty()) return false;
        std::vector<std::string> paths;
        std::ifstream list(list_path);
        for (std::string path; std::getline(list, path);) paths.push_back(path);
        std::sort(paths.begin(), paths.end());
        Stream& s = streams_[static_cast<int>(o.kind)];
        for (std::string const& path : paths) {
            struct stat st {};
            if (lstat(path.c_str(), &st) != 0 || !S_ISREG(st.st_mode) || st.st_size == 0) continue;
            if (!Takes(path, o.suffix)) continue;
            auto const size = static_cast<uint64_t>(st.st_size);
            s.pieces.push_back({path, s.total, size});
            s.total += size;
        }
        return true;
    }

    Stream streams_[kKinds];
};

}  // namespace real_bytes

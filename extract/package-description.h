#pragma once
// What a package holds, as the launcher bundle's INFO describes it in a
// section beside [Version]:
//
//   [Package]
//   entries=6416        entries in package/tarnwick.pkv
//   bytes=272025436     sum of the sizes of its regular-file entries
//   size=160680363      size of tarnwick.pkv itself, in bytes
//   sha256=9f86d0...    SHA-256 of tarnwick.pkv, 64 lower-case hex digits
//
// With it the extraction knows its total before the first entry and reads
// the package once; without it, the entries are counted as before. The
// digest is optional (older packers wrote none); when given, a package that
// differs is refused before the running client is stopped.

#include <cstdint>
#include <functional>
#include <string>

struct archive_entry;

struct PackageDescription {
    uint64_t entries = 0;
    uint64_t bytes = 0;
    uint64_t size = 0;
    std::string sha256;  // lower-case hex; empty when the section names none
};

namespace packagedesc {

// The length of a leading UTF-8 byte order mark, as some editors write one
// before an INFO's first section: 3, or 0 when there is none.
inline size_t Utf8BomLength(char const* data, size_t size) {
    return size >= 3 && data[0] == '\xEF' && data[1] == '\xBB' && data[2] == '\xBF' ? 3 : 0;
}

// The section's text, as the packer writes it (ends with a newline); the
// sha256 line only when `d` has a digest.
std::string SectionText(PackageDescription const& d);

// The raw values of the [Package] section of an INI text ("" for a key it
// lacks); false when the text has no such section.
struct SectionValues {
    std::string entries, bytes, size, sha256;
};
bool FindSection(std::string const& ini_text, SectionValues* out);

// Checks the values as read from the section against the package file's
// actual size: all three numbers plain decimal, entries >= 1 and within
// the int range, size equal to `package_size`; `sha256` empty or 64 hex
// digits (upper case is taken as lower). False with `why` set when the
// description must be ignored.
bool Accept(std::string const& entries, std::string const& bytes, std::string const& size,
            std::string const& sha256, uint64_t package_size, PackageDescription* out,
            std::string* why);

// Sees each entry as it is read; false with `why` set stops the reading.
using EntryCheck = std::function<bool(struct archive_entry* entry, std::string* why)>;

// Reads the whole package as the extraction would (the gzip check
// included) and describes it; false with `error` set when the package
// cannot be read to its end, or when `check` refuses an entry.
bool Describe(std::string const& package_path, PackageDescription* out, std::string* error,
              EntryCheck const& check = {});

}  // namespace packagedesc

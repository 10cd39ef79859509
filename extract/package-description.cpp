#include "extract/package-description.h"

#include <archive_entry.h>
#include <sys/stat.h>

#include <climits>

#include "extract/package-source.h"

namespace packagedesc {
namespace {

// Digits only: no sign, no blanks, no hex; false on overflow.
bool ParseDecimal(std::string const& text, uint64_t* out) {
    if (text.empty() || text.size() > 20) return false;
    uint64_t v = 0;
    for (char c : text) {
        if (c < '0' || c > '9') return false;
        auto const digit = static_cast<uint64_t>(c - '0');
        if (v > (UINT64_MAX - digit) / 10) return false;
        v = v * 10 + digit;
    }
    *out = v;
    return true;
}

}  // namespace

std::string SectionText(PackageDescription const& d) {
    return "[Package]\nentries=" + std::to_string(d.entries) +
           "\nbytes=" + std::to_string(d.bytes) + "\nsize=" + std::to_string(d.size) + "\n";
}

bool Accept(std::string const& entries, std::string const& bytes, std::string const& size,
            uint64_t package_size, PackageDescription* out, std::string* why) {
    PackageDescription d;
    char const* const names[] = {"entries", "bytes", "size"};
    std::string const* const texts[] = {&entries, &bytes, &size};
    uint64_t* const values[] = {&d.entries, &d.bytes, &d.size};
    for (int i = 0; i < 3; ++i) {
        if (!ParseDecimal(*texts[i], values[i])) {
            *why = std::string("'") + names[i] + "' is not a decimal number: '" + *texts[i] + "'";
            return false;
        }
    }
    if (d.entries < 1 || d.entries > static_cast<uint64_t>(INT_MAX)) {
        *why = "'entries' is out of range: " + entries;
        return false;
    }
    if (d.size != package_size) {
        *why =
            "'size' is " + size + " but the package has " + std::to_string(package_size) + " bytes";
        return false;
    }
    *out = d;
    return true;
}

bool Describe(std::string const& package_path, PackageDescription* out, std::string* error,
              EntryCheck const& check) {
    struct stat st;
    if (stat(package_path.c_str(), &st) != 0 || !S_ISREG(st.st_mode)) {
        *error = "not a regular file";
        return false;
    }
    PackageSource source;
    if (!source.Open(package_path)) {
        *error = source.error();
        return false;
    }
    PackageDescription d;
    d.size = static_cast<uint64_t>(st.st_size);
    struct archive_entry* entry = nullptr;
    int r = ARCHIVE_OK;
    while ((r = archive_read_next_header(source.reader(), &entry)) == ARCHIVE_OK) {
        ++d.entries;
        if (check && !check(entry, error)) return false;
        if (archive_entry_filetype(entry) == AE_IFREG && archive_entry_size(entry) > 0)
            d.bytes += static_cast<uint64_t>(archive_entry_size(entry));
        if (archive_read_data_skip(source.reader()) != ARCHIVE_OK) {
            r = ARCHIVE_FATAL;
            break;
        }
    }
    if (r != ARCHIVE_EOF || !source.Finish()) {
        std::string const damage = source.Damage();
        *error = damage.empty() ? source.error() : damage;
        if (error->empty()) *error = "the package cannot be read to its end";
        return false;
    }
    *out = d;
    return true;
}

}  // namespace packagedesc

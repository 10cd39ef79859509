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

// 64 hex digits, in lower case on the way out.
bool ParseDigest(std::string const& text, std::string* out) {
    if (text.size() != 64) return false;
    std::string lower;
    for (char c : text) {
        if (c >= 'A' && c <= 'F') c = static_cast<char>(c - 'A' + 'a');
        if (!((c >= '0' && c <= '9') || (c >= 'a' && c <= 'f'))) return false;
        lower.push_back(c);
    }
    *out = lower;
    return true;
}

}  // namespace

std::string SectionText(PackageDescription const& d) {
    return "[Package]\nentries=" + std::to_string(d.entries) +
           "\nbytes=" + std::to_string(d.bytes) + "\nsize=" + std::to_string(d.size) + "\n" +
           (d.sha256.empty() ? "" : "sha256=" + d.sha256 + "\n");
}

bool FindSection(std::string const& ini_text, SectionValues* out) {
    auto const trim = [](std::string const& t) {
        size_t const b = t.find_first_not_of(" \t\r");
        if (b == std::string::npos) return std::string();
        return t.substr(b, t.find_last_not_of(" \t\r") - b + 1);
    };
    bool found = false;
    bool inside = false;
    size_t at = 0;
    while (at <= ini_text.size()) {
        size_t end = ini_text.find('\n', at);
        if (end == std::string::npos) end = ini_text.size();
        std::string const line = trim(ini_text.substr(at, end - at));
        at = end + 1;
        if (!line.empty() && line[0] == '[') {
            inside = line == "[Package]";
            found = found || inside;
            continue;
        }
        size_t const eq = line.find('=');
        if (!inside || eq == std::string::npos) continue;
        std::string const key = trim(line.substr(0, eq));
        std::string const value = trim(line.substr(eq + 1));
        if (key == "entries") out->entries = value;
        if (key == "bytes") out->bytes = value;
        if (key == "size") out->size = value;
        if (key == "sha256") out->sha256 = value;
    }
    return found;
}

bool Accept(std::string const& entries, std::string const& bytes, std::string const& size,
            std::string const& sha256, uint64_t package_size, PackageDescription* out,
            std::string* why) {
    PackageDescription d;
    char const* const names[] = {"entries", "bytes", "size"};
    std::string const* const texts[] = {&entries, &bytes, &size};
    uint64_t* const values[] = {&d.entries, &d.bytes, &d.size};
    for (int i = 0; i < 3; ++i) {
        if (texts[i]->empty()) {
            *why = std::string("'") + names[i] + "' is missing";
            return false;
        }
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
    if (!sha256.empty() && !ParseDigest(sha256, &d.sha256)) {
        *why = "'sha256' is not 64 hex digits: '" + sha256 + "'";
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

// Linux counterpart of the CoreServices path calls: resolve links in the
// parent components, then give every component the spelling its directory
// stores. On a case-sensitive volume that is the given spelling; on a
// case-insensitive one (vfat, ext4 casefold, a FUSE volume) a lookup of FOO
// succeeds for a file stored as foo, so the directory is asked.

#include <dirent.h>
#include <errno.h>
#include <limits.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <sys/vfs.h>
#include <unicode/uchar.h>
#include <unicode/unorm2.h>
#include <unicode/ustring.h>

#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "fs/file-op-platform.h"

namespace fsplatform {
namespace {

constexpr size_t kPathLimit = 4096;  // the platform's path limit, with the NUL

bool IsAscii(std::string const& s) {
    for (unsigned char c : s)
        if (c >= 0x80) return false;
    return true;
}

bool HasAsciiLetter(std::string const& s) {
    for (unsigned char c : s)
        if ((c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z')) return true;
    return false;
}

std::string SwapAsciiCase(std::string s) {
    for (char& c : s) {
        if (c >= 'a' && c <= 'z')
            c = static_cast<char>(c - 'a' + 'A');
        else if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
    }
    return s;
}

// Comparison key of a name on a case-insensitive volume: NFC, then full case
// folding, then NFC again. Empty for text that is not valid UTF-8.
std::u16string FoldKey(std::string const& name) {
    std::u16string out;
    if (IsAscii(name)) {
        // Folding ASCII gives its lower case; skip ICU for the common case.
        out.reserve(name.size());
        for (unsigned char c : name)
            out.push_back(static_cast<char16_t>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c));
        return out;
    }
    UErrorCode err = U_ZERO_ERROR;
    int32_t len = 0;
    u_strFromUTF8(nullptr, 0, &len, name.data(), static_cast<int32_t>(name.size()), &err);
    if (err != U_BUFFER_OVERFLOW_ERROR && U_FAILURE(err)) return out;
    std::u16string src(static_cast<size_t>(len), u'\0');
    err = U_ZERO_ERROR;
    u_strFromUTF8(reinterpret_cast<UChar*>(&src[0]), len, nullptr, name.data(),
                  static_cast<int32_t>(name.size()), &err);
    if (U_FAILURE(err)) return out;

    UNormalizer2 const* nfc = unorm2_getNFCInstance(&err);
    if (U_FAILURE(err)) return out;
    auto normalize = [nfc](std::u16string const& in, std::u16string& res) {
        UErrorCode e = U_ZERO_ERROR;
        res.assign(in.size() * 3 + 8, u'\0');
        int32_t n = unorm2_normalize(
            nfc, reinterpret_cast<UChar const*>(in.data()), static_cast<int32_t>(in.size()),
            reinterpret_cast<UChar*>(&res[0]), static_cast<int32_t>(res.size()), &e);
        if (U_FAILURE(e)) return false;
        res.resize(static_cast<size_t>(n));
        return true;
    };
    std::u16string composed;
    if (!normalize(src, composed)) return out;
    std::u16string folded(composed.size() * 3 + 8, u'\0');
    err = U_ZERO_ERROR;
    int32_t n =
        u_strFoldCase(reinterpret_cast<UChar*>(&folded[0]), static_cast<int32_t>(folded.size()),
                      reinterpret_cast<UChar const*>(composed.data()),
                      static_cast<int32_t>(composed.size()), U_FOLD_CASE_DEFAULT, &err);
    if (U_FAILURE(err)) return out;
    folded.resize(static_cast<size_t>(n));
    if (!normalize(folded, out)) out.clear();
    return out;
}

bool SameFile(struct stat const& a, struct stat const& b) {
    return a.st_dev == b.st_dev && a.st_ino == b.st_ino;
}

// The name under which `dir` stores the entry that `name` finds.
std::string StoredName(std::string const& dir, std::string const& name) {
    std::string const full = (dir == "/" ? "" : dir) + "/" + name;
    struct stat given;
    if (lstat(full.c_str(), &given) != 0) return name;

    if (IsAscii(name)) {
        // Without letters there is no other spelling. With letters, a lookup
        // in the other case tells a case-sensitive directory (nothing, or a
        // different file) from one that folds case.
        if (!HasAsciiLetter(name)) return name;
        struct stat other;
        std::string const swapped = (dir == "/" ? "" : dir) + "/" + SwapAsciiCase(name);
        if (lstat(swapped.c_str(), &other) != 0 || !SameFile(given, other)) return name;
    }

    DIR* d = opendir(dir.c_str());
    if (d == nullptr) return name;  // searchable but unlistable: keep what we have
    std::u16string const key = FoldKey(name);
    std::vector<std::string> candidates;
    bool exact = false;
    // NOLINTNEXTLINE(concurrency-mt-unsafe): no other thread reads this stream
    while (struct dirent* e = readdir(d)) {
        if (std::strcmp(e->d_name, name.c_str()) == 0) {
            exact = true;
            break;
        }
        if (!key.empty() && FoldKey(e->d_name) == key) candidates.emplace_back(e->d_name);
    }
    closedir(d);
    if (exact || candidates.empty()) return name;
    if (candidates.size() == 1) return candidates.front();
    for (auto const& c : candidates) {
        struct stat st;
        std::string const p = (dir == "/" ? "" : dir) + "/" + c;
        if (lstat(p.c_str(), &st) == 0 && SameFile(st, given)) return c;
    }
    return name;
}

// Respells every component of an absolute path that has no links, "." or
// ".." left in it.
std::string Respell(std::string const& resolved) {
    std::string out;
    size_t pos = 0;
    while (pos < resolved.size()) {
        while (pos < resolved.size() && resolved[pos] == '/') ++pos;
        if (pos >= resolved.size()) break;
        size_t end = resolved.find('/', pos);
        if (end == std::string::npos) end = resolved.size();
        std::string const comp = resolved.substr(pos, end - pos);
        out += "/" + StoredName(out.empty() ? "/" : out, comp);
        pos = end;
    }
    return out.empty() ? "/" : out;
}

int RealPath(std::string const& path, std::string& out) {
    std::unique_ptr<char, decltype(&free)> r(realpath(path.c_str(), nullptr), &free);
    if (!r) return -(errno != 0 ? errno : ENOENT);
    out = r.get();
    return 0;
}

}  // namespace

int StoredPath(std::string const& path, bool followFinal, std::string& out) {
    if (path.empty()) return -ENOENT;
    std::string resolved;
    std::string p = path;
    while (p.size() > 1 && p.back() == '/') p.pop_back();
    size_t const slash = p.rfind('/');
    std::string const base = slash == std::string::npos ? p : p.substr(slash + 1);

    if (followFinal || p == "/" || base == "." || base == "..") {
        int rc = RealPath(p, resolved);
        if (rc != 0) return rc;
    } else {
        // The last component stays as it is, link or not; only its parents
        // are resolved.
        std::string const parent =
            slash == std::string::npos ? "." : (slash == 0 ? "/" : p.substr(0, slash));
        int rc = RealPath(parent, resolved);
        if (rc != 0) return rc;
        std::string const full = (resolved == "/" ? "" : resolved) + "/" + base;
        struct stat st;
        if (lstat(full.c_str(), &st) != 0) return -errno;
        resolved = full;
    }
    std::string stored = Respell(resolved);
    if (stored.size() >= kPathLimit) return -ENAMETOOLONG;
    out.swap(stored);
    return 0;
}

char const* FsTypeNameForMagic(unsigned long magic) {
    struct Entry {
        unsigned long magic;
        char const* name;
    };
    // Network and FAT volumes carry the names macOS gives them; the rest
    // keep their Linux names.
    static Entry const kTable[] = {
        {0x6969UL, "nfs"},       {0x517BUL, "smbfs"},        {0xFF534D42UL, "smbfs"},
        {0xFE534D42UL, "smbfs"}, {0x4d44UL, "msdos"},        {0x2011BAB0UL, "exfat"},
        {0x01021994UL, "tmpfs"}, {0xEF53UL, "ext4"},         {0x9123683EUL, "btrfs"},
        {0x58465342UL, "xfs"},   {0x794c7630UL, "overlay"},  {0x65735546UL, "fuse"},
        {0x9fa0UL, "proc"},      {0x62656572UL, "sysfs"},    {0x482bUL, "hfs"},
        {0x5346544eUL, "ntfs"},  {0x9660UL, "cd9660"},       {0x15013346UL, "udf"},
        {0x858458f6UL, "ramfs"}, {0x73717368UL, "squashfs"}, {0x2fc12fc1UL, "zfs"},
        {0x1373UL, "devfs"},     {0x00c36400UL, "ceph"},     {0x6e667364UL, "nsfs"},
    };
    for (auto const& e : kTable)
        if (e.magic == magic) return e.name;
    return "";
}

int PlatformFsTypeName(std::string const& path, std::string& name) {
    struct statfs sfs;
    if (statfs(path.c_str(), &sfs) != 0) return -1;
    name = FsTypeNameForMagic(static_cast<unsigned long>(sfs.f_type) & 0xFFFFFFFFUL);
    return 0;
}

}  // namespace fsplatform

#include "pack/tree-scan.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <map>
#include <set>
#include <utility>

#include "pack/name-rules.h"
#include "utils/ErrnoText.h"

namespace pack {
namespace {

using korvane::utils::ErrnoText;

class Scan {
public:
    explicit Scan(std::vector<TreeEntry>* out) : out_(out) {}

    bool Folder(std::string const& name, std::string const& source, std::string* error) {
        DIR* d = opendir(source.c_str());
        if (!d) return Fail(source, "cannot read the folder: " + ErrnoText(errno), error);
        std::vector<std::string> names;
        int err = 0;
        for (;;) {
            errno = 0;
            dirent const* e = readdir(d);  // NOLINT(concurrency-mt-unsafe): one stream, one thread
            if (!e) {
                err = errno;
                break;
            }
            std::string const n = e->d_name;
            if (n != "." && n != "..") names.push_back(n);
        }
        closedir(d);
        if (err != 0) return Fail(source, "cannot read the folder: " + ErrnoText(err), error);
        std::sort(names.begin(), names.end());  // bytes, as unsigned char

        std::map<std::string, std::string> folded;  // one Mac name for each
        for (auto const& n : names) {
            std::string const path = source + "/" + n;
            std::string const problem = NameProblem(n);
            if (!problem.empty()) return Fail(path, problem, error);
            auto const seen = folded.emplace(FoldedName(n), n);
            if (!seen.second)
                return Fail(path,
                            "a Mac would take this name and '" + seen.first->second +
                                "' for the same (letter case or Unicode normalisation)",
                            error);
        }
        for (auto const& n : names)
            if (!Add(name + "/" + n, source + "/" + n, name, error)) return false;
        return true;
    }

    bool Add(std::string const& name, std::string const& source, std::string const& dir,
             std::string* error) {
        struct stat st;
        if (lstat(source.c_str(), &st) != 0)
            return Fail(source, "cannot read: " + ErrnoText(errno), error);
        TreeEntry e;
        e.name = name;
        e.source = source;
        e.mode = st.st_mode;
        e.mtime = static_cast<int64_t>(st.st_mtime);
        if (S_ISDIR(st.st_mode)) {
            out_->push_back(e);
            return Folder(name, source, error);
        }
        if (S_ISLNK(st.st_mode)) {
            if (!ReadLink(source, static_cast<size_t>(st.st_size), &e.target, error)) return false;
            if (!e.target.empty() && e.target[0] == '/')
                return Fail(source, "the symbolic link is absolute ('" + e.target + "')", error);
            if (!TargetStaysInside(dir, e.target))
                return Fail(source,
                            "the symbolic link points out of the bundle ('" + e.target + "')",
                            error);
            out_->push_back(e);
            return true;
        }
        if (!S_ISREG(st.st_mode))
            return Fail(source,
                        std::string("is a ") +
                            (S_ISSOCK(st.st_mode)   ? "socket"
                             : S_ISFIFO(st.st_mode) ? "FIFO"
                                                    : "device node") +
                            ": a package holds only folders, files and links",
                        error);
        int const fd = open(source.c_str(), O_RDONLY | O_NOFOLLOW | O_CLOEXEC);
        if (fd < 0) return Fail(source, "cannot read the file: " + ErrnoText(errno), error);
        close(fd);
        if (st.st_nlink > 1) {
            auto const first = inodes_.emplace(std::make_pair(st.st_dev, st.st_ino), name);
            if (!first.second) e.first = first.first->second;
        }
        e.size = static_cast<uint64_t>(st.st_size);
        out_->push_back(e);
        return true;
    }

private:
    static bool Fail(std::string const& path, std::string const& why, std::string* error) {
        *error = path + ": " + why;
        return false;
    }

    static bool ReadLink(std::string const& source, size_t size, std::string* target,
                         std::string* error) {
        // Some file systems give links no size; a full buffer means a cut target.
        std::string buf(std::max<size_t>(size, 4096) + 1, '\0');
        ssize_t const n = readlink(source.c_str(), &buf[0], buf.size());
        if (n < 0) return Fail(source, "cannot read the link: " + ErrnoText(errno), error);
        if (static_cast<size_t>(n) == buf.size())
            return Fail(source, "the link changed while it was read", error);
        target->assign(buf, 0, static_cast<size_t>(n));
        return true;
    }

    std::vector<TreeEntry>* out_;
    std::map<std::pair<dev_t, ino_t>, std::string> inodes_;
};

}  // namespace

bool ScanTree(std::string const& bundle, std::vector<TreeEntry>* out, std::string* error) {
    out->clear();
    Scan scan(out);
    return scan.Add("Contents", bundle + "/Contents", "", error);
}

}  // namespace pack

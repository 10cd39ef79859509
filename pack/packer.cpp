#include "pack/packer.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <thread>
#include <vector>

#include "extract/sha256.h"

#include "pack/client-info.h"
#include "pack/package-check.h"
#include "pack/tree-scan.h"
#include "utils/ErrnoText.h"

namespace pack {
namespace {

using korvane::utils::ErrnoText;

Hooks g_hooks;

bool Fail(std::string const& path, std::string const& why, std::string* error) {
    *error = path + ": " + why;
    return false;
}

bool IsFolder(std::string const& path) {
    struct stat st;
    return stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

std::string RealPath(std::string const& path) {
    char buf[PATH_MAX];
    return realpath(path.c_str(), buf) ? std::string(buf) : path;
}

// What the launcher needs of the client before it is worth packing.
bool CheckPaths(Options const& o, std::string* error) {
    if (!IsFolder(o.client)) return Fail(o.client, "not a folder", error);
    struct stat st;
    std::string const contents = o.client + "/Contents";
    if (lstat(contents.c_str(), &st) != 0 || !S_ISDIR(st.st_mode))
        return Fail(o.client, "has no Contents folder", error);
    // Without it the launcher would roll back every install.
    std::string const ui = contents + "/MacOS/korvane-ui";
    if (stat(ui.c_str(), &st) != 0 || !S_ISREG(st.st_mode))
        return Fail(ui, "the client's executable is missing", error);
    if ((st.st_mode & S_IXUSR) == 0)
        return Fail(ui, "the client's executable is not executable", error);
    if (!IsFolder(o.resources)) return Fail(o.resources, "not a folder", error);
    std::string const app = RealPath(o.client), res = RealPath(o.resources);
    if (res == app || res.compare(0, app.size() + 1, app + "/") == 0)
        return Fail(o.resources, "lies inside the client bundle " + o.client, error);
    return true;
}

// A file written under a temporary name beside its target; removed unless
// it took its name.
class TempFile {
public:
    ~TempFile() {
        if (fd_ >= 0) close(fd_);
        if (!path_.empty()) unlink(path_.c_str());
    }
    bool Create(std::string const& dir, std::string const& name, std::string* error) {
        std::string pattern = dir + "/." + name + ".XXXXXX";
        fd_ = mkstemp(&pattern[0]);
        if (fd_ < 0) return Fail(dir, "cannot create a file: " + ErrnoText(errno), error);
        path_ = pattern;
        mode_t const mask = umask(0);
        umask(mask);
        return fchmod(fd_, 0666 & ~mask) == 0 || Fail(path_, ErrnoText(errno), error);
    }
    // Flushes and closes the file.
    bool Finish(std::string* error) {
        bool const ok = fsync(fd_) == 0;
        int const err = errno;
        bool const closed = close(fd_) == 0;
        fd_ = -1;
        return (ok && closed) || Fail(path_, "cannot write: " + ErrnoText(ok ? errno : err), error);
    }
    void Kept() { path_.clear(); }
    int fd() const { return fd_; }
    std::string const& path() const { return path_; }

private:
    int fd_ = -1;
    std::string path_;
};

std::string FolderOf(std::string const& path) { return path.substr(0, path.rfind('/')); }

// Puts the package, then the INFO, in place. A failure of the second
// rename brings the old package back.
bool Install(TempFile& package, std::string const& package_path, TempFile& info,
             std::string const& info_path, std::string* error) {
    std::string const old = package.path() + ".old";
    bool const kept_old = link(package_path.c_str(), old.c_str()) == 0;
    if (rename(package.path().c_str(), package_path.c_str()) != 0) {
        if (kept_old) unlink(old.c_str());
        return Fail(package_path, "cannot rename the package: " + ErrnoText(errno), error);
    }
    package.Kept();
    // The package's new name reaches the disk before the INFO's.
    int const dir = open(FolderOf(package_path).c_str(), O_RDONLY | O_CLOEXEC);
    if (dir >= 0) {
        fsync(dir);
        close(dir);
    }
    if (rename(info.path().c_str(), info_path.c_str()) != 0) {
        int const err = errno;
        if (kept_old)
            rename(old.c_str(), package_path.c_str());
        else
            unlink(package_path.c_str());
        return Fail(info_path, "cannot rename the INFO: " + ErrnoText(err), error);
    }
    info.Kept();
    if (kept_old) unlink(old.c_str());
    return true;
}

// The package folder, created if missing and removed again unless kept.
class PackageFolder {
public:
    explicit PackageFolder(std::string path) : path_(std::move(path)) {}
    ~PackageFolder() {
        if (created_ && !kept_) rmdir(path_.c_str());
    }
    bool Make(std::string* error) {
        if (mkdir(path_.c_str(), 0777) == 0) {
            created_ = true;
            return true;
        }
        return (errno == EEXIST && IsFolder(path_)) ||
               Fail(path_, "cannot make the package folder: " + ErrnoText(errno), error);
    }
    void Keep() { kept_ = true; }

private:
    std::string path_;
    bool created_ = false;
    bool kept_ = false;
};

}  // namespace

void SetHooks(Hooks hooks) { g_hooks = std::move(hooks); }

bool Run(Options const& o, std::string* error) {
    std::string version;
    std::string const client_info = o.client + "/Contents/Resources/INFO";
    std::vector<TreeEntry> entries;
    if (!CheckPaths(o, error) || !ReadClientInfo(client_info, &version, error) ||
        !ScanTree(o.client, &entries, error))
        return false;
    if (o.clamp_mtime >= 0)
        for (auto& e : entries)
            if (e.mtime > o.clamp_mtime) e.mtime = o.clamp_mtime;

    std::string const folder = o.resources + "/package";
    std::string const package_path = folder + "/tarnwick.pkv";
    std::string const info_path = o.resources + "/INFO";
    PackageFolder package_folder(folder);
    TempFile package, info;
    if (!package_folder.Make(error) || !package.Create(folder, "tarnwick.pkv", error) ||
        !WritePackage(entries, o.format, o.level, package.fd(), error) || !package.Finish(error))
        return false;
    if (g_hooks.before_check) g_hooks.before_check(package.path());

    // The digest is taken beside the read-back, from the same bytes.
    std::string digest, digest_error;
    bool hashed = false;
    std::thread hasher([&] { hashed = Sha256File(package.path(), &digest, &digest_error); });
    PackageDescription d;
    bool const read_back = ReadBack(package.path(), entries, o.format, &d, error);
    hasher.join();
    if (!read_back) return false;
    if (!hashed) return Fail(package.path(), "cannot take its SHA-256: " + digest_error, error);
    d.sha256 = digest;
    std::string const text = InfoText(version, d);
    if (!info.Create(o.resources, "INFO", error)) return false;
    if (write(info.fd(), text.data(), text.size()) != static_cast<ssize_t>(text.size()))
        return Fail(info.path(), "cannot write: " + ErrnoText(errno), error);
    if (!info.Finish(error) || !CheckInfo(info.path(), client_info, d, error) ||
        !Install(package, package_path, info, info_path, error))
        return false;
    package_folder.Keep();
    return true;
}

}  // namespace pack

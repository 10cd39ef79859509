#include "tests/support/TestSupport.h"

#include <dirent.h>
#include <fcntl.h>
#include <grp.h>
#include <sys/mount.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <sstream>
#include <vector>

namespace testsupport {

TempDir::TempDir(std::string const& prefix) {
    char const* base = getenv("TMPDIR");
    std::string tmpl = std::string(base && *base ? base : "/tmp") + "/" + prefix + "-XXXXXX";
    std::vector<char> buf(tmpl.begin(), tmpl.end());
    buf.push_back('\0');
    if (mkdtemp(buf.data()) == nullptr) abort();
    path_ = buf.data();
}

TempDir::~TempDir() { RemoveTree(path_); }

ScopedEnv::ScopedEnv(char const* name, char const* value) : name_(name) {
    char const* old = getenv(name);
    had_ = old != nullptr;
    if (had_) old_ = old;
    if (value)
        setenv(name, value, 1);
    else
        unsetenv(name);
}

ScopedEnv::~ScopedEnv() {
    if (had_)
        setenv(name_.c_str(), old_.c_str(), 1);
    else
        unsetenv(name_.c_str());
}

TmpfsMount::TmpfsMount(std::string const& dir, std::string const& size) : dir_(dir) {
    MakeDirs(dir);
    if (!IsRoot()) {
        reason_ = "not root: cannot mount tmpfs";
        return;
    }
    std::string opts = "size=" + size + ",mode=0755";
    if (mount("tmpfs", dir.c_str(), "tmpfs", 0, opts.c_str()) != 0) {
        reason_ = std::string("mount tmpfs failed: ") + strerror(errno);
        return;
    }
    ok_ = true;
}

TmpfsMount::~TmpfsMount() {
    if (ok_ && umount2(dir_.c_str(), 0) != 0) umount2(dir_.c_str(), MNT_DETACH);
}

bool WriteFile(std::string const& path, std::string const& content, mode_t mode) {
    int fd = open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, mode);
    if (fd < 0) return false;
    size_t off = 0;
    while (off < content.size()) {
        ssize_t n = write(fd, content.data() + off, content.size() - off);
        if (n <= 0) {
            close(fd);
            return false;
        }
        off += static_cast<size_t>(n);
    }
    fchmod(fd, mode);
    return close(fd) == 0;
}

std::string ReadFile(std::string const& path) {
    // O_NONBLOCK and regular files only: the tests plant FIFOs where the
    // launcher and the client expect files, and a blocking open of one would
    // wait for a writer that never comes.
    int const fd = open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) return "";
    std::string text;
    struct stat st;
    if (fstat(fd, &st) == 0 && S_ISREG(st.st_mode)) {
        char buf[65536];
        for (;;) {
            ssize_t const n = read(fd, buf, sizeof buf);
            if (n < 0 && errno == EINTR) continue;
            if (n <= 0) break;
            text.append(buf, static_cast<size_t>(n));
        }
    }
    close(fd);
    return text;
}

bool MakeDirs(std::string const& path) {
    if (path.empty()) return false;
    for (size_t pos = 1;; ++pos) {
        pos = path.find('/', pos);
        std::string part = path.substr(0, pos);
        if (mkdir(part.c_str(), 0755) != 0 && errno != EEXIST) return false;
        if (pos == std::string::npos) break;
    }
    struct stat st;
    return stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

bool PathExists(std::string const& path) {
    struct stat st;
    return lstat(path.c_str(), &st) == 0;
}

void RemoveTree(std::string const& path) {
    struct stat st;
    if (lstat(path.c_str(), &st) != 0) return;
    if (S_ISDIR(st.st_mode)) {
        chmod(path.c_str(), 0755);  // tests make folders unreadable on purpose
        if (DIR* d = opendir(path.c_str())) {
            std::vector<std::string> names;
            while (dirent* e = readdir(d)) {
                if (strcmp(e->d_name, ".") != 0 && strcmp(e->d_name, "..") != 0)
                    names.push_back(e->d_name);
            }
            closedir(d);
            for (auto const& n : names) RemoveTree(path + "/" + n);
        }
        if (rmdir(path.c_str()) != 0 && errno == EBUSY) {
            umount2(path.c_str(), MNT_DETACH);
            rmdir(path.c_str());
        }
    } else {
        unlink(path.c_str());
    }
}

static void ListInto(std::string const& root, std::string const& rel,
                     std::vector<std::string>& out) {
    DIR* d = opendir((root + (rel.empty() ? "" : "/" + rel)).c_str());
    if (!d) return;
    std::vector<std::string> names;
    while (dirent* e = readdir(d)) {
        if (strcmp(e->d_name, ".") != 0 && strcmp(e->d_name, "..") != 0) names.push_back(e->d_name);
    }
    closedir(d);
    for (auto const& n : names) {
        std::string r = rel.empty() ? n : rel + "/" + n;
        struct stat st;
        if (lstat((root + "/" + r).c_str(), &st) == 0 && S_ISDIR(st.st_mode)) {
            out.push_back(r + "/");
            ListInto(root, r, out);
        } else {
            out.push_back(r);
        }
    }
}

std::string ListTree(std::string const& root) {
    std::vector<std::string> all;
    ListInto(root, "", all);
    std::sort(all.begin(), all.end());
    std::string s;
    for (auto const& p : all) s += p + "\n";
    return s;
}

std::string Sha256Sum(std::string const& path) {
    std::string quoted = "'";
    for (char c : path) quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
    FILE* const p = popen(("sha256sum -b -- " + quoted + "'").c_str(), "r");
    if (p == nullptr) return "";
    char line[128] = {};
    bool const read = fgets(line, sizeof line, p) != nullptr;
    // The e2e tests' reaper may take the child's status before pclose does:
    // the line itself, a digest then a blank, tells success.
    pclose(p);
    if (!read || std::strlen(line) < 65 || line[64] != ' ') return "";
    for (int i = 0; i < 64; ++i)
        if (!std::isxdigit(static_cast<unsigned char>(line[i]))) return "";
    return std::string(line, 64);
}

std::string TreeDigest(std::string const& root) {
    struct stat st;
    if (lstat(root.c_str(), &st) != 0) return "<absent>";
    std::ostringstream out;
    std::istringstream names(testsupport::ListTree(root));
    std::string rel;
    while (std::getline(names, rel)) {
        std::string const path =
            root + "/" + (rel.back() == '/' ? rel.substr(0, rel.size() - 1) : rel);
        if (lstat(path.c_str(), &st) != 0) {
            out << rel << " vanished\n";
            continue;
        }
        out << rel << " " << std::oct << (st.st_mode & 07777) << std::dec;
        if (S_ISLNK(st.st_mode)) {
            char target[4096];
            ssize_t n = readlink(path.c_str(), target, sizeof target);
            out << " -> " << std::string(target, n > 0 ? static_cast<size_t>(n) : 0);
        } else if (S_ISREG(st.st_mode)) {
            // Size and FNV-1a of the content: as exact, and readable in a diff.
            std::string const data = testsupport::ReadFile(path);
            uint64_t h = 1469598103934665603ULL;
            for (unsigned char c : data) h = (h ^ c) * 1099511628211ULL;
            out << " " << data.size() << " bytes " << std::hex << h << std::dec;
        }
        out << "\n";
    }
    return out.str();
}

bool DropToUser() {
    if (setgroups(0, nullptr) != 0 && IsRoot()) return false;
    return setgid(kGroupId) == 0 && setuid(kUserId) == 0;
}

namespace {
// Applies `fn` to every entry below and including `path`, links not followed.
bool ForTree(std::string const& path, bool (*fn)(std::string const&, struct stat const&)) {
    struct stat st;
    if (lstat(path.c_str(), &st) != 0) return false;
    bool ok = true;
    if (S_ISDIR(st.st_mode)) {
        if (DIR* d = opendir(path.c_str())) {
            while (dirent* e = readdir(d)) {
                if (strcmp(e->d_name, ".") != 0 && strcmp(e->d_name, "..") != 0)
                    ok = ForTree(path + "/" + e->d_name, fn) && ok;
            }
            closedir(d);
        }
    }
    return fn(path, st) && ok;
}
}  // namespace

bool GiveToUser(std::string const& path) {
    return ForTree(path, [](std::string const& p, struct stat const&) {
        return lchown(p.c_str(), kUserId, kGroupId) == 0;
    });
}

bool OpenToOthers(std::string const& dir) { return chmod(dir.c_str(), 0755) == 0; }

bool SealForUser(std::string const& path) {
    return ForTree(path, [](std::string const& p, struct stat const& st) {
        if (S_ISLNK(st.st_mode)) return lchown(p.c_str(), 0, 0) == 0;
        return lchown(p.c_str(), 0, 0) == 0 && chmod(p.c_str(), st.st_mode & 07555) == 0;
    });
}

int RunAsNobody(std::function<int()> const& fn) {
    pid_t pid = fork();
    if (pid < 0) return -1;
    if (pid == 0) {
        if (!DropToUser()) _exit(125);
        _exit(fn());
    }
    int status = 0;
    while (waitpid(pid, &status, 0) < 0 && errno == EINTR) {
    }
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

bool IsRoot() { return geteuid() == 0; }

}  // namespace testsupport

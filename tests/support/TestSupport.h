#pragma once
// Helpers shared by the test suites: private temporary folders and HOME,
// small file utilities, tmpfs mounts and running a function as another user.

#include <sys/types.h>

#include <functional>
#include <string>

namespace testsupport {

// A fresh folder under $TMPDIR (or /tmp), removed with everything in it.
class TempDir {
public:
    explicit TempDir(std::string const& prefix = "korvane-test");
    ~TempDir();
    TempDir(TempDir const&) = delete;
    TempDir& operator=(TempDir const&) = delete;
    std::string const& path() const { return path_; }
    std::string operator/(std::string const& rel) const { return path_ + "/" + rel; }

private:
    std::string path_;
};

// Sets an environment variable (or unsets it with nullptr) and restores it.
class ScopedEnv {
public:
    ScopedEnv(char const* name, char const* value);
    ~ScopedEnv();
    ScopedEnv(ScopedEnv const&) = delete;
    ScopedEnv& operator=(ScopedEnv const&) = delete;

private:
    std::string name_;
    std::string old_;
    bool had_;
};

// A tmpfs of the given size mounted on `dir` (created if missing) and
// unmounted in the destructor. ok() is false when mounting is impossible
// (not root, no mount namespace rights); reason() says why.
class TmpfsMount {
public:
    TmpfsMount(std::string const& dir, std::string const& size);
    ~TmpfsMount();
    TmpfsMount(TmpfsMount const&) = delete;
    TmpfsMount& operator=(TmpfsMount const&) = delete;
    bool ok() const { return ok_; }
    std::string const& reason() const { return reason_; }

private:
    std::string dir_;
    bool ok_ = false;
    std::string reason_;
};

bool WriteFile(std::string const& path, std::string const& content, mode_t mode = 0644);
std::string ReadFile(std::string const& path);  // "" when unreadable
bool MakeDirs(std::string const& path);
bool PathExists(std::string const& path);  // lstat succeeds
void RemoveTree(std::string const& path);  // best effort, never follows links
// All paths below root (relative, sorted), folders with a trailing '/'.
std::string ListTree(std::string const& root);
// Exit status of `fn` run in a forked child as uid/gid 65534 (nobody);
// -1 when the child could not be started. fn returns the exit code.
int RunAsNobody(std::function<int()> const& fn);
bool IsRoot();

}  // namespace testsupport

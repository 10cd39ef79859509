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
std::string ReadFile(std::string const& path);  // "" when unreadable or not a regular file
bool MakeDirs(std::string const& path);
bool PathExists(std::string const& path);  // lstat succeeds
void RemoveTree(std::string const& path);  // best effort, never follows links
// All paths below root (relative, sorted), folders with a trailing '/'.
std::string ListTree(std::string const& root);
// Paths, kinds, permission bits, file contents and link targets of a tree:
// equal digests mean byte for byte the same tree.
std::string TreeDigest(std::string const& root);
// A file's SHA-256 in lower-case hex as coreutils' sha256sum gives it, so
// that no digest a test compares with comes from the code under test; ""
// when it cannot be had.
std::string Sha256Sum(std::string const& path);
// The normal user the launcher runs as in tests: nobody, with no rights
// beyond its own files.
constexpr uid_t kUserId = 65534;
constexpr gid_t kGroupId = 65534;
// In a forked child only: becomes that user with no supplementary groups.
bool DropToUser();
// Hands a tree to that user (never following links), as a user's own files.
bool GiveToUser(std::string const& path);
// Makes a folder (a TempDir) passable and readable for others, so that the
// user reaches what the test builds below it.
bool OpenToOthers(std::string const& dir);
// Leaves a tree to root and takes every write bit away, as an installed
// application bundle is to its users.
bool SealForUser(std::string const& path);
// Exit status of `fn` run in a forked child as that user;
// -1 when the child could not be started. fn returns the exit code.
int RunAsNobody(std::function<int()> const& fn);
bool IsRoot();

}  // namespace testsupport

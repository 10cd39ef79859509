// Creating, copying, renaming and removing on one volume; temporary files and
// attribute setters.

#include <errno.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <random>
#include <string>

#include "fs/file-op.h"
#include "tests/fs/FsTestUtil.h"

using testsupport::MakeDirs;
using testsupport::PathExists;
using testsupport::ReadFile;
using testsupport::TempDir;

TEST(MKDir, ExistingAndRefusedPaths) {
    fstest::LogCapture log;
    TempDir tmp;
    ASSERT_TRUE(fstest::Put(tmp / "file", "x"));
    ASSERT_TRUE(MakeDirs(tmp / "dir"));
    ASSERT_EQ(0, symlink("dir", (tmp / "dirlink").c_str()));
    for (bool recursive : {false, true}) {
        EXPECT_EQ(-1, FSMKDir("", recursive));
        EXPECT_EQ(0, FSMKDir(tmp / "dir", recursive));
        EXPECT_EQ(-1, FSMKDir(tmp / "file", recursive));
        // The link is examined itself, never its target.
        EXPECT_EQ(-1, FSMKDir(tmp / "dirlink", recursive));
    }
    EXPECT_TRUE(log.has("FSMKDir: Create a folder but local file system is not directory '" +
                        (tmp / "dirlink") + "' (3)\n"));
    EXPECT_TRUE(fstest::IsLink(tmp / "dirlink"));
}

TEST(MKDir, SingleLevelFailureKeepsErrno) {
    fstest::LogCapture log;
    TempDir tmp;
    errno = 0;
    EXPECT_EQ(-2, FSMKDir(tmp / "a/b", false));
    EXPECT_EQ(ENOENT, errno);
    EXPECT_TRUE(log.has("path = " + (tmp / "a/b") + " errno : No such file or directory\n"));
    EXPECT_EQ(0, FSMKDir(tmp / "a", false));
    EXPECT_EQ(0, FSMKDir(tmp / "a/b", false));
    // One level below a file: its information can't be read.
    ASSERT_TRUE(fstest::Put(tmp / "f", "x"));
    EXPECT_EQ(-1, FSMKDir(tmp / "f/g", false));
    EXPECT_TRUE(log.has("FSMKDir: Failed to to file info '" + (tmp / "f/g") + "'\n"));
}

TEST(MKDir, RecursiveCreatesEveryLevel) {
    fstest::LogCapture log;
    TempDir tmp;
    EXPECT_EQ(0, FSMKDir(tmp / "a/b//c/", true));
    struct stat st;
    EXPECT_EQ(0, stat((tmp / "a/b/c").c_str(), &st));
    EXPECT_TRUE(S_ISDIR(st.st_mode));

    // A middle component that is a file: an info line names it, then -2.
    ASSERT_TRUE(fstest::Put(tmp / "f", "x"));
    errno = 0;
    EXPECT_EQ(-2, FSMKDir(tmp / "f/g/h", true));
    EXPECT_EQ(ENOTDIR, errno);
    EXPECT_TRUE(log.has("[INFO] file-op(") && log.has("FSMKDirP: path: " + (tmp / "f") +
                                                      " is symbolic link pointed to folder\n"));
    EXPECT_TRUE(log.has("path = " + (tmp / "f/g/h") + " errno : Not a directory\n"));

    // A link to a folder in the middle is followed.
    ASSERT_EQ(0, symlink("a", (tmp / "la").c_str()));
    EXPECT_EQ(0, FSMKDir(tmp / "la/x/y", true));
    EXPECT_TRUE(PathExists(tmp / "a/x/y"));
}

TEST(MKDir, FromRootLevelByLevel) {
    fstest::LogCapture log;
    TempDir tmp;
    std::string const root = tmp / "a";
    ASSERT_TRUE(MakeDirs(root));
    EXPECT_EQ(0, FSMKDirFromRoot(root + "/b/c", root));
    EXPECT_TRUE(PathExists(root + "/b/c"));
    std::string const text = log.text();
    size_t const first = text.find("FSMKDirFromRoot: create /b\n");
    size_t const second = text.find("FSMKDirFromRoot: create /b/c\n");
    EXPECT_NE(std::string::npos, first);
    EXPECT_NE(std::string::npos, second);
    EXPECT_LT(first, second);

    EXPECT_EQ(0, FSMKDirFromRoot(root, root));
    EXPECT_EQ(-1, FSMKDirFromRoot(tmp / "ab", root));
    EXPECT_TRUE(
        log.has("root '" + root + "' is not a parent folder of target '" + (tmp / "ab") + "'\n"));
    EXPECT_EQ(-1, FSMKDirFromRoot("/a", root));
    EXPECT_TRUE(
        log.has("Giving a root '" + root + "' whose length is larger then target's '/a'.\n"));
    EXPECT_FALSE(PathExists(tmp / "ab"));
}

TEST(Copy, ModesContentAndSourceRemoval) {
    fstest::LogCapture log;
    TempDir tmp;
    std::string big(100000, '\0');
    std::mt19937 rng(7);
    for (char& c : big) c = static_cast<char>(rng());
    ASSERT_TRUE(fstest::Put(tmp / "src", big, 0750));
    mode_t const mask = umask(022);

    EXPECT_EQ(0, FSCopy(tmp / "src", tmp / "plain", false, false));
    EXPECT_EQ(big, ReadFile(tmp / "plain"));
    EXPECT_EQ(0644u, fstest::ModeOf(tmp / "plain"));

    EXPECT_EQ(0, FSCopy(tmp / "src", tmp / "kept", false, true));
    EXPECT_EQ(0750u, fstest::ModeOf(tmp / "kept"));

    // An existing destination keeps its mode and is truncated.
    ASSERT_TRUE(fstest::Put(tmp / "existing", std::string(200000, 'z'), 0600));
    EXPECT_EQ(0, FSCopy(tmp / "src", tmp / "existing", false, false));
    EXPECT_EQ(big, ReadFile(tmp / "existing"));
    EXPECT_EQ(0600u, fstest::ModeOf(tmp / "existing"));

    EXPECT_EQ(0, FSCopy(tmp / "existing", tmp / "moved", true, false));
    EXPECT_FALSE(PathExists(tmp / "existing"));
    EXPECT_EQ(big, ReadFile(tmp / "moved"));
    umask(mask);

    EXPECT_EQ(-1, FSCopy(tmp / "none", tmp / "x", false, false));
    EXPECT_TRUE(log.has("CopyFile: open(" + (tmp / "none") + "): No such file or directory (2)\n"));
    EXPECT_FALSE(PathExists(tmp / "x"));
    EXPECT_EQ(-1, FSCopy(tmp / "src", tmp / "no/dir/x", false, false));
    EXPECT_TRUE(
        log.has("CopyFile: open(" + (tmp / "no/dir/x") + "): No such file or directory (2)\n"));
}

TEST(Copy, RefusesItselfAndNonRegularSources) {
    fstest::LogCapture log;
    TempDir tmp;
    ASSERT_TRUE(fstest::Put(tmp / "f", "precious"));
    ASSERT_EQ(0, symlink("f", (tmp / "alias").c_str()));
    EXPECT_EQ(-1, FSCopy(tmp / "f", tmp / "f", false, false));
    EXPECT_EQ(-1, FSCopy(tmp / "f", tmp / "alias", true, false));
    EXPECT_EQ("precious", ReadFile(tmp / "f"));

    // A FIFO without a writer must neither hang the copy nor be copied.
    ASSERT_EQ(0, mkfifo((tmp / "fifo").c_str(), 0600));
    EXPECT_EQ(-1, FSCopy(tmp / "fifo", tmp / "out", false, false));
    EXPECT_EQ(-1, FSCopy(tmp.path(), tmp / "out", false, false));
    EXPECT_FALSE(PathExists(tmp / "out"));
    EXPECT_TRUE(log.has("CopyFile: '" + (tmp / "fifo") + "' is not a regular file\n"));
}

TEST(Rename, CodesOnOneVolume) {
    TempDir tmp;
    ASSERT_TRUE(fstest::Put(tmp / "a", "A"));
    EXPECT_EQ(-1, FSRename("", tmp / "b", false));
    EXPECT_EQ(-1, FSRename(tmp / "a", "", false));
    EXPECT_EQ(-2, FSRename(tmp / "none", tmp / "b", false));
    EXPECT_FALSE(PathExists(tmp / "b"));
    EXPECT_EQ(0, FSRename(tmp / "a", tmp / "b", true));
    EXPECT_EQ("A", ReadFile(tmp / "b"));
    EXPECT_EQ(-100, FSRename(tmp / "b", tmp / std::string(300, 'n'), false));

    ASSERT_TRUE(fstest::Put(tmp / "full/x", "x"));
    ASSERT_TRUE(MakeDirs(tmp / "d"));
    EXPECT_EQ(-3, FSRename(tmp / "d", tmp / "full", false));
    EXPECT_EQ("x", ReadFile(tmp / "full/x"));
}

TEST(Remove, TreesLinksAndAbsentPaths) {
    TempDir tmp;
    EXPECT_EQ(-1, FSRemove(""));
    EXPECT_EQ(0, FSRemove(tmp / "none"));
    ASSERT_TRUE(fstest::Put(tmp / "keep/inner", "x"));
    ASSERT_TRUE(fstest::Put(tmp / "tree/a/b/c", "x"));
    ASSERT_TRUE(MakeDirs(tmp / "tree/empty"));
    ASSERT_EQ(0, symlink("../keep", (tmp / "tree/a/tokeep").c_str()));
    ASSERT_EQ(0, symlink("nowhere", (tmp / "tree/dangling").c_str()));
    ASSERT_EQ(0, symlink("keep", (tmp / "keeplink").c_str()));

    EXPECT_EQ(0, FSRemove(tmp / "keeplink", true));
    EXPECT_FALSE(PathExists(tmp / "keeplink"));
    EXPECT_EQ(0, FSRemove(tmp / "tree"));
    EXPECT_FALSE(PathExists(tmp / "tree"));
    EXPECT_EQ("x", ReadFile(tmp / "keep/inner"));
}

TEST(Remove, ReadOnlyAndUnreadableFolders) {
    FS_REQUIRE_ROOT();
    fstest::LogCapture log;
    TempDir tmp;
    fstest::OpenToNobody(tmp.path());
    ASSERT_TRUE(MakeDirs(tmp / "empty"));
    ASSERT_TRUE(fstest::Put(tmp / "own/sub/f", "x"));
    ASSERT_TRUE(fstest::Put(tmp / "theirs/f", "x"));
    ASSERT_EQ(
        0,
        system(("chown -R 65534:65534 '" + (tmp / "empty") + "' '" + (tmp / "own") + "'").c_str()));
    ASSERT_EQ(0, chmod((tmp / "empty").c_str(), 0300));    // writable, not listable
    ASSERT_EQ(0, chmod((tmp / "own/sub").c_str(), 0555));  // read-only, as bundles ship
    ASSERT_EQ(0, chmod((tmp / "own").c_str(), 0));
    ASSERT_EQ(0, chmod((tmp / "theirs").c_str(), 0333));  // another owner's, not listable
    std::string const empty = tmp / "empty", own = tmp / "own", theirs = tmp / "theirs";
    EXPECT_EQ(0, testsupport::RunAsNobody([&] {
                  if (FSRemove(empty) != 0) return 1;
                  // The user's own tree goes, whatever its modes.
                  if (FSRemove(own) != 0) return 2;
                  // Content it can't see in another's folder stays, and that is not success.
                  return FSRemove(theirs) == -3 ? 0 : 3;
              }));
    EXPECT_FALSE(PathExists(empty));
    EXPECT_FALSE(PathExists(own));
    EXPECT_EQ("x", ReadFile(theirs + "/f"));
    EXPECT_EQ(0333u, fstest::ModeOf(theirs));  // never widened
    EXPECT_TRUE(log.has("[WARNING] file-op(") &&
                log.has("FSRemove: cannot remove '" + theirs + "': "));
}

TEST(TempFiles, MktempAndTempPath) {
    fstest::LogCapture log;
    TempDir tmp;
    std::string out;
    ASSERT_EQ(0, FSMktemp(tmp.path(), out));
    EXPECT_EQ(tmp.path() + "/", out.substr(0, tmp.path().size() + 1));
    EXPECT_EQ(tmp.path().size() + 7, out.size());
    EXPECT_EQ(0644u, fstest::ModeOf(out));

    std::string other = "unchanged";
    EXPECT_EQ(-1, FSMktemp(tmp / "none", other));
    EXPECT_EQ("unchanged", other);
    EXPECT_TRUE(log.has("mkstemp(" + (tmp / "none/XXXXXX") + "): No such file or directory\n"));
    // A template that would not fit is refused, never cut short.
    std::string const longdir = tmp.path() + "/" + std::string(4100 - tmp.path().size(), 'd');
    EXPECT_EQ(-1, FSMktemp(longdir, other));
    EXPECT_TRUE(log.has("File name too long\n"));

    ASSERT_EQ(0, FSCreateTempPath(tmp.path(), out));
    EXPECT_EQ(tmp.path().size() + 9, out.size());
    EXPECT_FALSE(PathExists(out));
}

TEST(Attributes, SettersAndFsync) {
    fstest::LogCapture log;
    TempDir tmp;
    ASSERT_TRUE(fstest::Put(tmp / "f", "x", 0600));
    EXPECT_EQ(1, FSFsync(tmp / "none"));
    EXPECT_EQ(0, FSFsync(tmp / "f"));

    EXPECT_EQ(0, FSCreateSymbolicLink("f", tmp / "l"));
    EXPECT_EQ(-1, FSCreateSymbolicLink("f", tmp / "l"));
    EXPECT_TRUE(log.has("FSCreateSymbolicLink: Failed to create symbolic link 'f' -> '" +
                        (tmp / "l") + "' (code: 17, msg: File exists)\n"));

    // Times and owner apply to the link itself; the mode follows it.
    EXPECT_EQ(0, FSUTime(tmp / "l", 100, 200));
    struct stat st;
    ASSERT_EQ(0, lstat((tmp / "l").c_str(), &st));
    EXPECT_EQ(200, st.st_mtime);
    ASSERT_EQ(0, stat((tmp / "f").c_str(), &st));
    EXPECT_NE(200, st.st_mtime);
    EXPECT_EQ(0, FSChmod(tmp / "l", 0640));
    EXPECT_EQ(0640u, fstest::ModeOf(tmp / "f"));
    if (testsupport::IsRoot()) {
        EXPECT_EQ(0, FSChown(tmp / "l", 65534, 65534));
        ASSERT_EQ(0, lstat((tmp / "l").c_str(), &st));
        EXPECT_EQ(65534u, st.st_uid);
        ASSERT_EQ(0, stat((tmp / "f").c_str(), &st));
        EXPECT_NE(65534u, st.st_uid);
    }

    EXPECT_EQ(-1, FSUTime(tmp / "none", 1, 2));
    EXPECT_EQ(-1, FSChmod(tmp / "none", 0600));
    EXPECT_EQ(-1, FSChown(tmp / "none", 0, 0));
    EXPECT_TRUE(log.has("FSChmod: Failed to chmod '" + (tmp / "none") +
                        "' (code: 2, msg: No such file or directory)\n"));
    EXPECT_TRUE(log.has("FSChown: Failed to chown '" + (tmp / "none") +
                        "' (code: 2, msg: No such file or directory)\n"));
}

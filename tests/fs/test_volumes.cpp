// Full volumes and moves between volumes, on real tmpfs mounts.

#include <sys/stat.h>
#include <sys/xattr.h>
#include <unistd.h>

#include <memory>
#include <string>

#include "fs/file-op.h"
#include "tests/fs/FsTestUtil.h"

using testsupport::ListTree;
using testsupport::MakeDirs;
using testsupport::PathExists;
using testsupport::ReadFile;
using testsupport::TempDir;
using testsupport::TmpfsMount;

TEST(FullVolume, CopyReportsMinusTwoAndKeepsTheSource) {
    fstest::LogCapture log;
    TempDir tmp;
    TmpfsMount small(tmp / "small", "64k");
    FS_REQUIRE_TMPFS(small);
    std::string const data(300000, 'q');
    ASSERT_TRUE(fstest::Put(tmp / "src", data));
    EXPECT_EQ(-2, FSCopy(tmp / "src", tmp / "small/dst", true, false));
    EXPECT_TRUE(log.has("No space left on device (28)\n"));
    EXPECT_EQ(data, ReadFile(tmp / "src"));  // removeSource waits for a good copy
}

class CrossVolume : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(testsupport::IsRoot()) << "mounting tmpfs needs root";
        a_.reset(new TmpfsMount(tmp_ / "a", "4m"));
        b_.reset(new TmpfsMount(tmp_ / "b", "4m"));
        ASSERT_TRUE(a_->ok()) << a_->reason();
        ASSERT_TRUE(b_->ok()) << b_->reason();
        A = tmp_ / "a";
        B = tmp_ / "b";
    }
    void TearDown() override {
        b_.reset();
        a_.reset();
    }
    // A tree with the kinds a bundle holds: modes, nested and empty folders,
    // relative and dangling links.
    void MakeTree(std::string const& root) {
        ASSERT_TRUE(fstest::Put(root + "/Contents/MacOS/app", std::string(20000, 'x'), 0755));
        ASSERT_TRUE(fstest::Put(root + "/Contents/Info.plist", "plist", 0640));
        ASSERT_TRUE(fstest::Put(root + "/Contents/Private/key", "k", 0600));
        ASSERT_EQ(0, chmod((root + "/Contents/Private").c_str(), 0700));
        ASSERT_TRUE(MakeDirs(root + "/Contents/Empty"));
        ASSERT_EQ(0, symlink("MacOS/app", (root + "/Contents/current").c_str()));
        ASSERT_EQ(0, symlink("../gone", (root + "/Contents/dangling").c_str()));
        ASSERT_EQ(0, FSUTime(root + "/Contents/Info.plist", 5, 123456));
        // Finder tags and comments live in extended attributes.
        ASSERT_EQ(0, lsetxattr((root + "/Contents/Info.plist").c_str(), "user.tag", "red", 3, 0));
        ASSERT_EQ(0, lsetxattr((root + "/Contents/Private").c_str(), "user.note", "n", 1, 0));
    }
    static std::string Attribute(std::string const& path, char const* name) {
        char buf[64];
        ssize_t const n = lgetxattr(path.c_str(), name, buf, sizeof buf);
        return n < 0 ? "" : std::string(buf, static_cast<size_t>(n));
    }
    void ExpectTree(std::string const& root) {
        EXPECT_EQ(0755u, fstest::ModeOf(root + "/Contents/MacOS/app"));
        EXPECT_EQ(0640u, fstest::ModeOf(root + "/Contents/Info.plist"));
        EXPECT_EQ(0700u, fstest::ModeOf(root + "/Contents/Private"));
        EXPECT_EQ(std::string(20000, 'x'), ReadFile(root + "/Contents/MacOS/app"));
        EXPECT_TRUE(fstest::IsLink(root + "/Contents/current"));
        EXPECT_TRUE(fstest::IsLink(root + "/Contents/dangling"));
        std::string target;
        EXPECT_EQ(0, FSReadSymbolicLink(root + "/Contents/dangling", target));
        EXPECT_EQ("../gone", target);
        _FILE_INFO_tag info;
        ASSERT_EQ(0, GetFileInfo(root + "/Contents/Info.plist", info));
        EXPECT_EQ(123456, info.mtime);
        EXPECT_EQ("red", Attribute(root + "/Contents/Info.plist", "user.tag"));
        EXPECT_EQ("n", Attribute(root + "/Contents/Private", "user.note"));
    }

    TempDir tmp_;
    std::unique_ptr<TmpfsMount> a_, b_;
    std::string A, B;
};

TEST_F(CrossVolume, FileKeepsItsMode) {
    ASSERT_TRUE(fstest::Put(A + "/tool", "#!/bin/sh\n", 0751));
    EXPECT_EQ(0, FSRename(A + "/tool", B + "/tool", true));
    EXPECT_FALSE(PathExists(A + "/tool"));
    EXPECT_EQ("#!/bin/sh\n", ReadFile(B + "/tool"));
    EXPECT_EQ(0751u, fstest::ModeOf(B + "/tool"));
    // An existing file is replaced, as rename(2) replaces it.
    ASSERT_TRUE(fstest::Put(A + "/tool", "new", 0600));
    EXPECT_EQ(0, FSRename(A + "/tool", B + "/tool", false));
    EXPECT_EQ("new", ReadFile(B + "/tool"));
    EXPECT_EQ("", ListTree(A));
}

TEST_F(CrossVolume, TreeMovesWholeWithModesAndLinks) {
    MakeTree(A + "/App.app");
    std::string const before = ListTree(A + "/App.app");
    EXPECT_EQ(0, FSRename(A + "/App.app", B + "/App.app", false));
    EXPECT_FALSE(PathExists(A + "/App.app"));
    EXPECT_EQ(before, ListTree(B + "/App.app"));
    ExpectTree(B + "/App.app");
    // Nothing but the moved tree: no temporary copy beside it.
    std::string expected = "App.app/\n";
    for (size_t pos = 0; pos < before.size();) {
        size_t const nl = before.find('\n', pos);
        expected += "App.app/" + before.substr(pos, nl + 1 - pos);
        pos = nl + 1;
    }
    EXPECT_EQ(expected, ListTree(B));

    // An empty folder is replaced.
    MakeTree(A + "/Two");
    ASSERT_TRUE(MakeDirs(B + "/Two"));
    EXPECT_EQ(0, FSRename(A + "/Two", B + "/Two", false));
    ExpectTree(B + "/Two");
}

TEST_F(CrossVolume, NeverMergesIntoAFolderWithContent) {
    MakeTree(A + "/App.app");
    ASSERT_TRUE(fstest::Put(B + "/App.app/old", "old"));
    std::string const src = ListTree(A), dst = ListTree(B);
    EXPECT_EQ(-3, FSRename(A + "/App.app", B + "/App.app", false));
    ASSERT_TRUE(fstest::Put(A + "/file", "f"));
    EXPECT_EQ(-3, FSRename(A + "/file", B + "/App.app", false));
    ASSERT_EQ(0, unlink((A + "/file").c_str()));
    EXPECT_EQ(src, ListTree(A));
    EXPECT_EQ(dst, ListTree(B));
}

TEST_F(CrossVolume, FailureLeavesTheSourceAndNoCopy) {
    MakeTree(A + "/App.app");
    ASSERT_EQ(0, mkfifo((A + "/App.app/Contents/zz-pipe").c_str(), 0600));
    std::string const before = ListTree(A);
    EXPECT_EQ(-3, FSRename(A + "/App.app", B + "/App.app", false));
    EXPECT_EQ(before, ListTree(A));
    EXPECT_EQ("", ListTree(B));

    // A link at the top is not moved across volumes.
    ASSERT_EQ(0, symlink("App.app", (A + "/lnk").c_str()));
    EXPECT_EQ(-3, FSRename(A + "/lnk", B + "/lnk", false));
    EXPECT_TRUE(fstest::IsLink(A + "/lnk"));
}

TEST_F(CrossVolume, FullDestinationLeavesTheSource) {
    TmpfsMount small(tmp_ / "small", "64k");
    ASSERT_TRUE(small.ok()) << small.reason();
    MakeTree(A + "/App.app");
    ASSERT_TRUE(fstest::Put(A + "/App.app/Contents/big", std::string(200000, 'b')));
    std::string const before = ListTree(A);
    EXPECT_EQ(-3, FSRename(A + "/App.app", tmp_ / "small/App.app", false));
    EXPECT_EQ(before, ListTree(A));
    EXPECT_EQ("", ListTree(tmp_ / "small"));
}

TEST_F(CrossVolume, UnreadableFolderInsideStopsTheMove) {
    fstest::OpenToNobody(tmp_.path());
    MakeTree(A + "/App.app");
    ASSERT_EQ(0, chmod(A.c_str(), 0777));
    ASSERT_EQ(0, chmod(B.c_str(), 0777));
    ASSERT_EQ(0, system(("chown -R 65534:65534 '" + A + "/App.app'").c_str()));
    ASSERT_EQ(0, chmod((A + "/App.app/Contents/Private").c_str(), 0300));
    std::string const before = ListTree(A);
    std::string const src = A + "/App.app", dst = B + "/App.app";
    EXPECT_EQ(0, testsupport::RunAsNobody([&] { return FSRename(src, dst, false) == -3 ? 0 : 1; }));
    EXPECT_EQ(before, ListTree(A));
    EXPECT_EQ("", ListTree(B));
}

// The exact-name test and the stored spelling on a case-insensitive,
// case-preserving volume (a FUSE passthrough standing in for macOS volumes).

#include <sys/stat.h>
#include <unistd.h>

#include <map>
#include <memory>
#include <string>

#include "fs/file-op.h"
#include "tests/fs/FsTestUtil.h"
#include "tests/support/CiFuseMount.h"

using testsupport::MakeDirs;
using testsupport::PathExists;
using testsupport::ReadFile;

namespace {

std::string const kComposed = "caf\xc3\xa9";     // café, é as one code point
std::string const kDecomposed = "cafe\xcc\x81";  // café, e + combining acute
std::string const kUpper = "CAF\xc3\x89";        // CAFÉ

}  // namespace

class CaseInsensitive : public ::testing::Test {
protected:
    void SetUp() override {
        ci_.reset(new testsupport::CiFuseMount(tmp_ / "backing", tmp_ / "ci"));
        // The FUSE mount is part of the test set-up on our machines: without
        // it the case tests check nothing, so they fail rather than skip.
        ASSERT_TRUE(ci_->ok()) << ci_->reason();
        M = ci_->path();
    }
    void TearDown() override { ci_.reset(); }

    testsupport::TempDir tmp_;
    std::unique_ptr<testsupport::CiFuseMount> ci_;
    std::string M;
};

TEST_F(CaseInsensitive, ExactNameSeesTheStoredSpelling) {
    ASSERT_TRUE(MakeDirs(M + "/foo/bar"));
    ASSERT_TRUE(PathExists(M + "/FOO"));  // the volume folds case

    EXPECT_TRUE(IsFileExist(M + "/FOO", false));
    EXPECT_FALSE(IsFileExist(M + "/FOO", true));
    EXPECT_TRUE(IsFileExist(M + "/foo", true));
    // Only the last component must match; the parents just have to resolve.
    EXPECT_TRUE(IsFileExist(M + "/Foo/bar", true));
    EXPECT_FALSE(IsFileExist(M + "/foo/BAR", true));
    EXPECT_TRUE(IsFileExist(M + "/foo/bar", true));

    _FILE_INFO_tag info;
    ASSERT_EQ(0, GetFileInfo(M + "/FOO/BAR", info));
    EXPECT_EQ(M + "/foo/bar", info.path);
    EXPECT_EQ("bar", info.name);
    EXPECT_EQ(0, FSStat(M + "/FOO", info, true));
    EXPECT_FALSE(info.exists);

    ASSERT_EQ(0, symlink("foo", (M + "/Link").c_str()));
    std::string p = M + "/LINK/BAR";
    ASSERT_EQ(0, FSGetRealPath(p));
    EXPECT_EQ(M + "/foo/bar", p);
    // An existing folder under another spelling is still a folder.
    EXPECT_EQ(0, FSMKDir(M + "/FOO", false));
}

TEST_F(CaseInsensitive, ComposedAndDecomposedNamesCompareEqual) {
    ASSERT_TRUE(fstest::Put(M + "/" + kComposed, "c"));
    ASSERT_TRUE(fstest::Put(M + "/D" + kDecomposed, "d"));
    EXPECT_TRUE(IsFileExist(M + "/" + kComposed, true));
    EXPECT_TRUE(IsFileExist(M + "/" + kDecomposed, true));
    EXPECT_FALSE(IsFileExist(M + "/" + kUpper, true));
    EXPECT_TRUE(IsFileExist(M + "/" + kUpper, false));
    EXPECT_TRUE(IsFileExist(M + "/D" + kComposed, true));
    EXPECT_FALSE(IsFileExist(M + "/d" + kComposed, true));
}

TEST_F(CaseInsensitive, RenameAndDirectoryReading) {
    ASSERT_TRUE(fstest::Put(M + "/Data/file.txt", "12345", 0640));
    // The exact-name test guards the source; other spellings don't count.
    EXPECT_EQ(-2, FSRename(M + "/DATA", M + "/moved", true));
    EXPECT_TRUE(PathExists(tmp_ / "backing/Data/file.txt"));
    EXPECT_EQ(0, FSRename(M + "/DATA", M + "/data", false));  // a change of case only
    EXPECT_TRUE(PathExists(tmp_ / "backing/data/file.txt"));
    EXPECT_FALSE(PathExists(tmp_ / "backing/Data"));

    DIR_HANDLE h;
    ASSERT_EQ(0, FSOpenDir(M + "/data", DIR_READ_INFO, h));
    std::map<std::string, DIR_ENTRY> seen;
    DIR_ENTRY e;
    while (FSReadDir(h, e) == 1) seen[e.name] = e;
    FSCloseDir(h);
    ASSERT_EQ(3u, seen.size());
    EXPECT_TRUE(seen.count(".") && seen.count("..") && seen.count("file.txt"));
    EXPECT_EQ(5, seen["file.txt"].size);

    // keepMode with another spelling still takes the source's mode.
    EXPECT_EQ(0, FSCopy(M + "/DATA/FILE.TXT", M + "/copy", false, true));
    EXPECT_EQ(0640u, fstest::ModeOf(M + "/copy"));
    EXPECT_EQ("12345", ReadFile(M + "/copy"));

    EXPECT_EQ(0, FSRemove(M + "/DATA"));
    EXPECT_FALSE(PathExists(tmp_ / "backing/data"));
}

// The Linux type-name probe on a real volume.

#include <gtest/gtest.h>

#include <string>

#include "fs/file-op-platform.h"
#include "tests/fs/FsTestUtil.h"

TEST(FsTypeLinux, RealTmpfsIsNamed) {
    testsupport::TempDir tmp;
    testsupport::TmpfsMount m(tmp / "t", "64k");
    FS_REQUIRE_TMPFS(m);
    std::string name;
    ASSERT_EQ(0, fsplatform::PlatformFsTypeName(tmp / "t", name));
    EXPECT_EQ("tmpfs", name);
}

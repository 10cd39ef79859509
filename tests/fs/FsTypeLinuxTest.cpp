// The Linux statfs magic numbers and the names the queries expect.

#include <gtest/gtest.h>

#include <string>

#include "fs/file-op-platform.h"
#include "tests/fs/FsTestUtil.h"

TEST(FsTypeLinux, MagicNumbersMapToTheNamesMacOsUses) {
    EXPECT_STREQ("nfs", fsplatform::FsTypeNameForMagic(0x6969));
    EXPECT_STREQ("smbfs", fsplatform::FsTypeNameForMagic(0xFF534D42));
    EXPECT_STREQ("smbfs", fsplatform::FsTypeNameForMagic(0x517B));
    EXPECT_STREQ("msdos", fsplatform::FsTypeNameForMagic(0x4d44));
    EXPECT_STREQ("tmpfs", fsplatform::FsTypeNameForMagic(0x01021994));
    EXPECT_STREQ("", fsplatform::FsTypeNameForMagic(0x12345678));
}

TEST(FsTypeLinux, RealTmpfsIsNamed) {
    testsupport::TempDir tmp;
    testsupport::TmpfsMount m(tmp / "t", "64k");
    FS_REQUIRE_TMPFS(m);
    std::string name;
    ASSERT_EQ(0, fsplatform::PlatformFsTypeName(tmp / "t", name));
    EXPECT_EQ("tmpfs", name);
}

// Migration on a case-insensitive volume, where a name in another letter
// case still opens: only the exact names count, and data stored under
// another spelling is never deleted.

#include <gtest/gtest.h>

#include "service/mac/mac-service.h"
#include "tests/service/ServiceTestEnv.h"
#include "tests/support/CiFuseMount.h"

using servicetest::Client;
using servicetest::ServiceEnv;
using servicetest::TreeDigest;
namespace ts = testsupport;

namespace {

class CaseInsensitiveHome : public ::testing::Test {
protected:
    ServiceEnv env;
    std::unique_ptr<ts::CiFuseMount> ci;

    void SetUp() override {
        ci.reset(new ts::CiFuseMount(env.root + "/backing", env.root + "/ci"));
        ASSERT_TRUE(ci->ok()) << ci->reason();
        env.UseHome(ci->path());
        ts::MakeDirs(env.korvane + "/log");
    }
    void TearDown() override { ci.reset(); }
};

TEST_F(CaseInsensitiveHome, APredecessorInAnotherLetterCaseIsNeitherStoppedNorMigrated) {
    std::string const other = env.home + "/.tarnwick";
    ts::MakeDirs(other + "/data");
    ts::WriteFile(other + "/data/d.txt", "theirs");
    ASSERT_TRUE(ts::PathExists(env.tarnwick)) << "the volume is not case-insensitive";
    Client theirs(env.home, {"--pid-file", other + "/ui.pid", "--lifetime", "60"});
    ASSERT_TRUE(theirs.WaitForPidFile(other + "/ui.pid", theirs.pid()));
    env.WritePackage(200);
    std::string const before = TreeDigest(other);

    MacService s;
    EXPECT_EQ(s.HandlePackageUpgrade(), 0);
    EXPECT_FALSE(theirs.WaitExited(0.3));
    s.MigrateService();
    EXPECT_EQ(TreeDigest(other), before);
    EXPECT_FALSE(ts::PathExists(env.korvane + "/data"));
}

TEST_F(CaseInsensitiveHome, ADataFolderStoredAsDataIsNeverDeleted) {
    ts::MakeDirs(env.tarnwick + "/Data/sub");
    ts::WriteFile(env.tarnwick + "/Data/sub/d.txt", "precious");
    ts::MakeDirs(env.tarnwick + "/app");
    std::string const before = TreeDigest(env.tarnwick + "/Data");

    MacService s;
    s.MigrateService();
    EXPECT_EQ(TreeDigest(env.tarnwick + "/Data"), before);
    EXPECT_EQ(ts::ListTree(env.tarnwick), "Data/\nData/sub/\nData/sub/d.txt\napp/\n");
    EXPECT_FALSE(ts::PathExists(env.korvane + "/data"));
    EXPECT_EQ(env.CountInLog("Failed to remove old .Tarnwick folder"), 0u);
    EXPECT_EQ(env.CountInLog("[WARNING] cloud-service("), 1u) << env.Log();
}

}  // namespace

// A client packed by korvane-pack into a copy of the built launcher bundle,
// installed by the real launcher as the normal user: the installed tree is
// the packed one, in names, contents, modes and link targets, in every format.

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <optional>

#include "tests/pack/PackSupport.h"
#include "tests/support/TestSupport.h"

using namespace e2e;

namespace {

class PackRoundTrip : public ::testing::TestWithParam<std::string> {};

TEST_P(PackRoundTrip, TheLauncherInstallsThePackedTreeAsItIs) {
    umask(022);  // the launcher's disk writer applies it; the tree has no bits it takes away
    testsupport::TempDir tmp("korvane-pack-e2e");
    std::string const client = tmp / "client/Korvane.app";
    std::string const bundle = tmp / "bundle/Korvane Client.app";
    std::string const home = UserHome(tmp.path(), "home");
    ASSERT_FALSE(home.empty());
    ASSERT_TRUE(packtest::MakeClient(client, 4321) && CopyBundle(bundle));
    std::string out;
    ASSERT_EQ(
        0, packtest::Pack({"--format", GetParam(), client, bundle + "/Contents/Resources"}, &out))
        << out;
    ASSERT_TRUE(testsupport::SealForUser(bundle));

    LauncherRun const run = RunLauncher(bundle,
                                        {{"HOME", home},
                                         {"QT_QPA_PLATFORM", std::string("offscreen")},
                                         {"LANG", std::nullopt},
                                         {"LC_ALL", std::nullopt},
                                         {"KORVANE_UI_LIFETIME", std::string("60")}},
                                        tmp.path());
    KillLeftovers(home);
    ASSERT_EQ(0, run.exit_code) << run.err;
    std::string const installed = home + "/.Korvane/Korvane.app";
    EXPECT_EQ(testsupport::TreeDigest(client), testsupport::TreeDigest(installed));
    struct stat a, b;
    ASSERT_EQ(0, stat((installed + "/Contents/Resources/shared/a.bin").c_str(), &a));
    ASSERT_EQ(0, stat((installed + "/Contents/Resources/b.bin").c_str(), &b));
    if (GetParam() != "zip") {
        EXPECT_EQ(a.st_ino, b.st_ino) << "the hard link came out as a copy";
    }
}

INSTANTIATE_TEST_SUITE_P(Formats, PackRoundTrip, ::testing::ValuesIn(packtest::Formats()));

}  // namespace

// Version records from INFO files and the upgrade decision.

#include <gtest/gtest.h>
#include <unistd.h>

#include "service/mac/mac-service.h"
#include "tests/service/ServiceTestEnv.h"

using servicetest::ServiceEnv;
namespace ts = testsupport;

namespace {

class Versions : public ::testing::Test {
protected:
    ServiceEnv env;

    void SourceInfo(std::string const& text) {
        ts::MakeDirs(env.app + "/Contents/Resources");
        ASSERT_TRUE(ts::WriteFile(env.app + "/Contents/Resources/INFO", text));
    }
    void TargetInfo(std::string const& text) {
        ASSERT_TRUE(ts::WriteFile(env.resources + "/INFO", text));
    }
    void Executable(mode_t mode = 0755) {
        ts::MakeDirs(env.app + "/Contents/MacOS");
        ASSERT_TRUE(ts::WriteFile(env.app + "/Contents/MacOS/korvane-ui", "#!/bin/sh\n", mode));
    }
    bool Decide(std::string const& source_build, std::string const& target_build) {
        MacService s;
        s.source_version.build_version = source_build;
        s.target_version.build_version = target_build;
        return s.IsNeedUpgrade();
    }
};

TEST_F(Versions, BothFilesAreReadFromTheirVersionSectionOnly) {
    TargetInfo(
        "[General]\nbuild_version=1\n[Version]\nmajor_version=3\nminor_version=1\nbuild_version=812\n"
        "icon_overlay_version=7\nother=x\n[Later]\nbuild_version=2\n");
    SourceInfo(ts::InfoText(700, 2, 9, 6));
    MacService s;
    s.PreUpgrade();
    EXPECT_EQ(s.target_version.major_version, "3");
    EXPECT_EQ(s.target_version.minor_version, "1");
    EXPECT_EQ(s.target_version.build_version, "812");
    EXPECT_EQ(s.target_version.icon_overlay_version, "7");
    EXPECT_EQ(s.source_version.build_version, "700");
    std::string const log = env.Log();
    EXPECT_NE(log.find("target_version = (3, 1, 812, 7)\n"), std::string::npos) << log;
    EXPECT_NE(log.find("source_version = (2, 9, 700, 6)\n"), std::string::npos) << log;
    EXPECT_NE(log.find("[DEBUG] mac/mac-service("), std::string::npos) << log;
    EXPECT_NE(log.find("Source version: ('700', '6')\n"), std::string::npos) << log;
    EXPECT_NE(log.find("Target version: ('812', '7')\n"), std::string::npos) << log;
    // Target first, then source.
    EXPECT_LT(log.find("target_version ="), log.find("source_version ="));
    EXPECT_NE(log.find("[INFO] cloud-service("), std::string::npos) << log;
}

// As some editors save them; and a launcher INFO without a build number is
// an error its vendor must see.
TEST_F(Versions, AByteOrderMarkIsSkippedInEitherFile) {
    std::string const bom = "\xEF\xBB\xBF";
    TargetInfo(bom + ts::InfoText(812));
    SourceInfo(bom + ts::InfoText(700));
    MacService s;
    s.PreUpgrade();
    EXPECT_EQ(s.target_version.build_version, "812");
    EXPECT_EQ(s.source_version.build_version, "700");
    EXPECT_EQ(env.Log().find("holds no build_version"), std::string::npos) << env.Log();

    TargetInfo(bom + "[Version]\nmajor_version=1\n");
    MacService none;
    none.PreUpgrade();
    EXPECT_EQ(env.CountInLog("[ERROR] cloud-service("), 1u) << env.Log();
    EXPECT_EQ(env.CountInLog("'" + env.resources + "/INFO' holds no build_version"), 1u)
        << env.Log();
}

TEST_F(Versions, MissingFilesLeaveTheRecordsAsTheyWere) {
    MacService s;
    s.source_version.build_version = "55";
    s.PreUpgrade();
    EXPECT_EQ(s.source_version.build_version, "55");
    std::string const log = env.Log();
    EXPECT_NE(log.find("source does not exist\n"), std::string::npos) << log;
    EXPECT_EQ(log.find("source_version ="), std::string::npos) << log;
    EXPECT_NE(log.find("target_version = (, , , )\n"), std::string::npos) << log;
}

TEST_F(Versions, NoVersionSectionGivesEmptyFieldsAndAbsentKeysKeepEarlierValues) {
    SourceInfo("[Other]\nbuild_version=9\n");
    MacService s;
    s.LoadSourceVerInfo();
    EXPECT_EQ(s.source_version.build_version, "");
    EXPECT_NE(env.Log().find("source_version = (, , , )\n"), std::string::npos) << env.Log();

    SourceInfo("[Version]\nbuild_version=31\nicon_overlay_version=4\nmajor_version=1\n");
    s.LoadSourceVerInfo();
    SourceInfo("[Version]\nmajor_version=2\n");
    s.LoadSourceVerInfo();
    EXPECT_EQ(s.source_version.major_version, "2");
    EXPECT_EQ(s.source_version.build_version, "31");
    EXPECT_EQ(s.source_version.icon_overlay_version, "4");
    EXPECT_NE(env.Log().find("source_version = (2, , 31, 4)\n"), std::string::npos) << env.Log();
}

TEST_F(Versions, OnlyAVersionKeyHoldingASerializedQtObjectVoidsTheFile) {
    // Type 65 is a pixmap: deserialising it here would abort the process.
    std::string const pixmap = "@Variant(\\0\\0\\0\\x41\\0\\0\\0\\0)";
    struct Case {
        std::string info;
        char const* build;  // what is read; "4": nothing
        bool refused;       // the file is voided, with an error
    } const cases[] = {
        {"[Version]\nbuild_version=" + pixmap + "\n", "4", true},
        {"[Version]\nbuild_version=5\n[Other]\nx=" + pixmap + "\n", "5", false},
        {"; " + pixmap + "\n[Version]\nbuild_version=6\n", "6", false},
        {"[Version]\nbuild_version=7\nnote=" + pixmap + "\n", "7", false},
        // The reader ends lines at a CR, and unescapes "\x40" into '@'.
        {"[Version]\r\nbuild_version=8\rnote=" + pixmap + "\r\n", "8", false},
        {"[Version]\r" + std::string(3, '\0') + "\nbu\r\nmion=" + pixmap + "\r\n", "4", false},
        {"[Version]\nbuild_version=\\x40Variant(\\0\\0\\0\\x41\\0\\0\\0\\0)\n", "4", false},
        {"[Version]\nbuild_version=\"\\x40Var\\151ant(\\0\\0\\0\\x41\\0\\0\\0\\0)\"\n", "4", false},
    };
    for (Case const& c : cases) {
        SCOPED_TRACE(c.info);
        env.ClearLog();
        SourceInfo(c.info);
        MacService s;
        s.source_version.build_version = "4";
        s.LoadSourceVerInfo();
        EXPECT_EQ(s.source_version.build_version, c.build);
        EXPECT_EQ(env.CountInLog("/Contents/Resources/INFO' holds a serialized value, not read\n"),
                  c.refused ? 1u : 0u)
            << env.Log();
    }
}

TEST_F(Versions, DecisionFollowsBuildNumbersAndTheExecutable) {
    Executable();
    EXPECT_TRUE(Decide("100", "101"));
    EXPECT_NE(env.Log().find("source version = 100, target version = 101\n"), std::string::npos);
    EXPECT_FALSE(Decide("100", "100"));
    EXPECT_FALSE(Decide("101", "100"));  // never a downgrade
    EXPECT_FALSE(Decide("12a", "12"));
    EXPECT_TRUE(Decide("a12", "5"));
    EXPECT_TRUE(Decide("", "1"));
    EXPECT_FALSE(Decide("", ""));
    EXPECT_FALSE(Decide("", "-3"));
    EXPECT_FALSE(Decide("99999999999", "2147483647"));  // saturated, equal
    EXPECT_TRUE(Decide("-99999999999", "-2147483647"));

    MacService s;  // only major and minor differ
    s.source_version = {"1", "0", "100", "1"};
    s.target_version = {"2", "5", "100", "9"};
    EXPECT_FALSE(s.IsNeedUpgrade());
}

TEST_F(Versions, AMissingExecutableForcesAnInstallWhateverTheVersions) {
    EXPECT_TRUE(Decide("100", "100"));
    EXPECT_TRUE(Decide("101", "100"));
    // A dangling link is missing; a file without execute permission is not.
    ts::MakeDirs(env.app + "/Contents/MacOS");
    ASSERT_EQ(symlink("nowhere", (env.app + "/Contents/MacOS/korvane-ui").c_str()), 0);
    EXPECT_FALSE(MacService::PerUserBinPathExist());
    EXPECT_TRUE(Decide("100", "100"));
    unlink((env.app + "/Contents/MacOS/korvane-ui").c_str());
    Executable(0644);
    EXPECT_TRUE(MacService::PerUserBinPathExist());
    EXPECT_FALSE(Decide("100", "100"));
}

TEST_F(Versions, AnUnfinishedDeploymentIsNeverTakenForACurrentInstall) {
    Executable();
    ASSERT_TRUE(ts::WriteFile(env.app + ".installing", ""));
    EXPECT_TRUE(Decide("100", "100"));
    EXPECT_TRUE(Decide("200", "100"));
}

}  // namespace

// Migration of the predecessor's data folder and removal of its app folder:
// user data is never deleted before it is safely in its new place.

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <functional>
#include <vector>

#include "deskui/UIPathManager.h"
#include "service/mac/mac-service.h"
#include "tests/service/ServiceTestEnv.h"

using servicetest::ServiceEnv;
using servicetest::TreeDigest;
namespace ts = testsupport;

namespace {

void WriteData(std::string const& dir) {
    ts::MakeDirs(dir + "/sub/private");
    ts::WriteFile(dir + "/a.txt", "alpha", 0640);
    ts::WriteFile(dir + "/sub/b.bin", std::string(5000, 'b'), 0600);
    ts::WriteFile(dir + "/sub/private/c.sh", "#!/bin/sh\n", 0750);
    chmod((dir + "/sub/private").c_str(), 0700);
    symlink("a.txt", (dir + "/link").c_str());
}

class Migrate : public ::testing::Test {
protected:
    ServiceEnv env;
    MacService service;
};

TEST_F(Migrate, TheDataFolderMovesAndThePredecessorFolderGoes) {
    ts::MakeDirs(env.korvane + "/log");
    WriteData(env.tarnwick + "/data");
    ts::MakeDirs(env.tarnwick + "/app/Tarnwick.app");
    std::string const data = TreeDigest(env.tarnwick + "/data");
    service.MigrateService();
    EXPECT_EQ(TreeDigest(env.korvane + "/data"), data);
    EXPECT_FALSE(ts::PathExists(env.tarnwick));
    EXPECT_TRUE(ts::PathExists(env.korvane + "/log"));
}

TEST_F(Migrate, APredecessorWithoutDataIsRemovedSilently) {
    ts::MakeDirs(env.tarnwick + "/app");
    service.MigrateService();
    EXPECT_FALSE(ts::PathExists(env.tarnwick));
    EXPECT_FALSE(ts::PathExists(env.korvane + "/data"));
    EXPECT_TRUE(ts::PathExists(env.korvane));
    EXPECT_EQ(env.Log().find("Failed"), std::string::npos) << env.Log();
}

TEST_F(Migrate, AnExistingDataFolderLosesNothingAndThePredecessorIsKept) {
    WriteData(env.tarnwick + "/data");
    ts::MakeDirs(env.korvane + "/data");
    ts::WriteFile(env.korvane + "/data/mine.txt", "already here");
    std::string const theirs = TreeDigest(env.tarnwick);
    std::string const mine = TreeDigest(env.korvane + "/data");
    service.MigrateService();
    EXPECT_EQ(TreeDigest(env.tarnwick), theirs);
    EXPECT_EQ(TreeDigest(env.korvane + "/data"), mine);
    EXPECT_EQ(env.CountInLog("Failed to move data to Korvane folder\n"), 1u);
    EXPECT_EQ(env.CountInLog("Failed to remove old .Tarnwick folder"), 0u);
}

TEST_F(Migrate, AFileInPlaceOfTheClientFolderKeepsThePredecessor) {
    ts::WriteFile(env.korvane, "not a folder");
    WriteData(env.tarnwick + "/data");
    std::string const theirs = TreeDigest(env.tarnwick);
    service.MigrateService();
    EXPECT_EQ(ts::ReadFile(env.korvane), "not a folder");
    EXPECT_EQ(TreeDigest(env.tarnwick), theirs);
    EXPECT_EQ(env.CountInLog("Failed to move data to Korvane folder\n"), 1u);
}

TEST_F(Migrate, AClientFolderThatCannotBeCreatedChangesNothing) {
    ASSERT_TRUE(ts::IsRoot()) << "needs root to switch to nobody";
    chmod(env.root.c_str(), 0755);
    WriteData(env.tarnwick + "/data");
    ASSERT_EQ(system(("chown -R 65534:65534 '" + env.home + "'").c_str()), 0);
    chmod(env.home.c_str(), 0555);
    std::string const before = TreeDigest(env.home);
    EXPECT_EQ(ts::RunAsNobody([this] {
                  service.MigrateService();
                  return 0;
              }),
              0);
    EXPECT_EQ(TreeDigest(env.home), before);
    EXPECT_EQ(env.CountInLog("Failed to create Korvane folder\n"), 1u);
    EXPECT_EQ(env.CountInLog("Failed to move"), 0u);
}

// The user's own data, marked read-only: the folder and its subfolders 0555.
void WriteReadOnlyData(std::string const& dir) {
    WriteData(dir);
    for (char const* sub : {"/sub/private", "/sub", ""}) chmod((dir + sub).c_str(), 0555);
}

// Runs `fn` as the user who owns `trees` (root ignores folder modes).
int AsOwner(ServiceEnv& env, std::vector<std::string> const& trees, std::function<void()> fn) {
    chmod(env.root.c_str(), 0755);
    for (auto const& t : trees)
        if (!ts::GiveToUser(t)) return -1;
    return ts::RunAsNobody([&] {
        fn();
        return 0;
    });
}

TEST_F(Migrate, ReadOnlyDataMovesAndKeepsItsModes) {
    WriteReadOnlyData(env.tarnwick + "/data");
    std::string const data = TreeDigest(env.tarnwick + "/data");
    ASSERT_EQ(AsOwner(env, {env.home}, [this] { service.MigrateService(); }), 0);
    EXPECT_EQ(TreeDigest(env.korvane + "/data"), data) << env.Log();
    EXPECT_FALSE(ts::PathExists(env.tarnwick));
}

TEST_F(Migrate, AReadOnlyAppFolderIsRemoved) {
    ts::MakeDirs(env.tarnwick + "/app/Tarnwick.app/Contents");
    ts::WriteFile(env.tarnwick + "/app/Tarnwick.app/Contents/x", "x", 0444);
    for (char const* d : {"/app/Tarnwick.app/Contents", "/app/Tarnwick.app", "/app"})
        chmod((env.tarnwick + d).c_str(), 0555);
    ASSERT_EQ(AsOwner(env, {env.home}, [this] { service.RemoveAgedFolders(); }), 0);
    EXPECT_FALSE(ts::PathExists(env.tarnwick + "/app")) << env.Log();
}

// The two folders on two volumes: the move copies, and either everything
// arrives with its permission bits or nothing does.
class MigrateAcrossVolumes : public ::testing::Test {
protected:
    ServiceEnv env;
    std::unique_ptr<ts::TmpfsMount> old_volume, new_volume;
    std::string old_dir, new_dir;

    void Mount(std::string const& new_size) {
        old_volume.reset(new ts::TmpfsMount(env.root + "/vol1", "4m"));
        new_volume.reset(new ts::TmpfsMount(env.root + "/vol2", new_size));
        old_dir = env.root + "/vol1/.Tarnwick";
        new_dir = env.root + "/vol2/.Korvane";
        auto* reg = UIPathManager::getInstance();
        reg->setPath("user_tarnwick_path", QString::fromStdString(old_dir));
        reg->setPath("user_korvane_path", QString::fromStdString(new_dir));
    }
    void TearDown() override {
        new_volume.reset();
        old_volume.reset();
    }
};

TEST_F(MigrateAcrossVolumes, EverythingArrivesWithItsPermissionBits) {
    Mount("4m");
    ASSERT_TRUE(old_volume->ok() && new_volume->ok())
        << old_volume->reason() << new_volume->reason();
    WriteData(old_dir + "/data");
    std::string const data = TreeDigest(old_dir + "/data");
    MacService service;
    service.MigrateService();
    EXPECT_EQ(TreeDigest(new_dir + "/data"), data);
    EXPECT_FALSE(ts::PathExists(old_dir));
}

TEST_F(MigrateAcrossVolumes, ReadOnlyDataArrivesWithItsModesAndTheSourceGoes) {
    Mount("4m");
    ASSERT_TRUE(old_volume->ok() && new_volume->ok())
        << old_volume->reason() << new_volume->reason();
    WriteReadOnlyData(old_dir + "/data");
    std::string const data = TreeDigest(old_dir + "/data");
    ASSERT_EQ(AsOwner(env, {env.root + "/vol1", env.root + "/vol2"},
                      [] {
                          MacService service;
                          service.MigrateService();
                      }),
              0);
    EXPECT_EQ(TreeDigest(new_dir + "/data"), data) << env.Log();
    EXPECT_FALSE(ts::PathExists(old_dir));
}

TEST_F(MigrateAcrossVolumes, AVolumeTooSmallGetsNothingAndTheDataStays) {
    Mount("64k");
    ASSERT_TRUE(old_volume->ok() && new_volume->ok())
        << old_volume->reason() << new_volume->reason();
    WriteData(old_dir + "/data");
    ts::WriteFile(old_dir + "/data/large.bin", std::string(300000, 'L'));
    std::string const before = TreeDigest(old_dir);
    MacService service;
    service.MigrateService();
    EXPECT_EQ(TreeDigest(old_dir), before);
    EXPECT_EQ(ts::ListTree(new_dir), "");  // no half copy left behind
    EXPECT_EQ(env.CountInLog("Failed to move data to Korvane folder\n"), 1u);
}

TEST_F(Migrate, AgedFolderRemovalTakesOnlyTheAppFolder) {
    service.RemoveAgedFolders();
    EXPECT_EQ(env.CountInLog("] cloud-service("), 1u);
    EXPECT_EQ(env.CountInLog("removing aged app folder " + env.tarnwick + "/app\n"), 1u);

    ts::MakeDirs(env.tarnwick + "/app/Tarnwick.app/Contents");
    ts::WriteFile(env.tarnwick + "/app/Tarnwick.app/Contents/x", "x");
    WriteData(env.tarnwick + "/data");
    std::string const data = TreeDigest(env.tarnwick + "/data");
    service.RemoveAgedFolders();
    EXPECT_FALSE(ts::PathExists(env.tarnwick + "/app"));
    EXPECT_EQ(TreeDigest(env.tarnwick + "/data"), data);
}

}  // namespace

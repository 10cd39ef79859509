// Deployment of the package with backup and rollback, on real files: after
// any failure or crash the bundle is the complete new one or, byte for
// byte, the old one.

#include <fcntl.h>
#include <gtest/gtest.h>
#include <linux/fs.h>
#include <signal.h>
#include <sys/inotify.h>
#include <sys/ioctl.h>
#include <sys/mount.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QObject>

#include <atomic>
#include <cctype>
#include <chrono>
#include <cstring>
#include <memory>
#include <random>
#include <thread>

#include "app/Notify_Adapter.h"
#include "extract/extractor.h"
#include "extract/package-description.h"
#include "service/mac/mac-service.h"
#include "tests/service/ServiceTestEnv.h"

using servicetest::Leftovers;
using servicetest::ServiceEnv;
using servicetest::TreeDigest;
namespace ts = testsupport;

namespace {

std::string Noise(size_t size, unsigned seed) {
    std::mt19937 gen(seed);
    std::string s(size, '\0');
    for (auto& c : s) c = static_cast<char>(gen());
    return s;
}

// The worker's sequence, without the launch.
int RunSequence() {
    MacService s;
    s.PreUpgrade();
    int r = 1;
    if (s.IsNeedUpgrade()) r = s.HandlePackageUpgrade();
    s.RemoveAgedFolders();
    s.FinishDeployment();
    return r;
}

void CorruptPackage(ServiceEnv& env) { ASSERT_TRUE(ts::WriteFile(env.package, Noise(4000, 7))); }

// A package whose entries start well and then break off. Uncompressed, so
// that the break is met only at the entry it cuts.
void TruncatedPackage(ServiceEnv& env, int build) {
    auto entries = ts::ClientBundleEntries(build);
    entries.push_back(ts::ArchiveEntry::file("Contents/Resources/big.bin", Noise(400000, 3)));
    env.WritePackage(build, entries);
    ASSERT_EQ(
        ts::WriteArchive(env.package, entries, ts::ArchiveFormat::Pax, ts::ArchiveFilter::None),
        "");
    std::string data = ts::ReadFile(env.package);
    ASSERT_TRUE(ts::WriteFile(env.package, data.substr(0, data.size() * 2 / 3)));
}

// Gives the launcher's INFO (build 200) the description of the package as
// it now stands.
void DescribePackage(ServiceEnv& env) {
    PackageDescription d;
    std::string err;
    ASSERT_TRUE(packagedesc::Describe(env.package, &d, &err)) << err;
    ASSERT_TRUE(
        ts::WriteFile(env.resources + "/INFO", ts::InfoText(200) + packagedesc::SectionText(d)));
}

class Deploy : public ::testing::Test {
protected:
    ServiceEnv env;
};

TEST_F(Deploy, FirstInstallExtractsThePackageAndRemovesAnOldTmp) {
    env.WritePackage(200);
    ts::MakeDirs(env.app + "_tmp/junk");
    MacService s;
    ASSERT_EQ(s.PrepareUserEnv(), 0);
    s.FinishDeployment();
    EXPECT_TRUE(servicetest::CompleteInstall(env));
    std::string const log = env.Log();
    EXPECT_EQ(log.find("failed to backup"), std::string::npos) << log;
    EXPECT_NE(log.find("extract package: '" + env.package + "' -> '" + env.app + "'\n"),
              std::string::npos)
        << log;
    EXPECT_NE(log.find("user installation is ready, removing backup app\n"), std::string::npos)
        << log;
    EXPECT_FALSE(s.IsNeedUpgrade());
}

TEST_F(Deploy, UpgradeSkipsATakenBackupNameAndRemovesEveryBackupTried) {
    env.InstallApp(100);
    env.WritePackage(200);
    ts::MakeDirs(env.app + "_tmp/junk");
    MacService s;
    ASSERT_EQ(s.PrepareUserEnv(), 0);
    s.FinishDeployment();
    EXPECT_TRUE(servicetest::CompleteInstall(env));
    EXPECT_EQ(
        env.CountInLog("failed to backup app from '" + env.app + "' -> '" + env.app + "_tmp'\n"),
        1u);
    EXPECT_EQ(env.CountInLog("failed to backup app"), 1u);
}

TEST_F(Deploy, TenTakenBackupNamesLeaveEverythingAsItWas) {
    env.InstallApp(100);
    env.WritePackage(200);
    std::vector<std::string> before;
    for (int i = 0; i < 10; ++i) {
        std::string const b = GetAppBackupDir(env.app, i);
        ts::MakeDirs(b + "/old" + std::to_string(i));
        before.push_back(TreeDigest(b));
    }
    std::string const app_before = TreeDigest(env.app);
    MacService s;
    EXPECT_EQ(s.PrepareUserEnv(), -1);
    EXPECT_EQ(TreeDigest(env.app), app_before);
    for (int i = 0; i < 10; ++i) EXPECT_EQ(TreeDigest(GetAppBackupDir(env.app, i)), before[i]);
    EXPECT_FALSE(ts::PathExists(s.InstallMarkPath()));
    EXPECT_EQ(env.CountInLog("failed to backup app from '" + env.app + "' -> '"), 11u);
    EXPECT_EQ(env.CountInLog("failed to backup app from '" + env.app + "' -> '" + env.app +
                             "_tmp9' at max retries, exiting\n"),
              1u);
    EXPECT_EQ(env.CountInLog("extract package"), 0u);  // the archive is never opened
}

TEST_F(Deploy, ACorruptArchiveRollsBackToTheOldBundle) {
    env.InstallApp(100);
    std::string const old = TreeDigest(env.app);
    // Unreadable from the start, and damaged only in its gzip trailer, which
    // the count reaches after the extraction has written every entry.
    for (bool const late : {false, true}) {
        SCOPED_TRACE(late ? "trailer" : "noise");
        if (late) {
            env.WritePackage(200);
            std::string p = ts::ReadFile(env.package);
            p[p.size() - 6] = static_cast<char>(p[p.size() - 6] ^ 1);
            ASSERT_TRUE(ts::WriteFile(env.package, p));
        } else {
            CorruptPackage(env);
        }
        MacService s;
        EXPECT_EQ(s.PrepareUserEnv(), -1);
        EXPECT_EQ(TreeDigest(env.app), old);
        EXPECT_EQ(Leftovers(env.app), "");
        EXPECT_EQ(env.CountInLog("Failed to extract package, rollback to old installation\n"),
                  late ? 2u : 1u);
    }
}

// tar.zst, with and without the section: the unchanged files come from the
// backup; a window above the decoder's limit is refused before the stop.
TEST_F(Deploy, ATarZstUpgradeReusesAndAWideWindowIsRefusedFirst) {
    auto const entries = ts::ClientBundleEntries(200);
    for (bool const section : {false, true}) {
        SCOPED_TRACE(section ? "with the section" : "without");
        ts::RemoveTree(env.app);
        env.InstallApp(100);
        env.ClearLog();
        env.WritePackage(200);
        ASSERT_EQ(
            ts::WriteArchive(env.package, entries, ts::ArchiveFormat::Pax, ts::ArchiveFilter::Zstd),
            "");
        if (section) ASSERT_NO_FATAL_FAILURE(DescribePackage(env));
        EXPECT_EQ(RunSequence(), 0) << env.Log();
        EXPECT_TRUE(servicetest::CompleteInstall(env));
        EXPECT_NE(env.Log().find("reused 2 unchanged files"), std::string::npos) << env.Log();
    }

    ts::RemoveTree(env.app);
    env.InstallApp(100);
    env.ClearLog();
    std::string const old = TreeDigest(env.app);
    ASSERT_EQ(
        ts::WriteArchive(env.package, entries, ts::ArchiveFormat::Pax, ts::ArchiveFilter::None),
        "");
    ASSERT_TRUE(ts::WriteFile(env.package, ts::ZstdFrame(ts::ReadFile(env.package), 28)));
    ASSERT_TRUE(ts::WriteFile(env.resources + "/INFO", ts::InfoText(200)));
    EXPECT_EQ(RunSequence(), -1);
    EXPECT_EQ(TreeDigest(env.app), old);
    EXPECT_EQ(Leftovers(env.app), "");
    EXPECT_EQ(env.CountInLog("its zstd window of 256 MiB is above the 128 MiB allowed\n"), 1u)
        << env.Log();
    EXPECT_EQ(env.CountInLog("[ERROR]"), 1u) << env.Log();
    EXPECT_EQ(env.CountInLog("extract package"), 0u) << env.Log();
}

TEST_F(Deploy, APackageWithoutTheClientKeepsTheOldBundle) {
    env.InstallApp(100);
    std::string const old = TreeDigest(env.app);
    auto entries = ts::ClientBundleEntries(101);
    entries.erase(entries.begin() + 2);  // Contents/MacOS/korvane-ui
    env.WritePackage(101, entries);
    MacService s;
    EXPECT_EQ(s.PrepareUserEnv(), -1);
    EXPECT_EQ(TreeDigest(env.app), old);
    EXPECT_EQ(Leftovers(env.app), "");
    EXPECT_NE(env.Log().find("holds no client executable"), std::string::npos) << env.Log();
}

TEST_F(Deploy, AnArchiveBrokenMidWayRollsBackAndKeepsLowerLeftovers) {
    env.InstallApp(100);
    ts::MakeDirs(env.app + "_tmp/a");
    ts::MakeDirs(env.app + "_tmp1/b");
    std::string const old = TreeDigest(env.app);
    TruncatedPackage(env, 200);
    MacService s;
    EXPECT_EQ(s.PrepareUserEnv(), -1);
    EXPECT_EQ(TreeDigest(env.app), old);
    // The client and the framework, unchanged, came from the backup first.
    EXPECT_NE(env.Log().find("reused 2 unchanged files"), std::string::npos) << env.Log();
    EXPECT_EQ(Leftovers(env.app), "Korvane.app_tmp\nKorvane.app_tmp1\n");
    EXPECT_TRUE(ts::PathExists(env.app + "_tmp/a"));
    EXPECT_TRUE(ts::PathExists(env.app + "_tmp1/b"));
}

TEST_F(Deploy, AFailedFirstInstallStaysMarkedAsUnfinished) {
    TruncatedPackage(env, 200);
    MacService s;
    EXPECT_EQ(s.PrepareUserEnv(), -1);
    EXPECT_NE(env.Log().find("Failed to extract package, and no old installation to rollback\n"),
              std::string::npos);
    EXPECT_TRUE(s.IsDeploymentPending());
    EXPECT_FALSE(s.IsBundleComplete());
    // Even with the new INFO and executable already on disk.
    s.PreUpgrade();
    EXPECT_TRUE(s.IsNeedUpgrade());

    env.WritePackage(200);
    EXPECT_EQ(RunSequence(), 0);
    EXPECT_TRUE(servicetest::CompleteInstall(env));
}

TEST(DeployVolume, AClientThatCannotFitIsRefusedOrRolledBack) {
    ServiceEnv env("384k");
    ASSERT_TRUE(env.home_ok()) << env.home_reason();
    auto entries = ts::ClientBundleEntries(200);
    entries.push_back(ts::ArchiveEntry::file("Contents/Resources/big.bin", Noise(2 << 20, 1)));
    env.WritePackage(200, entries);
    // A first install leaves nothing behind.
    EXPECT_EQ(RunSequence(), -1);
    EXPECT_FALSE(ts::PathExists(env.app));
    EXPECT_EQ(Leftovers(env.app), "");

    env.InstallApp(100);
    ts::MakeDirs(env.korvane + "/data");
    ASSERT_TRUE(ts::WriteFile(env.korvane + "/data/notes.txt", "user data"));
    std::string const old = TreeDigest(env.app);
    // The gzip trailer tells the size: refused before anything is touched.
    EXPECT_EQ(RunSequence(), -1);
    EXPECT_EQ(TreeDigest(env.app), old);
    EXPECT_EQ(Leftovers(env.app), "");
    EXPECT_NE(env.Log().find("not enough room for the client in '" + env.korvane + "': "),
              std::string::npos)
        << env.Log();
    EXPECT_EQ(env.Log().find("rollback"), std::string::npos);

    // xz gives no size up front, and zeros pack small: the volume runs full
    // part-way, and the old client comes back.
    entries.back() =
        ts::ArchiveEntry::file("Contents/Resources/big.bin", std::string(2 << 20, '\0'));
    ASSERT_EQ(ts::WriteArchive(env.package, entries, ts::ArchiveFormat::Pax, ts::ArchiveFilter::Xz),
              "");
    EXPECT_EQ(RunSequence(), -1);
    EXPECT_EQ(TreeDigest(env.app), old);
    EXPECT_EQ(Leftovers(env.app), "");
    EXPECT_EQ(ts::ReadFile(env.korvane + "/data/notes.txt"), "user data");
    EXPECT_NE(env.Log().find("rollback to old installation"), std::string::npos) << env.Log();

    // With the package's description, the same package is refused before
    // anything is touched.
    ASSERT_NO_FATAL_FAILURE(DescribePackage(env));
    env.ClearLog();
    EXPECT_EQ(RunSequence(), -1);
    EXPECT_EQ(TreeDigest(env.app), old);
    EXPECT_NE(env.Log().find("not enough room for the client"), std::string::npos) << env.Log();
    EXPECT_EQ(env.Log().find("rollback"), std::string::npos);

    // Nothing was lost on the way: a package that fits still installs.
    env.WritePackage(200);
    EXPECT_EQ(RunSequence(), 0);
    EXPECT_TRUE(servicetest::CompleteInstall(env));
}

// The upgrade was refused before the stop, for `why`: the client runs on,
// the bundle is as it was, nothing was rolled back.
void ExpectRefusedBeforeTheStop(ServiceEnv& env, servicetest::Client const& client,
                                std::string const& old, std::string const& why) {
    EXPECT_EQ(RunSequence(), -1);
    EXPECT_FALSE(client.Exited()) << "the client was stopped";
    EXPECT_EQ(TreeDigest(env.app), old);
    EXPECT_EQ(Leftovers(env.app), "");
    EXPECT_NE(env.Log().find(why), std::string::npos) << env.Log();
    EXPECT_EQ(env.Log().find("rollback"), std::string::npos);
}

// A client with a large file, upgraded on a volume that holds it once with
// some room to spare, while a client runs.
class NearlyFull : public ::testing::Test {
protected:
    ServiceEnv env{"6m"};
    std::string const big = Noise(3 << 20, 5);
    std::unique_ptr<servicetest::Client> client;

    void SetUp() override {
        ASSERT_TRUE(env.home_ok()) << env.home_reason();
        auto installed = ts::ClientBundleEntries(100);
        installed.push_back(ts::ArchiveEntry::file("Contents/Resources/big.bin", big));
        ServiceEnv::Materialize(env.app, installed);
        client.reset(new servicetest::Client(env.home, {"--lifetime", "60"}));
        ASSERT_TRUE(client->WaitForPidFile(env.korvane + "/ui.pid", client->pid()));
    }
    void Offer(std::string const& big_data) {
        auto entries = ts::ClientBundleEntries(200);
        entries.push_back(ts::ArchiveEntry::file("Contents/Resources/big.bin", big_data));
        env.WritePackage(200, entries);
    }
};

TEST_F(NearlyFull, ReuseOfTheUnchangedFilesMakesTheUpgradeFit) {
    Offer(big);
    EXPECT_EQ(RunSequence(), 0) << env.Log();
    EXPECT_TRUE(servicetest::CompleteInstall(env));
    EXPECT_TRUE(client->WaitExited(20)) << "the client was not stopped";
    EXPECT_NE(env.Log().find("once 3 unchanged files ("), std::string::npos) << env.Log();
    EXPECT_EQ(env.Log().find("not enough room"), std::string::npos) << env.Log();
}

TEST_F(NearlyFull, AnUpgradeThatStillDoesNotFitIsRefusedBeforeTheStop) {
    std::string const old = TreeDigest(env.app);
    Offer(Noise(3 << 20, 6));
    ExpectRefusedBeforeTheStop(env, *client, old,
                               "not enough room for the client in '" + env.korvane + "': ");
}

// Room enough, but fewer inodes than the package's entries: with or without
// the package's description, refused before the client is stopped.
TEST(DeployVolume, TooFewInodesAreRefusedBeforeTheStop) {
    ServiceEnv env("8m,nr_inodes=48");
    ASSERT_TRUE(env.home_ok()) << env.home_reason();
    env.InstallApp(100);
    servicetest::Client client(env.home, {"--lifetime", "60"});
    ASSERT_TRUE(client.WaitForPidFile(env.korvane + "/ui.pid", client.pid()));
    std::string const old = TreeDigest(env.app);
    auto entries = ts::ClientBundleEntries(200);
    for (int i = 0; i < 60; ++i)
        entries.push_back(ts::ArchiveEntry::file("Contents/Resources/f" + std::to_string(i), "x"));
    for (bool const described : {false, true}) {
        SCOPED_TRACE(described ? "described" : "not described");
        env.WritePackage(200, entries);
        if (described) ASSERT_NO_FATAL_FAILURE(DescribePackage(env));
        env.ClearLog();
        ExpectRefusedBeforeTheStop(env, client, old,
                                   "not enough inodes for the client in '" + env.korvane + "': ");
    }
}

// The home's volume turned read-only between two starts.
TEST(DeployVolume, AReadOnlyHomeIsFoundBeforeTheStop) {
    ServiceEnv env("8m");
    ASSERT_TRUE(env.home_ok()) << env.home_reason();
    env.InstallApp(100);
    env.WritePackage(200);
    servicetest::Client client(env.home, {"--lifetime", "60"});
    ASSERT_TRUE(client.WaitForPidFile(env.korvane + "/ui.pid", client.pid()));
    std::string const old = TreeDigest(env.app);
    ASSERT_EQ(mount(nullptr, env.home.c_str(), nullptr, MS_REMOUNT | MS_RDONLY, nullptr), 0)
        << strerror(errno);
    ExpectRefusedBeforeTheStop(env, client, old,
                               "'" + env.korvane + "' cannot be written: Read-only file system");
}

std::string Replaced(std::string text, std::string const& from, std::string const& to) {
    size_t const at = text.find(from);
    return at == std::string::npos ? text : text.replace(at, from.size(), to);
}

// A section that matches saves the count; one that disagrees with the
// package rolls the upgrade back; one that cannot be trusted is ignored.
// Without a digest the package installs as from an older packer.
TEST_F(Deploy, ThePackageDescriptionIsUsedOnlyWhenItMatches) {
    int const n = static_cast<int>(ts::ClientBundleEntries(200).size());
    std::string const N = std::to_string(n);
    struct Row {
        std::string from, to;
        int result;
        std::string logged;
        bool ignored;
    } const rows[] = {
        {"", "", 0, "the package's description names " + N + " entries: no count\n", false},
        {"entries=" + N, "entries=" + std::to_string(n + 1), -1,
         "The package's description names " + std::to_string(n + 1) +
             " entries, the package holds " + N + "\n",
         false},
        {"entries=" + N, "entries=" + std::to_string(n - 1), -1,
         "The package's description names " + std::to_string(n - 1) +
             " entries, the package holds at least " + N + "\n",
         false},
        {"size=", "size=1", 0, "ignored: 'size' is 1", true},
        {"bytes=", "bytes=x", 0, "ignored: 'bytes' is not a decimal number: 'x", true},
        {"entries=" + N, "entries=0", 0, "ignored: 'entries' is out of range: 0\n", true},
        {"\nsize=", "\nsha256=" + std::string(63, 'a') + "\nsize=", 0,
         "ignored: 'sha256' is not 64 hex digits: '" + std::string(63, 'a') + "'\n", true},
        // The package's own digest, in upper case: proven, and used.
        {"\nsize=", "\nsha256=<digest>\nsize=", 0, "package digest checked in ", false},
    };
    for (Row const& row : rows) {
        SCOPED_TRACE(row.to);
        ts::RemoveTree(env.app);
        env.InstallApp(100);
        std::string const old = TreeDigest(env.app);
        env.ClearLog();
        env.WritePackage(200);
        PackageDescription d;
        std::string err;
        ASSERT_TRUE(packagedesc::Describe(env.package, &d, &err)) << err;
        std::string digest = ts::Sha256Sum(env.package);
        for (char& c : digest) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
        std::string const info =
            Replaced(Replaced(ts::InfoText(200) + packagedesc::SectionText(d), row.from, row.to),
                     "<digest>", digest);
        ASSERT_TRUE(ts::WriteFile(env.resources + "/INFO", info));
        EXPECT_EQ(RunSequence(), row.result);
        EXPECT_NE(env.Log().find(row.logged), std::string::npos) << env.Log();
        EXPECT_EQ(env.CountInLog("[WARNING] cloud-service"), row.ignored ? 1u : 0u)
            << "one warning";
        EXPECT_EQ(env.CountInLog("no count"), row.ignored ? 0u : 1u);
        if (row.result == 0)
            EXPECT_TRUE(servicetest::CompleteInstall(env));
        else
            EXPECT_EQ(TreeDigest(env.app), old);
    }
}

// An upgrade interrupted mid-extraction, resumed with a package that is not
// the one described: refused all the same (a plain tar would extract as it
// is), and the fragment, the backup and the mark stay as the crash left
// them, so that a sound package later resumes from the backup.
TEST_F(Deploy, AnUnfinishedInstallRefusesAPackageThatIsNotTheOneDescribedAndPutsTheOldBack) {
    env.InstallApp(100);
    ASSERT_EQ(rename(env.app.c_str(), (env.app + "_tmp").c_str()), 0);
    ASSERT_TRUE(ts::MakeDirs(env.app + "/Contents/Resources") &&
                ts::WriteFile(env.app + "/Contents/Resources/INFO", ts::InfoText(200)) &&
                ts::WriteFile(env.app + ".installing", "Korvane.app_tmp"));
    std::string const old = TreeDigest(env.app + "_tmp");
    auto entries = ts::ClientBundleEntries(200);
    entries.push_back(ts::ArchiveEntry::file("Contents/Resources/payload.bin", Noise(5000, 9)));
    ASSERT_EQ(
        ts::WriteArchive(env.package, entries, ts::ArchiveFormat::Pax, ts::ArchiveFilter::None),
        "");
    std::string const described = ts::Sha256Sum(env.package);
    entries.back().data[2500] = static_cast<char>(entries.back().data[2500] ^ 1);
    ASSERT_EQ(
        ts::WriteArchive(env.package, entries, ts::ArchiveFormat::Pax, ts::ArchiveFilter::None),
        "");
    PackageDescription d;
    std::string err;
    ASSERT_TRUE(packagedesc::Describe(env.package, &d, &err)) << err;
    d.sha256 = described;
    ASSERT_TRUE(
        ts::WriteFile(env.resources + "/INFO", ts::InfoText(200) + packagedesc::SectionText(d)));
    EXPECT_EQ(RunSequence(), -1);
    // Not installed, and the old client is back from its backup.
    EXPECT_EQ(TreeDigest(env.app), old);
    EXPECT_EQ(Leftovers(env.app), "");
    EXPECT_TRUE(MacService().IsBundleComplete());
    EXPECT_EQ(env.CountInLog("[ERROR]"), 1u) << env.Log();
    EXPECT_EQ(env.CountInLog("is not the one described: its SHA-256 is " +
                             ts::Sha256Sum(env.package) + ", the description names " + described),
              1u)
        << env.Log();

    env.WritePackage(200);
    EXPECT_EQ(RunSequence(), 0);
    EXPECT_TRUE(servicetest::CompleteInstall(env));
}

// A bundle whose package holds an older client than its INFO names would
// install again on every start: say so.
TEST_F(Deploy, AnInstallBelowTheLaunchersBuildIsAnError) {
    env.WritePackage(200, ts::ClientBundleEntries(150));
    EXPECT_EQ(RunSequence(), 0);
    EXPECT_NE(env.Log().find("[ERROR] mac/mac-service"), std::string::npos);
    EXPECT_NE(env.Log().find("installed build_version '150' is lower than the launcher's '200'"),
              std::string::npos)
        << env.Log();
    env.ClearLog();
    env.WritePackage(200);
    EXPECT_EQ(RunSequence(), 0);
    EXPECT_EQ(env.Log().find("is lower than"), std::string::npos);
}

// Root ignores folder permissions, so these run as nobody.
class DeployUnwritable : public ::testing::Test {
protected:
    ServiceEnv env;
    void SetUp() override {
        ASSERT_TRUE(ts::IsRoot()) << "needs root to switch to nobody";
        chmod(env.root.c_str(), 0755);
        env.WritePackage(200);
    }
    void OwnHomeAsNobody() {
        std::string const cmd = "chown -R 65534:65534 '" + env.home + "'";
        ASSERT_EQ(system(cmd.c_str()), 0);
    }
};

TEST_F(DeployUnwritable, AReadOnlyClientFolderLeavesTheOldBundle) {
    env.InstallApp(100);
    OwnHomeAsNobody();
    chmod(env.korvane.c_str(), 0555);
    std::string const old = TreeDigest(env.app);
    int rc = ts::RunAsNobody([] {
        MacService s;
        return s.PrepareUserEnv() == -1 ? 0 : 1;
    });
    EXPECT_EQ(rc, 0);
    EXPECT_EQ(TreeDigest(env.app), old);
    EXPECT_EQ(Leftovers(env.app), "");
}

TEST_F(DeployUnwritable, AReadOnlyClientFolderRefusesAFirstInstall) {
    ts::MakeDirs(env.korvane);
    OwnHomeAsNobody();
    chmod(env.korvane.c_str(), 0555);
    int rc = ts::RunAsNobody([] {
        MacService s;
        return s.PrepareUserEnv() == -1 ? 0 : 1;
    });
    EXPECT_EQ(rc, 0);
    EXPECT_EQ(ts::ListTree(env.korvane), "");
}

// A client bundle with read-only folders (0555) and files, as packaging often makes them.
std::vector<ts::ArchiveEntry> ReadOnlyBundle(int build) {
    auto entries = ts::ClientBundleEntries(build);
    for (auto& e : entries)
        if (e.kind != ts::ArchiveEntry::Symlink) e.mode &= 0555;
    return entries;
}

TEST_F(DeployUnwritable, ReadOnlyClientFoldersAreUpgradedAgainAndAgainWithoutBackups) {
    ServiceEnv::Materialize(env.app, ReadOnlyBundle(100));
    OwnHomeAsNobody();
    // More upgrades than there are backup names.
    for (int build = 200; build <= 210; ++build) {
        SCOPED_TRACE("build " + std::to_string(build));
        env.WritePackage(build, ReadOnlyBundle(build));
        EXPECT_EQ(ts::RunAsNobody([] { return RunSequence(); }), 0);
        ASSERT_EQ(Leftovers(env.app), "") << env.Log();
        ASSERT_TRUE(servicetest::CompleteInstall(env));
    }
}

// Sets or clears the immutable attribute, as chattr does: not even the
// owner or root can remove the file while it is set.
bool SetImmutable(std::string const& path, bool on) {
    int const fd = open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOFOLLOW | O_CLOEXEC);
    if (fd < 0) return false;
    int flags = 0;
    bool ok = ioctl(fd, FS_IOC_GETFLAGS, &flags) == 0;
    if (ok) {
        flags = on ? flags | FS_IMMUTABLE_FL : flags & ~FS_IMMUTABLE_FL;
        ok = ioctl(fd, FS_IOC_SETFLAGS, &flags) == 0;
    }
    close(fd);
    return ok;
}

// Without the attribute the tests that pin a file prove nothing.
::testing::AssertionResult KeepsImmutable(std::string const& root) {
    std::string const probe = root + "/probe";
    if (ts::WriteFile(probe, "p") && SetImmutable(probe, true) && SetImmutable(probe, false))
        return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure()
           << "the test folder's file system does not keep the immutable attribute";
}

TEST_F(DeployUnwritable, AFailedRollbackIsLoggedAndRepairedByTheNextRun) {
    ASSERT_TRUE(KeepsImmutable(env.root));
    env.InstallApp(100);
    std::string const old = TreeDigest(env.app);
    // The extraction fails after the bundle's own entries: the last one would
    // pass through a link out of the bundle and is refused.
    auto entries = ts::ClientBundleEntries(200);
    entries.push_back(ts::ArchiveEntry::symlink("Contents/out", env.root));
    entries.push_back(ts::ArchiveEntry::file("Contents/out/escaped", "x"));
    env.WritePackage(200, entries);
    OwnHomeAsNobody();

    // While the user's launcher extracts, root pins a file of the fragment,
    // so the rollback cannot remove it. The attribute goes in every case.
    std::string const pinned = env.app + "/Contents/Resources/INFO";
    struct Unpin {
        std::string path;
        ~Unpin() { SetImmutable(path, false); }
    } const unpin{pinned};
    int ask[2], done[2];
    ASSERT_EQ(pipe2(ask, O_CLOEXEC), 0);
    ASSERT_EQ(pipe2(done, O_CLOEXEC), 0);
    bool was_pinned = false;
    // The child below is forked while this thread lives: it must have started
    // (past the allocations of its start-up) and wait in its read first, or
    // the child may inherit an allocator lock that nobody ever releases.
    std::atomic<bool> waiting{false};
    std::thread pinner([&] {
        char c = 0;
        waiting = true;
        if (read(ask[0], &c, 1) != 1) return;
        was_pinned = SetImmutable(pinned, true);
        (void)!write(done[1], &c, 1);
    });
    for (int i = 0; i < 5000 && !waiting; ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    int const rc = ts::RunAsNobody([&] {
        QObject context;
        bool asked = false;
        // Entry 5 is the INFO: from entry 6 on it is on disk.
        QObject::connect(
            Notify_Adapter::GetInstance(), &Notify_Adapter::sigUpdateProgress, &context,
            [&](int, int current) {
                char c = 'p';
                if (asked || current < 6) return;
                asked = true;
                if (write(ask[1], &c, 1) == 1) (void)!read(done[0], &c, 1);
            },
            Qt::DirectConnection);
        MacService s;
        return s.PrepareUserEnv() == -1 ? 0 : 1;
    });
    for (int fd : {ask[1], done[0]}) close(fd);  // the pinner ends if never asked
    pinner.join();
    for (int fd : {ask[0], done[1]}) close(fd);
    ASSERT_TRUE(was_pinned) << "the extraction never reached the INFO";
    EXPECT_EQ(rc, 0);
    std::string const log = env.Log();
    EXPECT_NE(log.find("rollback: failed to remove '" + env.app + "'\n"), std::string::npos) << log;
    EXPECT_NE(
        log.find("rollback: failed to move '" + env.app + "_tmp' back to '" + env.app + "'\n"),
        std::string::npos)
        << log;

    // What is left at the bundle's place is not the client to start.
    EXPECT_FALSE(MacService().IsBundleComplete());

    // The next start sees the unfinished deployment and puts the old bundle back.
    ASSERT_TRUE(SetImmutable(pinned, false));
    EXPECT_EQ(ts::RunAsNobody([] {
                  MacService s;
                  s.PreUpgrade();
                  return s.IsNeedUpgrade() && s.HandlePackageUpgrade() == -1 ? 0 : 1;
              }),
              0);
    EXPECT_EQ(TreeDigest(env.app), old);
    EXPECT_EQ(Leftovers(env.app), "");
}

TEST_F(Deploy, ARollbackThatCannotRemoveTheMarkStillVouchesForTheOldBundle) {
    ASSERT_TRUE(KeepsImmutable(env.root));
    env.InstallApp(100);
    std::string const old = TreeDigest(env.app);
    TruncatedPackage(env, 200);
    static std::string mark;
    mark = env.app + ".installing";
    struct Unpin {
        ~Unpin() { SetImmutable(mark, false); }
    } const unpin;
    // Once the old bundle is aside, its mark can no longer be removed.
    Extractor::Hooks hooks;
    hooks.entry_on_disk = [](int done) {
        if (done == 1) SetImmutable(mark, true);
    };
    Extractor::SetHooks(hooks);
    MacService s;
    EXPECT_EQ(s.PrepareUserEnv(), -1);
    Extractor::SetHooks({});
    EXPECT_EQ(env.CountInLog("rollback: failed to remove install mark '" + mark + "'\n"), 1u)
        << env.Log();
    EXPECT_EQ(TreeDigest(env.app), old);
    EXPECT_TRUE(MacService().IsBundleComplete());
}

TEST_F(Deploy, TheClientsExecutableIsNamedOnlyOnceEveryOtherEntryIsOnDisk) {
    env.InstallApp(100);
    auto entries = ts::ClientBundleEntries(200);
    // A hard link to the executable, spelled otherwise, comes after it.
    entries.push_back(ts::ArchiveEntry::hardlink("Contents/MacOS/korvane-ui-link",
                                                 "./Contents/MacOS/korvane-ui"));
    env.WritePackage(200, entries);
    static std::string ui;
    static int seen = 0;
    ui = env.app + "/Contents/MacOS/korvane-ui";
    seen = 0;
    Extractor::Hooks hooks;
    hooks.entry_on_disk = [](int) { seen += ts::PathExists(ui) ? 1 : 0; };
    hooks.before_named_last = [] { seen += ts::PathExists(ui) ? 1 : 0; };
    Extractor::SetHooks(hooks);
    MacService s;
    EXPECT_EQ(s.PrepareUserEnv(), 0);
    Extractor::SetHooks({});
    s.FinishDeployment();
    EXPECT_EQ(seen, 0) << "a start could have run a part of the bundle";
    EXPECT_TRUE(servicetest::CompleteInstall(env));
    struct stat a, b;
    ASSERT_EQ(stat(ui.c_str(), &a), 0);
    ASSERT_EQ(stat((ui + "-link").c_str(), &b), 0);
    EXPECT_EQ(a.st_ino, b.st_ino);
}

// ---- Crashes ----

// Runs the worker's sequence in a child that kills itself when `arm` says so;
// returns true when the child died of SIGKILL.
template <typename Arm>
bool CrashChild(Arm arm) {
    pid_t pid = fork();
    if (pid == 0) {
        arm();
        RunSequence();
        _exit(0);
    }
    int status = 0;
    waitpid(pid, &status, 0);
    return WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL;
}

// Kills the process once entry k is on disk, where its progress report is
// due; the report itself may wait for the count.
void KillAtEntry(int k) {
    static int target = 0;
    target = k;
    Extractor::Hooks hooks;
    hooks.entry_on_disk = [](int done) {
        if (done == target) raise(SIGKILL);
    };
    Extractor::SetHooks(hooks);
}

// Kills the process at the first inotify event of `mask` on `path`.
void KillOnEvent(std::string const& path, uint32_t mask) {
    int fd = inotify_init1(IN_CLOEXEC);
    if (fd < 0 || inotify_add_watch(fd, path.c_str(), mask) < 0) _exit(3);
    std::thread([fd] {
        char buf[4096];
        if (read(fd, buf, sizeof buf) > 0) raise(SIGKILL);
    }).detach();
}

class CrashDuringExtraction : public ::testing::TestWithParam<int> {
protected:
    ServiceEnv env;
};

TEST_P(CrashDuringExtraction, TheNextRunCompletesTheInstall) {
    env.InstallApp(100);
    env.WritePackage(200);
    ASSERT_TRUE(CrashChild([] { KillAtEntry(GetParam()); }));
    EXPECT_TRUE(ts::PathExists(env.app + ".installing"));

    MacService probe;
    probe.PreUpgrade();
    EXPECT_TRUE(probe.IsNeedUpgrade());
    EXPECT_EQ(RunSequence(), 0);
    EXPECT_TRUE(servicetest::CompleteInstall(env));
    // From the backup the crash left, as the killed run did before it died.
    EXPECT_NE(env.Log().find("reused 2 unchanged files"), std::string::npos) << env.Log();
    MacService after;
    after.PreUpgrade();
    EXPECT_FALSE(after.IsNeedUpgrade());
}

TEST(CrashBeforeTheExecutableIsNamed, TheNextStartInstallsAgain) {
    ServiceEnv env;
    env.InstallApp(100);
    env.WritePackage(200);
    ASSERT_TRUE(CrashChild([] {
        Extractor::Hooks hooks;
        hooks.before_named_last = [] { raise(SIGKILL); };
        Extractor::SetHooks(hooks);
    }));
    EXPECT_FALSE(ts::PathExists(env.app + "/Contents/MacOS/korvane-ui"));
    EXPECT_FALSE(MacService().IsBundleComplete());
    MacService probe;
    probe.PreUpgrade();
    EXPECT_TRUE(probe.IsNeedUpgrade());
    EXPECT_EQ(RunSequence(), 0);
    EXPECT_TRUE(servicetest::CompleteInstall(env));
}

TEST_P(CrashDuringExtraction, AFailureOnTheNextRunRestoresTheOldBundle) {
    env.InstallApp(100);
    std::string const old = TreeDigest(env.app);
    env.WritePackage(200);
    ASSERT_TRUE(CrashChild([] { KillAtEntry(GetParam()); }));
    CorruptPackage(env);
    EXPECT_EQ(RunSequence(), -1);
    EXPECT_EQ(TreeDigest(env.app), old);
    EXPECT_EQ(Leftovers(env.app), "");
}

TEST_P(CrashDuringExtraction, AFirstInstallIsCompletedByTheNextRun) {
    env.WritePackage(200);
    ASSERT_TRUE(CrashChild([] { KillAtEntry(GetParam()); }));
    MacService probe;
    probe.PreUpgrade();
    EXPECT_TRUE(probe.IsNeedUpgrade());
    EXPECT_EQ(RunSequence(), 0);
    EXPECT_TRUE(servicetest::CompleteInstall(env));
}

// Entry 5 is the new INFO: with it and the executable on disk the fragment
// looks current.
INSTANTIATE_TEST_SUITE_P(Entries, CrashDuringExtraction, ::testing::Values(1, 3, 5, 8, 10));

// A logout or a shutdown while the bundle is written: the signal goes to the
// whole process, whichever thread takes it.
class SignalDuringDeployment : public ::testing::TestWithParam<std::tuple<int, bool>> {
protected:
    ServiceEnv env;
};

TEST_P(SignalDuringDeployment, TheLastCompleteBundleIsBackBeforeTheLauncherEnds) {
    int const sig = std::get<0>(GetParam());
    bool const upgrade = std::get<1>(GetParam());
    if (upgrade) env.InstallApp(100);
    std::string const old = TreeDigest(env.app);
    env.WritePackage(200);
    static int signal_to_send = 0;
    signal_to_send = sig;
    pid_t const pid = fork();
    if (pid == 0) {
        Extractor::Hooks hooks;
        hooks.entry_on_disk = [](int done) {
            if (done == 3) kill(getpid(), signal_to_send);
        };
        Extractor::SetHooks(hooks);
        RunSequence();
        _exit(0);
    }
    int status = 0;
    ASSERT_EQ(waitpid(pid, &status, 0), pid);
    ASSERT_TRUE(WIFSIGNALED(status)) << "exit status " << status;
    EXPECT_EQ(WTERMSIG(status), sig);
    // Whole before any other start; a first install has nothing to put back.
    EXPECT_EQ(MacService().IsBundleComplete(), upgrade);
    if (upgrade) {
        EXPECT_EQ(TreeDigest(env.app), old);
        EXPECT_TRUE(ts::PathExists(env.app + ".part"));  // moved aside, not removed
    }
    EXPECT_EQ(RunSequence(), 0);
    EXPECT_TRUE(servicetest::CompleteInstall(env));
}

TEST(SignalIgnoredDuringDeployment, AHangupTheLauncherIgnoresLetsTheInstallFinish) {
    ServiceEnv env;
    env.InstallApp(100);
    env.WritePackage(200);
    pid_t const pid = fork();
    if (pid == 0) {
        signal(SIGHUP, SIG_IGN);  // started under nohup
        Extractor::Hooks hooks;
        hooks.entry_on_disk = [](int done) {
            if (done == 3) kill(getpid(), SIGHUP);
        };
        Extractor::SetHooks(hooks);
        _exit(RunSequence() == 0 ? 0 : 1);
    }
    int status = 0;
    ASSERT_EQ(waitpid(pid, &status, 0), pid);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "wait status " << status;
    EXPECT_TRUE(servicetest::CompleteInstall(env));
}

INSTANTIATE_TEST_SUITE_P(Signals, SignalDuringDeployment,
                         ::testing::Combine(::testing::Values(SIGTERM, SIGINT, SIGHUP),
                                            ::testing::Bool()));

class CrashOutsideExtraction : public ::testing::Test {
protected:
    ServiceEnv env;
    std::string old_;
    void SetUp() override {
        env.InstallApp(100);
        ts::MakeDirs(env.app + "_tmp/leftover");
        old_ = TreeDigest(env.app);
        env.WritePackage(200);
    }
    void ExpectRecovered() {
        EXPECT_EQ(RunSequence(), 0);
        EXPECT_TRUE(servicetest::CompleteInstall(env));
    }
};

// A service whose extraction step never returns.
class DyingService : public MacService {
public:
    int ExtractPackage() override {
        raise(SIGKILL);
        return -1;
    }
};

TEST_F(CrashOutsideExtraction, BetweenBackupAndExtractionTheOldBundleIsNeverLost) {
    pid_t pid = fork();
    if (pid == 0) {
        DyingService s;
        s.PrepareUserEnv();
        _exit(0);
    }
    int status = 0;
    waitpid(pid, &status, 0);
    ASSERT_TRUE(WIFSIGNALED(status));
    ASSERT_FALSE(ts::PathExists(env.app));
    EXPECT_EQ(TreeDigest(env.app + "_tmp1"), old_);

    // A failing extraction now must give the old bundle back.
    std::string const good = ts::ReadFile(env.package);
    CorruptPackage(env);
    EXPECT_EQ(RunSequence(), -1);
    EXPECT_EQ(TreeDigest(env.app), old_);
    EXPECT_EQ(Leftovers(env.app), "Korvane.app_tmp\n");
    ASSERT_TRUE(ts::WriteFile(env.package, good));
    ExpectRecovered();
}

TEST_F(CrashOutsideExtraction, WhenTheMarkAppears) {
    ASSERT_TRUE(CrashChild([this] { KillOnEvent(env.korvane, IN_MOVED_TO); }));
    ExpectRecovered();
}

TEST_F(CrashOutsideExtraction, WhileRemovingTheBackup) {
    // Many files make the removal long enough to be caught half-way.
    for (int i = 0; i < 3000; ++i)
        ts::WriteFile(env.app + "/Contents/Resources/f" + std::to_string(i), std::to_string(i));
    ASSERT_TRUE(CrashChild([this] { KillOnEvent(env.app + "/Contents/Resources", IN_DELETE); }));
    ASSERT_TRUE(ts::PathExists(env.app + "_tmp1/Contents")) << "the removal was not interrupted";
    EXPECT_EQ(TreeDigest(env.app), TreeDigest(env.ExtractReference()));  // already the new bundle
    // The bundle is complete: the next start finishes the clean-up and does
    // not reinstall.
    MacService probe;
    probe.PreUpgrade();
    EXPECT_FALSE(probe.IsNeedUpgrade());
    EXPECT_TRUE(servicetest::CompleteInstall(env));
}

// ---- FSCopyPath ----

TEST_F(Deploy, CopyPathCopiesFilesAndTreesAndFailsOnWhatItCannotCopy) {
    MacService s;
    std::string const src = env.root + "/src";
    ts::MakeDirs(src + "/a/b");
    ts::WriteFile(src + "/top.txt", "top");
    ts::WriteFile(src + "/a/b/deep.txt", "deep");
    EXPECT_EQ(s.FSCopyPath(src + "/top.txt", env.root + "/one.txt"), 0);
    EXPECT_EQ(ts::ReadFile(env.root + "/one.txt"), "top");
    EXPECT_EQ(s.FSCopyPath(src, env.root + "/dst"), 0);
    EXPECT_EQ(ts::ListTree(env.root + "/dst"), "a/\na/b/\na/b/deep.txt\ntop.txt\n");
    EXPECT_EQ(ts::ReadFile(env.root + "/dst/a/b/deep.txt"), "deep");

    EXPECT_EQ(s.FSCopyPath(env.root + "/missing", env.root + "/x"), -1);
    EXPECT_NE(env.Log().find("FSCopyPath: source path '" + env.root + "/missing' does not exist\n"),
              std::string::npos);

    if (!ts::IsRoot()) return;
    chmod(env.root.c_str(), 0755);
    ts::MakeDirs(env.root + "/out");
    chmod((src + "/a").c_str(), 0);
    ASSERT_EQ(system(("chown -R 65534:65534 '" + env.root + "/out'").c_str()), 0);
    std::string const from = src, to = env.root + "/out/copy";
    int rc = ts::RunAsNobody([&] {
        MacService n;
        return n.FSCopyPath(from, to) == -1 ? 0 : 1;
    });
    EXPECT_EQ(rc, 0) << "an unreadable folder must not pass for an empty one";
}

}  // namespace

// The built bundle run as a user would: as a normal user (not root), a fresh
// HOME of its own (with a space and non-ASCII letters in its path), the
// launcher bundle owned by root and read-only, the offscreen platform, LANG
// unset or C.UTF-8. Each test checks the installed files, the processes and the log.

#include <gtest/gtest.h>

#include <signal.h>
#include <sys/mount.h>
#include <sys/stat.h>
#include <sys/statvfs.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstring>
#include <memory>
#include <random>
#include <string>
#include <thread>
#include <vector>

#include "tests/app_launcher/E2ESupport.h"
#include "tests/support/ArchiveBuilder.h"
#include "tests/support/TestSupport.h"

using namespace e2e;
using testsupport::PathExists;
using testsupport::ReadFile;
using testsupport::WriteFile;

namespace {

struct LangCase {
    char const* name;
    char const* lang;  // nullptr: unset
};

class LauncherE2E : public ::testing::TestWithParam<LangCase> {
protected:
    void SetUp() override {
        ASSERT_TRUE(PathExists(LauncherExe(BuiltBundle())))
            << "build the korvane_bundle target first";
        home_ = UserHome(tmp_.path(), "home ünï çødé");
        ASSERT_FALSE(home_.empty());
        korvane_ = home_ + "/.Korvane";
        env_ = {
            {"HOME", home_},
            {"QT_QPA_PLATFORM", std::string("offscreen")},
            {"LANG", GetParam().lang ? std::optional<std::string>(GetParam().lang) : std::nullopt},
            {"LC_ALL", std::nullopt},
            {"LC_CTYPE", std::nullopt},
            {"LC_MESSAGES", std::nullopt},
            {"LANGUAGE", std::nullopt},
            // Demo clients end on their own if a test dies half-way.
            {"KORVANE_UI_LIFETIME", std::string("120")},
            {"KORVANE_UI_EXIT_DELAY", std::nullopt},
            {"KORVANE_UI_IGNORE_TERM", std::nullopt}};
        built_build_ = InfoBuild(BuiltBundle() + "/Contents/Resources/INFO");
        ASSERT_GT(built_build_, 0);
    }

    void TearDown() override {
        EXPECT_TRUE(LaunchersFor(home_).empty()) << "a launcher process was left behind";
        for (std::string const& line : ReadLines(LogPath()))
            EXPECT_TRUE(IsLogLine(line)) << "malformed log line: '" << line << "'";
        KillLeftovers(home_);
    }

    std::string LogPath() const { return korvane_ + "/log/launcher.log"; }
    std::string PidFile() const { return korvane_ + "/ui.pid"; }
    std::string InstalledInfo() const { return korvane_ + "/Korvane.app/Contents/Resources/INFO"; }
    std::string InstalledUi() const { return korvane_ + "/Korvane.app/Contents/MacOS/korvane-ui"; }

    LauncherRun Run(std::string const& bundle, EnvChanges const& extra = {}) {
        EnvChanges env = env_;
        for (auto const& e : extra) env[e.first] = e.second;
        LauncherRun r = RunLauncher(bundle, env, tmp_.path());
        EXPECT_FALSE(r.timed_out);
        return r;
    }

    std::vector<std::string> RunLines(pid_t pid) { return LinesOfPid(ReadLines(LogPath()), pid); }

    // A successful run's launcher lines and the client it started.
    pid_t ExpectClientStarted(pid_t previous) {
        pid_t const client = WaitForClient(PidFile(), previous);
        EXPECT_GT(client, 1) << "no demo client runs after the launcher";
        if (client > 1) {
            EXPECT_EQ(ExeOf(client), InstalledUi()) << "the client runs from the per-user bundle";
        }
        return client;
    }

    // Installs the built bundle's package: a first run.
    pid_t Install() {
        LauncherRun r = Run(BuiltBundle());
        EXPECT_EQ(r.exit_code, 0) << r.err;
        EXPECT_EQ(InfoBuild(InstalledInfo()), built_build_);
        return ExpectClientStarted(-1);
    }

    // Installs, then marks the installed bundle with a file no package
    // carries, so a test can tell whether it was replaced or kept.
    pid_t InstallMarked() {
        pid_t const client = Install();
        EXPECT_TRUE(WriteFile(OldMarker(), "old\n") && testsupport::GiveToUser(OldMarker()));
        return client;
    }
    // Installs, stops that client and makes the install look older than the
    // package; the stopped client's pid, or -1.
    pid_t InstallOlderAndStop() {
        pid_t const client = Install();
        if (client <= 1) return -1;
        kill(client, SIGTERM);
        if (!WaitFor(client, 5000)) return -1;
        return WriteFile(InstalledInfo(), "[Version]\nbuild_version=1\n") ? client : -1;
    }
    std::string OldMarker() const {
        return korvane_ + "/Korvane.app/Contents/Resources/old-only.txt";
    }

    testsupport::TempDir tmp_{"korvane-e2e"};
    std::unique_ptr<testsupport::TmpfsMount> volume_;  // a HOME of its own size, if any
    std::string home_, korvane_;
    EnvChanges env_;
    int built_build_ = -1;
};

TEST_P(LauncherE2E, FirstInstallThenNothingToUpgrade) {
    std::string const bundle = BuiltBundle();
    LauncherRun r = Run(bundle);
    EXPECT_EQ(r.exit_code, 0) << r.err;
    EXPECT_EQ(r.out, "lib path = '" + bundle + "/Contents/Frameworks/plugins'\n");
    EXPECT_LT(r.seconds, 10);

    // The package is installed whole, framework links included.
    EXPECT_EQ(InfoBuild(InstalledInfo()), built_build_);
    EXPECT_EQ(access(InstalledUi().c_str(), X_OK), 0);
    char link[256] = {0};
    ssize_t const n = readlink(
        (korvane_ + "/Korvane.app/Contents/Frameworks/KorvaneCore.framework/Versions/Current")
            .c_str(),
        link, sizeof(link) - 1);
    EXPECT_EQ(std::string(link, n > 0 ? static_cast<size_t>(n) : 0), "5");
    EXPECT_FALSE(PathExists(korvane_ + "/Korvane.app_tmp"));
    pid_t const first = ExpectClientStarted(-1);

    std::vector<std::string> const lines = RunLines(r.pid);
    std::vector<std::string> const info = {
        ">>> user_tarnwick_path = " + home_ + "/.Tarnwick",
        ">>> user_tarnwick_app_path = ",
        ">>> user_tarnwick_resource_path = " + home_ + "/.Tarnwick/Tarnwick.app/Contents/Resources",
        ">>> user_tarnwick_data_path = ",
        ">>> user_tarnwick_working_dir_path = ",
        ">>> user_tarnwick_korvane_ui_path = ",
        ">>> root_resource_path = " + bundle + "/Contents/Resources"};
    ASSERT_GE(lines.size(), info.size() + 2);
    for (size_t i = 0; i < info.size(); ++i) {
        EXPECT_NE(lines[i].find("[INFO] main("), std::string::npos) << lines[i];
        EXPECT_EQ(MessageOf(lines[i]), info[i]);
    }
    EXPECT_TRUE(HasMessage(lines, "running"));
    EXPECT_TRUE(HasMessage(lines, "done"));
    EXPECT_FALSE(HasMessage(lines, "no need to upgrade"));
    EXPECT_FALSE(HasMessage(lines, "Failed to upgrade package"));
    EXPECT_EQ(MessageOf(lines.back()), "done");

    // Second start: current install, nothing to do but launch.
    kill(first, SIGTERM);
    ASSERT_TRUE(WaitFor(first, 5000));
    LauncherRun again = Run(bundle);
    EXPECT_EQ(again.exit_code, 0) << again.err;
    std::vector<std::string> const lines2 = RunLines(again.pid);
    EXPECT_TRUE(HasMessage(lines2, "no need to upgrade"));
    EXPECT_TRUE(HasMessage(lines2, "done"));
    ExpectClientStarted(first);
}

TEST_P(LauncherE2E, UpgradeStopsTheRunningClientAndStartsTheNewOne) {
    pid_t const old_client = InstallMarked();
    ASSERT_GT(old_client, 1);

    std::string const next = tmp_ / "next/Korvane Client.app";
    ASSERT_TRUE(CopyBundle(next));
    ASSERT_TRUE(RepackBundle(next, built_build_ + 1, tmp_ / "stage"));

    LauncherRun r = Run(next);
    EXPECT_EQ(r.exit_code, 0) << r.err;
    EXPECT_LT(r.seconds, 10) << "stopping the client must not wait for a timeout";
    EXPECT_FALSE(Alive(old_client)) << "the old client was not stopped";
    EXPECT_EQ(InfoBuild(InstalledInfo()), built_build_ + 1);
    EXPECT_FALSE(PathExists(OldMarker())) << "bundle not replaced";
    EXPECT_FALSE(PathExists(korvane_ + "/Korvane.app_tmp"));
    pid_t const new_client = ExpectClientStarted(old_client);
    EXPECT_NE(new_client, old_client);

    std::vector<std::string> const lines = RunLines(r.pid);
    EXPECT_TRUE(HasMessage(lines, "running"));
    EXPECT_FALSE(HasMessage(lines, "no need to upgrade"));
    EXPECT_FALSE(HasMessage(lines, "Failed to upgrade package"));
    EXPECT_TRUE(HasMessage(lines, "done"));
    // Two client starts recorded: the first install's and the upgrade's.
    std::vector<std::string> const starts = ReadLines(korvane_ + "/demo-ui.log");
    EXPECT_EQ(starts.size(), 2u);
}

// Puts `entries` into a launcher bundle as its package of `build`, then lets
// `damage` change the package's bytes.
void OfferPackage(std::string const& bundle, int build,
                  std::vector<testsupport::ArchiveEntry> const& entries,
                  void (*damage)(std::string&) = nullptr) {
    std::string const res = bundle + "/Contents/Resources";
    std::string const pkg = res + "/package/tarnwick.pkv";
    ASSERT_EQ(testsupport::WriteArchive(pkg, entries), "");
    if (damage) {
        std::string bytes = ReadFile(pkg);
        damage(bytes);
        ASSERT_TRUE(WriteFile(pkg, bytes, 0444));
    }
    ASSERT_TRUE(WriteFile(res + "/INFO", testsupport::InfoText(build), 0444));
}

// Damage the check before the stop sees: the first header cannot be read, so
// the running client is left alone and nothing moves.
TEST_P(LauncherE2E, AnUnreadablePackageLeavesTheRunningClientAlone) {
    pid_t const old_client = InstallMarked();
    ASSERT_GT(old_client, 1);
    std::string const before = testsupport::TreeDigest(korvane_ + "/Korvane.app");
    std::string const bad = tmp_ / "bad/Korvane Client.app";
    ASSERT_TRUE(CopyBundle(bad));
    OfferPackage(bad, built_build_ + 5, testsupport::ClientBundleEntries(built_build_ + 5),
                 [](std::string& pkg) { pkg.resize(40); });

    LauncherRun r = Run(bad);
    EXPECT_EQ(r.exit_code, 0) << r.err;
    std::vector<std::string> const lines = RunLines(r.pid);
    EXPECT_TRUE(HasMessage(lines, "Failed to upgrade package"));
    EXPECT_TRUE(HasMessage(lines, "done"));
    EXPECT_TRUE(Alive(old_client)) << "the running client was stopped";
    EXPECT_EQ(testsupport::TreeDigest(korvane_ + "/Korvane.app"), before);
    EXPECT_FALSE(PathExists(korvane_ + "/Korvane.app_tmp"));
    EXPECT_FALSE(PathExists(korvane_ + "/Korvane.app.installing"));
}

// A package that is not the one its description names: one byte of a
// file's data changed after the digest was taken, which a plain tar never
// notices and tar.gz or zip notice only once the client is stopped. In each
// format it is refused before the stop, twice (no state is kept): the
// running client is left alone, nothing moves, and one Error names both
// digests beside the worker's report.
TEST_P(LauncherE2E, APackageThatIsNotTheOneDescribedLeavesTheRunningClientAlone) {
    pid_t const old_client = InstallMarked();
    ASSERT_GT(old_client, 1);
    std::string const before = testsupport::TreeDigest(korvane_ + "/Korvane.app");
    struct Row {
        char const* name;
        testsupport::ArchiveFormat format;
        testsupport::ArchiveFilter filter;
    } const rows[] = {
        {"tar", testsupport::ArchiveFormat::Pax, testsupport::ArchiveFilter::None},
        {"tar.gz", testsupport::ArchiveFormat::Pax, testsupport::ArchiveFilter::Gzip},
        {"zip", testsupport::ArchiveFormat::Zip, testsupport::ArchiveFilter::None},
    };
    for (Row const& row : rows) {
        SCOPED_TRACE(row.name);
        std::string const bad = tmp_ / (std::string("bad-") + row.name + "/Korvane Client.app");
        ASSERT_TRUE(CopyBundle(bad));
        std::string const res = bad + "/Contents/Resources";
        std::string const pkg = res + "/package/tarnwick.pkv";
        auto entries = testsupport::ClientBundleEntries(built_build_ + 5, ReadFile(KORVANE_UI_EXE));
        entries.push_back(testsupport::ArchiveEntry::file("Contents/Resources/payload.bin",
                                                          std::string(200000, 'p')));
        ASSERT_EQ(testsupport::WriteArchive(pkg, entries, row.format, row.filter), "");
        std::string const described = testsupport::Sha256Sum(pkg);
        entries.back().data[100000] = 'q';
        ASSERT_EQ(testsupport::WriteArchive(pkg, entries, row.format, row.filter), "");
        ASSERT_EQ(chmod(pkg.c_str(), 0444), 0);
        std::string const actual = testsupport::Sha256Sum(pkg);
        ASSERT_EQ(actual.size(), 64u);
        ASSERT_NE(actual, described);
        // Every other value describes the changed package, as one changed
        // byte leaves them.
        ASSERT_TRUE(WriteFile(res + "/INFO",
                              testsupport::InfoText(built_build_ + 5) +
                                  "\n[Package]\nentries=" + std::to_string(entries.size()) +
                                  "\nbytes=4000000\nsize=" + std::to_string(ReadFile(pkg).size()) +
                                  "\nsha256=" + described + "\n",
                              0444));
        for (int start = 0; start < 2; ++start) {
            LauncherRun r = Run(bad);
            EXPECT_EQ(r.exit_code, 0) << r.err;
            std::vector<std::string> const lines = RunLines(r.pid);
            std::vector<std::string> errors;
            for (std::string const& l : lines)
                if (l.find("[ERROR]") != std::string::npos) errors.push_back(MessageOf(l));
            std::vector<std::string> const expected = {
                "package '" + pkg + "' is not the one described: its SHA-256 is " + actual +
                    ", the description names " + described,
                "Failed to upgrade package"};
            EXPECT_EQ(errors, expected) << ReadFile(LogPath());
            EXPECT_TRUE(HasMessage(lines, "done"));
            EXPECT_TRUE(Alive(old_client)) << "the running client was stopped";
            EXPECT_EQ(testsupport::TreeDigest(korvane_ + "/Korvane.app"), before);
            EXPECT_FALSE(PathExists(korvane_ + "/Korvane.app_tmp"));
            EXPECT_FALSE(PathExists(korvane_ + "/Korvane.app.installing"));
        }
    }
}

// Damage only the extraction finds: a package of a few MB whose last gzip
// member carries a wrong CRC. The client is stopped, the old bundle comes
// back byte for byte and is started again.
TEST_P(LauncherE2E, DamageFoundDuringTheExtractionRestoresTheOldClient) {
    pid_t const old_client = InstallMarked();
    ASSERT_GT(old_client, 1);
    std::string const before = testsupport::TreeDigest(korvane_ + "/Korvane.app");
    std::string const bad = tmp_ / "bad/Korvane Client.app";
    ASSERT_TRUE(CopyBundle(bad));
    auto entries = testsupport::ClientBundleEntries(built_build_ + 5, ReadFile(KORVANE_UI_EXE));
    std::string noise(3 << 20, '\0');
    std::mt19937 rng(17);
    for (char& c : noise) c = static_cast<char>(rng() & 0xff);
    entries.push_back(testsupport::ArchiveEntry::file("Contents/Resources/payload.bin", noise));
    OfferPackage(bad, built_build_ + 5, entries, [](std::string& pkg) {
        pkg[pkg.size() - 8] = static_cast<char>(pkg[pkg.size() - 8] ^ 0x01);  // CRC32, low byte
    });

    LauncherRun r = Run(bad);
    EXPECT_EQ(r.exit_code, 0) << r.err;
    std::vector<std::string> const lines = RunLines(r.pid);
    EXPECT_TRUE(HasMessage(lines, "Failed to upgrade package"));
    EXPECT_TRUE(HasMessage(lines, "Failed to extract package, rollback to old installation"))
        << ReadFile(LogPath());
    EXPECT_FALSE(Alive(old_client)) << "the client was not stopped";
    EXPECT_EQ(testsupport::TreeDigest(korvane_ + "/Korvane.app"), before);
    EXPECT_FALSE(PathExists(korvane_ + "/Korvane.app_tmp"));
    EXPECT_FALSE(PathExists(korvane_ + "/Korvane.app.installing"));
    ExpectClientStarted(old_client);
}

// A package whose folders are read-only (0555, files 0444 or 0555), as
// application bundles often are, with `extra` small files in a read-only
// folder after the rest.
void OfferReadOnlyPackage(std::string const& bundle, int build, int extra) {
    using testsupport::ArchiveEntry;
    auto entries = testsupport::ClientBundleEntries(build, ReadFile(KORVANE_UI_EXE));
    for (ArchiveEntry& e : entries)
        if (e.kind != ArchiveEntry::Symlink) e.mode &= 0555;
    if (extra > 0) entries.push_back(ArchiveEntry::dir("Contents/Resources/extra", 0555));
    for (int i = 0; i < extra; ++i)
        entries.push_back(
            ArchiveEntry::file("Contents/Resources/extra/" + std::to_string(i), "extra\n", 0444));
    OfferPackage(bundle, build, entries);
}

TEST_P(LauncherE2E, AnUpgradeShortOfInodesLeavesTheRunningClientAndTheNextInstalls) {
    // A HOME with few inodes: the old client fits, the new one would run
    // out part-way; found before the stop.
    volume_ = std::make_unique<testsupport::TmpfsMount>(home_, "16m,nr_inodes=200");
    ASSERT_TRUE(volume_->ok()) << volume_->reason();
    ASSERT_TRUE(testsupport::GiveToUser(home_));
    pid_t const old_client = InstallMarked();
    ASSERT_GT(old_client, 1);
    std::string const before = testsupport::TreeDigest(korvane_ + "/Korvane.app");
    struct statvfs vfs {};
    ASSERT_EQ(statvfs(home_.c_str(), &vfs), 0);
    ASSERT_GT(vfs.f_ffree, 30u) << "too few inodes left for the good package below";
    std::string const next = tmp_ / "next/Korvane Client.app";
    ASSERT_TRUE(CopyBundle(next));
    OfferReadOnlyPackage(next, built_build_ + 1, static_cast<int>(vfs.f_ffree) + 5);

    LauncherRun r = Run(next);
    EXPECT_EQ(r.exit_code, 0) << r.err;
    std::vector<std::string> const lines = RunLines(r.pid);
    EXPECT_TRUE(HasMessage(lines, "Failed to upgrade package")) << ReadFile(LogPath());
    EXPECT_TRUE(std::any_of(lines.begin(), lines.end(), [this](std::string const& l) {
        return MessageOf(l).rfind("not enough inodes for the client in '" + korvane_ + "': ", 0) ==
               0;
    })) << ReadFile(LogPath());
    EXPECT_FALSE(HasMessage(lines, "Failed to extract package, rollback to old installation"));
    EXPECT_TRUE(Alive(old_client)) << "the running client was stopped";
    EXPECT_EQ(testsupport::TreeDigest(korvane_ + "/Korvane.app"), before);
    EXPECT_FALSE(PathExists(korvane_ + "/Korvane.app_tmp"));

    // The same client without the extra files fits: the next start installs it.
    OfferReadOnlyPackage(next, built_build_ + 1, 0);
    LauncherRun good = Run(next);
    EXPECT_EQ(good.exit_code, 0) << good.err;
    EXPECT_FALSE(HasMessage(RunLines(good.pid), "Failed to upgrade package"));
    EXPECT_EQ(InfoBuild(InstalledInfo()), built_build_ + 1);
    EXPECT_FALSE(PathExists(OldMarker()));
    EXPECT_FALSE(PathExists(korvane_ + "/Korvane.app_tmp"));
}

std::vector<std::string> LinesOf(std::string const& text) {
    std::vector<std::string> lines;
    for (size_t at = 0; at < text.size();) {
        size_t end = text.find('\n', at);
        if (end == std::string::npos) end = text.size();
        lines.push_back(text.substr(at, end - at));
        at = end + 1;
    }
    return lines;
}

// The home's volume turned read-only between two starts: the running client
// is not stopped, and the log, which cannot be opened, says why on
// standard error.
TEST_P(LauncherE2E, AReadOnlyHomeKeepsTheRunningClientAndSaysWhyOnStandardError) {
    volume_ = std::make_unique<testsupport::TmpfsMount>(home_, "32m");
    ASSERT_TRUE(volume_->ok()) << volume_->reason();
    ASSERT_TRUE(testsupport::GiveToUser(home_));
    pid_t const old_client = InstallMarked();
    ASSERT_GT(old_client, 1);
    std::string const before = testsupport::TreeDigest(korvane_ + "/Korvane.app");
    std::string const next = tmp_ / "next/Korvane Client.app";
    ASSERT_TRUE(CopyBundle(next));
    ASSERT_TRUE(RepackBundle(next, built_build_ + 1, tmp_ / "stage"));
    ASSERT_EQ(mount(nullptr, home_.c_str(), nullptr, MS_REMOUNT | MS_RDONLY, nullptr), 0)
        << strerror(errno);

    LauncherRun r = Run(next);
    EXPECT_EQ(r.exit_code, 0) << r.err;
    std::vector<std::string> const lines = LinesOfPid(LinesOf(r.err), r.pid);
    ASSERT_FALSE(lines.empty()) << r.err;
    EXPECT_EQ(MessageOf(lines.front()), "log file '" + LogPath() +
                                            "' cannot be opened: Read-only file system; logging "
                                            "to standard error and the system log");
    EXPECT_TRUE(HasMessage(
        lines, "'" + korvane_ + "' cannot be written: Read-only file system, not upgrading"))
        << r.err;
    EXPECT_TRUE(HasMessage(lines, "Failed to upgrade package")) << r.err;
    EXPECT_TRUE(Alive(old_client)) << "the running client was stopped";
    EXPECT_EQ(testsupport::TreeDigest(korvane_ + "/Korvane.app"), before);
    EXPECT_EQ(InfoBuild(InstalledInfo()), built_build_);
}

// No client can be started, for a cause the string table names: the user is
// told that cause.
TEST_P(LauncherE2E, NoClientToStartIsToldWithItsCause) {
    struct Case {
        char const* what;
        char const* told;
    } const cases[] = {{"no room", "The local disk is full."},
                       {"no permission", "You do not have permission to access this folder."}};
    // A package of its own size, whatever the build type.
    std::string const big = tmp_ / "big/Korvane Client.app";
    ASSERT_TRUE(CopyBundle(big));
    auto entries = testsupport::ClientBundleEntries(built_build_, ReadFile(KORVANE_UI_EXE));
    std::string noise(1 << 20, '\0');
    std::mt19937 rng(29);
    for (char& ch : noise) ch = static_cast<char>(rng() & 0xff);
    entries.push_back(testsupport::ArchiveEntry::file("Contents/Resources/payload.bin", noise));
    OfferPackage(big, built_build_, entries);
    for (Case const& c : cases) {
        SCOPED_TRACE(c.what);
        bool const no_room = std::string(c.what) == "no room";
        if (no_room) {
            volume_ = std::make_unique<testsupport::TmpfsMount>(home_, "256k");
            ASSERT_TRUE(volume_->ok()) << volume_->reason();
            ASSERT_TRUE(testsupport::GiveToUser(home_));
        } else {
            volume_.reset();
            ASSERT_TRUE(testsupport::MakeDirs(korvane_));  // root's, 0755, as a sudo run leaves it
        }
        testsupport::TempDir scratch("korvane-e2e-run");
        pid_t const launcher = Spawn({LauncherExe(big)}, env_, scratch / "out", scratch / "err");
        ASSERT_GT(launcher, 1);
        EXPECT_EQ(WaitForLauncher(launcher, 30000), Ending::WaitsOnTheUser)
            << ReadFile(scratch / "err");
        std::vector<std::string> const lines =
            no_room ? RunLines(launcher) : LinesOfPid(LinesOf(ReadFile(scratch / "err")), launcher);
        EXPECT_TRUE(HasMessage(lines, std::string("the user is told: '") + c.told + "'"))
            << ReadFile(scratch / "err") << ReadFile(LogPath());
        EXPECT_FALSE(PathExists(InstalledUi()));
        kill(launcher, SIGTERM);  // the user closes the message
        EXPECT_TRUE(WaitFor(launcher, 10000));
        if (!no_room) testsupport::RemoveTree(korvane_);
    }
}

TEST_P(LauncherE2E, MigratesThePredecessorFolder) {
    std::string const tarnwick = home_ + "/.Tarnwick";
    ASSERT_TRUE(testsupport::MakeDirs(tarnwick + "/data/sub"));
    ASSERT_TRUE(testsupport::MakeDirs(tarnwick + "/app/Tarnwick.app"));
    ASSERT_TRUE(WriteFile(tarnwick + "/data/sub/notes ü.txt", "keep me\n"));
    ASSERT_TRUE(testsupport::GiveToUser(tarnwick));
    // The predecessor's client, running with its pid file in ~/.Tarnwick.
    EnvChanges client_env = env_;
    pid_t const old = Spawn({UiExe(), "--pid-file", tarnwick + "/ui.pid"}, client_env);
    ASSERT_GT(WaitForClient(tarnwick + "/ui.pid", -1), 1);

    LauncherRun r = Run(BuiltBundle());
    EXPECT_EQ(r.exit_code, 0) << r.err;
    EXPECT_LT(r.seconds, 10);
    EXPECT_TRUE(WaitFor(old, 2000)) << "the predecessor's client was not stopped";
    EXPECT_EQ(ReadFile(korvane_ + "/data/sub/notes ü.txt"), "keep me\n");
    EXPECT_FALSE(PathExists(tarnwick));
    EXPECT_EQ(InfoBuild(InstalledInfo()), built_build_);
    ExpectClientStarted(old);
}

TEST_P(LauncherE2E, SecondLauncherLeavesAtOnce) {
    // An older install and a client that takes 4 s to stop keep the first
    // launcher busy in its upgrade.
    ASSERT_GT(InstallOlderAndStop(), 1);
    EnvChanges slow = env_;
    slow["KORVANE_UI_EXIT_DELAY"] = std::string("4");
    slow["KORVANE_UI_LIFETIME"] = std::string("60");
    pid_t const slow_client = Spawn({InstalledUi()}, slow);
    ASSERT_EQ(WaitForClient(PidFile(), -1), slow_client);

    EnvChanges env = env_;
    pid_t const first =
        Spawn({LauncherExe(BuiltBundle())}, env, tmp_ / "first.out", tmp_ / "first.err");
    ASSERT_GT(first, 1);
    // Wait until the first launcher holds the guard and works.
    bool working = false;
    for (int i = 0; i < 250 && !working; ++i) {
        working = HasMessage(RunLines(first), "running");
        if (!working) std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    ASSERT_TRUE(working) << ReadFile(tmp_ / "first.err");

    LauncherRun second = Run(BuiltBundle());
    EXPECT_EQ(second.exit_code, 0) << second.err;
    EXPECT_LT(second.seconds, 2.5);
    EXPECT_EQ(second.out, "lib path = '" + BuiltBundle() + "/Contents/Frameworks/plugins'\n");
    EXPECT_TRUE(Alive(first))
        << "the second launcher should have finished while the first still works";

    std::vector<std::string> const lines2 = RunLines(second.pid);
    ASSERT_EQ(lines2.size(), 8u);
    EXPECT_EQ(MessageOf(lines2[0]), ">>> user_tarnwick_path = " + home_ + "/.Tarnwick");
    EXPECT_EQ(MessageOf(lines2[6]),
              ">>> root_resource_path = " + BuiltBundle() + "/Contents/Resources");
    EXPECT_NE(lines2[7].find("[DEBUG] main("), std::string::npos);
    EXPECT_EQ(MessageOf(lines2[7]), "app has already launched, return");

    int st = 0;
    ASSERT_TRUE(WaitFor(first, 20000, &st));
    EXPECT_TRUE(WIFEXITED(st) && WEXITSTATUS(st) == 0);
    EXPECT_EQ(InfoBuild(InstalledInfo()), built_build_);
    EXPECT_FALSE(Alive(slow_client));
    ExpectClientStarted(slow_client);
}

// A lock file that cannot be had (its name taken by a folder) must not cost
// the user a first install: a lock in a private folder of /tmp stands in for
// it, wherever TMPDIR points.
TEST_P(LauncherE2E, ALockPathTakenByAFolderStillInstalls) {
    std::string const lock = korvane_ + "/.launcher.lock";
    ASSERT_TRUE(testsupport::MakeDirs(lock));  // nothing to flock, nothing to replace
    ASSERT_TRUE(testsupport::GiveToUser(korvane_));
    std::string const tmpdir = home_ + "/tmp";
    ASSERT_TRUE(testsupport::MakeDirs(tmpdir) && testsupport::GiveToUser(tmpdir));

    LauncherRun r = Run(BuiltBundle(), {{"TMPDIR", tmpdir}});
    EXPECT_EQ(r.exit_code, 0) << r.err;
    std::vector<std::string> const lines = RunLines(r.pid);
    EXPECT_EQ(
        std::count_if(lines.begin(), lines.end(),
                      [&](std::string const& l) {
                          return MessageOf(l).rfind(
                                     "single-instance lock '" + lock + "' unavailable (", 0) == 0 &&
                                 l.find("[WARNING]") != std::string::npos &&
                                 l.find("using '/tmp/korvane-65534/launcher-") != std::string::npos;
                      }),
        1)
        << ReadFile(LogPath());
    EXPECT_EQ(InfoBuild(InstalledInfo()), built_build_);
    pid_t const client = ExpectClientStarted(-1);

    // Two launchers at once, the stand-in guarding both: one upgrades, the
    // other leaves (or, started after the first ended, finds nothing to do).
    ASSERT_TRUE(WriteFile(InstalledInfo(), "[Version]\nbuild_version=1\n"));
    testsupport::TempDir scratch("korvane-e2e-run");
    EnvChanges env = env_;
    env["TMPDIR"] = tmpdir;
    std::vector<pid_t> launchers;
    for (int i = 0; i < 2; ++i)
        launchers.push_back(Spawn({LauncherExe(BuiltBundle())}, env,
                                  scratch / ("out" + std::to_string(i)),
                                  scratch / ("err" + std::to_string(i))));
    for (pid_t p : launchers) {
        int st = 0;
        ASSERT_TRUE(WaitFor(p, 30000, &st));
        EXPECT_TRUE(WIFEXITED(st) && WEXITSTATUS(st) == 0) << "wait status " << st;
    }
    std::vector<std::string> const all = ReadLines(LogPath());
    EXPECT_EQ(std::count_if(all.begin(), all.end(),
                            [](std::string const& l) {
                                return MessageOf(l).rfind("extract package: ", 0) == 0;
                            }),
              2)
        << "the first install and one upgrade";
    EXPECT_EQ(InfoBuild(InstalledInfo()), built_build_);
    ExpectClientStarted(client);
}

// A package damaged late: the entries before the damage are on disk when
// the extraction fails, the client's executable still under its temporary
// name. With nothing to roll back to, they are no client: none is started,
// the user is told, and the next start installs again.
TEST_P(LauncherE2E, AFirstInstallDamagedLateStartsNoClientUntilTheNextInstall) {
    for (bool const described : {false, true}) {
        SCOPED_TRACE(described ? "with the [Package] section" : "without the [Package] section");
        std::string const bad =
            tmp_ / (std::string(described ? "described" : "plain") + "/Korvane Client.app");
        ASSERT_TRUE(CopyBundle(bad));
        auto entries = testsupport::ClientBundleEntries(built_build_, ReadFile(KORVANE_UI_EXE));
        std::string noise(3 << 20, '\0');
        std::mt19937 rng(23);
        for (char& c : noise) c = static_cast<char>(rng() & 0xff);
        entries.push_back(testsupport::ArchiveEntry::file("Contents/Resources/payload.bin", noise));
        std::string const res = bad + "/Contents/Resources";
        std::string const pkg = res + "/package/tarnwick.pkv";
        ASSERT_EQ(testsupport::WriteArchive(pkg, entries), "");
        std::string info = testsupport::InfoText(built_build_);
        std::string bytes = ReadFile(pkg);
        bytes.resize(bytes.size() * 3 / 5);
        ASSERT_TRUE(WriteFile(pkg, bytes, 0444));
        if (described) {
            // A description of the whole package, sized as the cut one: it is
            // accepted, and the damage is met all the same.
            info += "\n[Package]\nentries=" + std::to_string(entries.size()) +
                    "\nbytes=4000000\nsize=" + std::to_string(bytes.size()) + "\n";
        }
        ASSERT_TRUE(WriteFile(res + "/INFO", info, 0444));

        testsupport::TempDir scratch("korvane-e2e-run");
        pid_t const launcher = Spawn({LauncherExe(bad)}, env_, scratch / "out", scratch / "err");
        ASSERT_GT(launcher, 1);
        EXPECT_EQ(WaitForLauncher(launcher, 30000), Ending::WaitsOnTheUser)
            << ReadFile(scratch / "err");
        std::vector<std::string> const lines = RunLines(launcher);
        EXPECT_TRUE(HasMessage(lines, "archive_read_extract2 failed: 'unexpected end of file'"))
            << ReadFile(LogPath());
        EXPECT_TRUE(
            HasMessage(lines, "Failed to extract package, and no old installation to rollback"));
        EXPECT_TRUE(HasMessage(lines, "the installation at '" + korvane_ +
                                          "/Korvane.app' is not complete, not starting it"));
        EXPECT_TRUE(HasMessage(lines, "no client could be started, telling the user"));
        EXPECT_FALSE(std::any_of(lines.begin(), lines.end(), [](std::string const& l) {
            return MessageOf(l).rfind("Failed to calculate total file numbers", 0) == 0;
        }));
        EXPECT_EQ(std::count_if(lines.begin(), lines.end(),
                                [](std::string const& l) {
                                    return l.find("] extractor(") != std::string::npos &&
                                           l.find("[ERROR]") != std::string::npos;
                                }),
                  1)
            << "one failure, logged once";
        EXPECT_FALSE(PathExists(InstalledUi())) << "the executable takes its name last";
        EXPECT_TRUE(PathExists(korvane_ + "/Korvane.app.installing"));
        EXPECT_FALSE(PathExists(PidFile())) << "a client was started from the fragment";
        kill(launcher, SIGTERM);  // the user closes the message
        EXPECT_TRUE(WaitFor(launcher, 10000));
    }

    Install();
    EXPECT_FALSE(PathExists(korvane_ + "/Korvane.app.installing"));
}

TEST_P(LauncherE2E, PlainFileNamedLogMeansNoLog) {
    ASSERT_TRUE(testsupport::MakeDirs(korvane_));
    ASSERT_TRUE(WriteFile(korvane_ + "/log", "not a folder\n"));
    ASSERT_TRUE(testsupport::GiveToUser(korvane_));
    LauncherRun r = Run(BuiltBundle());
    EXPECT_EQ(r.exit_code, 0) << r.err;
    EXPECT_EQ(ReadFile(korvane_ + "/log"), "not a folder\n");
    EXPECT_FALSE(PathExists(korvane_ + "/log/launcher.log"));
    EXPECT_EQ(InfoBuild(InstalledInfo()), built_build_);
    ExpectClientStarted(-1);
}

INSTANTIATE_TEST_SUITE_P(Lang, LauncherE2E,
                         ::testing::Values(LangCase{"LangUnset", nullptr},
                                           LangCase{"CUtf8", "C.UTF-8"}),
                         [](::testing::TestParamInfo<LangCase> const& i) {
                             return std::string(i.param.name);
                         });

// The user's language reaches the launcher through the locale environment:
// each of the 21 codes is chosen, its translation installed, and "tha"
// selects the Thai font family.
class LauncherLanguageE2E : public LauncherE2E {};

TEST_P(LauncherLanguageE2E, EveryCodeIsChosenFromTheEnvironment) {
    Install();
    KillLeftovers(home_);
    struct Case {
        char const* var;
        char const* value;
        char const* code;
    } const cases[] = {{"LANGUAGE", "zh_CN", "chs"},    {"LANGUAGE", "zh_TW", "cht"},
                       {"LANGUAGE", "cs_CZ", "csy"},    {"LANGUAGE", "da_DK", "dan"},
                       {"LANGUAGE", "en_US", "enu"},    {"LANGUAGE", "fr_FR", "fre"},
                       {"LANGUAGE", "de_DE", "ger"},    {"LANGUAGE", "hu_HU", "hun"},
                       {"LANGUAGE", "it_IT", "ita"},    {"LANGUAGE", "ja_JP", "jpn"},
                       {"LANGUAGE", "ko_KR", "krn"},    {"LANGUAGE", "nl_NL", "nld"},
                       {"LANGUAGE", "nb_NO", "nor"},    {"LANGUAGE", "pl_PL", "plk"},
                       {"LANGUAGE", "pt_BR", "ptb"},    {"LANGUAGE", "pt_PT", "ptg"},
                       {"LANGUAGE", "ru_RU", "rus"},    {"LANGUAGE", "es_ES", "spn"},
                       {"LANGUAGE", "sv_SE", "sve"},    {"LANGUAGE", "th_TH", "tha"},
                       {"LANGUAGE", "tr_TR", "trk"},    {"LC_ALL", "th_TH.UTF-8", "tha"},
                       {"LC_ALL", "de_DE.UTF-8", "ger"}};
    for (Case const& c : cases) {
        SCOPED_TRACE(std::string(c.var) + "=" + c.value);
        LauncherRun r = Run(BuiltBundle(), {{c.var, std::string(c.value)}});
        EXPECT_EQ(r.exit_code, 0) << r.err;
        std::string const font = std::string(c.code) == "tha" ? "Microsoft Sans Serif" : "Arial";
        EXPECT_TRUE(HasMessage(RunLines(r.pid), std::string("ui language = ") + c.code +
                                                    ", translated = 1, font = " + font));
        KillLeftovers(home_);
    }
}

INSTANTIATE_TEST_SUITE_P(Lang, LauncherLanguageE2E,
                         ::testing::Values(LangCase{"LangUnset", nullptr}),
                         [](::testing::TestParamInfo<LangCase> const& i) {
                             return std::string(i.param.name);
                         });

}  // namespace

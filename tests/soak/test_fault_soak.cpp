// The fault soak: the built launcher bundle run many times against one HOME
// that carries over from run to run, each run under one fault drawn at
// random. After every run it checks what a user relies on:
//   - ~/.Korvane/Korvane.app is absent before the first install, and
//     otherwise exactly one complete package, byte for byte;
//   - no user file in ~/.Korvane/data or ~/.Tarnwick/data is ever lost;
//   - no process but a fake client is ever signalled;
//   - every log line is well-formed.
// It also checks that a run which meets no obstacle does its job: the
// package is installed, no backup or install mark is left, the client runs.
//
//   KORVANE_SOAK_RUNS   number of runs (default 300)
//   KORVANE_SOAK_SEED   seed of the draws (default printed in the report)
//   KORVANE_SOAK_FAULT  1..6: draw only that fault (in the report's order)
//
// The whole test runs as pid 1 of a private pid namespace: a hostile pid file
// that slipped through could otherwise signal the test runner or the machine.

#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/statvfs.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstring>
#include <iostream>
#include <map>
#include <memory>
#include <optional>
#include <random>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "tests/app_launcher/E2ESupport.h"
#include "tests/soak/SoakSupport.h"
#include "tests/support/ArchiveBuilder.h"
#include "tests/support/TestSupport.h"

using testsupport::MakeDirs;
using testsupport::PathExists;
using testsupport::ReadFile;
using testsupport::WriteFile;

namespace {

constexpr unsigned long long kDefaultSeed = 20240611;
constexpr unsigned long long kDefaultRuns = 300;

enum Fault {
    kCorruptPackage,
    kFullVolume,
    kKillLauncher,
    kHostilePidFile,
    kLeftoverBackup,
    kPredecessor,
    kFaults
};
char const* const kFaultNames[kFaults] = {"corrupt package",         "full volume",
                                          "SIGKILL of the launcher", "hostile pid file",
                                          "leftover backup",         "predecessor folder"};

std::string Trimmed(std::string s) {
    while (!s.empty() && (s.back() == '\n' || s.back() == '\r')) s.pop_back();
    return s;
}

double Seconds(std::chrono::steady_clock::time_point since) {
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - since).count();
}

class FaultSoak {
public:
    FaultSoak(unsigned long long seed, int runs, int only)
        : rng_(seed), seed_(seed), runs_(runs), only_(only) {}

    void Run() {
        std::string const exe = e2e::LauncherExe(e2e::BuiltBundle());
        ASSERT_TRUE(PathExists(exe)) << "build the korvane_bundle target first";
        // The HOME is a tmpfs of its own, so a run can find it full.
        home_ = tmp_ / "home ü soak";
        ASSERT_TRUE(testsupport::OpenToOthers(tmp_.path()));
        testsupport::TmpfsMount mount(home_, "48m");
        ASSERT_TRUE(mount.ok()) << mount.reason();
        korvane_ = home_ + "/.Korvane";
        tarnwick_ = home_ + "/.Tarnwick";
        app_ = korvane_ + "/Korvane.app";
        mark_ = app_ + ".installing";
        outside_ = tmp_ / "outside";
        scratch_ = tmp_ / "scratch";
        bundle_ = tmp_ / "launcher/Korvane Client.app";
        ASSERT_TRUE(MakeDirs(outside_) && MakeDirs(scratch_));
        ASSERT_TRUE(e2e::CopyBundle(bundle_));
        log_ = std::make_unique<soak::LogChecker>(korvane_ + "/log/launcher.log");

        sentinels_.push_back(
            std::make_unique<soak::Sentinel>(false));  // the launcher's process group
        sentinels_.push_back(std::make_unique<soak::Sentinel>(true));  // a session of its own
        sentinels_.push_back(std::make_unique<soak::Sentinel>(false));
        for (auto const& s : sentinels_) ASSERT_GT(s->pid(), 1);

        auto const t0 = std::chrono::steady_clock::now();
        for (int run = 1; run <= runs_ && !::testing::Test::HasFatalFailure(); ++run) {
            // The first run always meets a predecessor, so the first install migrates.
            Fault fault = run == 1 ? kPredecessor : static_cast<Fault>(rng_() % kFaults);
            if (run > 1 && only_ >= 1 && only_ <= kFaults) fault = static_cast<Fault>(only_ - 1);
            RunOnce(run, fault);
        }
        for (std::string const& line : log_->CheckNew(true))
            Violation("log format", "malformed log line: '" + line + "'");
        double const total = Seconds(t0);

        for (pid_t pid : soak::ProcessesNamed("korvane-ui")) kill(pid, SIGKILL);
        std::ostringstream report;
        report << "fault soak: " << runs_ << " runs in " << static_cast<int>(total) << " s, seed "
               << seed_ << " (KORVANE_SOAK_SEED), " << log_->lines_checked()
               << " log lines checked\n";
        report << "faults drawn:\n";
        for (int f = 0; f < kFaults; ++f) {
            report << "  " << kFaultNames[f] << ": " << fault_counts_[f] << "\n";
            for (auto const& v : variant_counts_[f])
                report << "      " << v.first << ": " << v.second << "\n";
        }
        report << "installs completed: " << installs_ << ", kills that landed: " << kills_landed_
               << ", runs that left an install mark: " << marks_left_ << "\n";
        report << "violations: " << violations_.size() << "\n";
        for (auto const& k : violation_kinds_)
            report << "  " << k.first << ": " << k.second << "\n";
        std::cout << report.str();
        EXPECT_TRUE(violations_.empty())
            << violations_.size() << " violations, the first: " << violations_.front();
    }

private:
    // ---- drawing ----

    template <typename T>
    T Pick(std::vector<T> const& v) {
        return v[rng_() % v.size()];
    }
    bool Coin() { return rng_() % 2 == 0; }
    int Uniform(int lo, int hi) {
        return lo + static_cast<int>(rng_() % static_cast<unsigned>(hi - lo + 1));
    }

    std::string RandomName() {
        static std::vector<std::string> const stems = {"notes",  "Photo 01", "résumé",
                                                       "日本語", "a b c",    "x.tmp"};
        return Pick(stems) + "-" + std::to_string(++names_);
    }

    // Kinds: "install", "user data", "signals", "log format" (the four
    // invariants), "launcher exit" and "run incomplete" (a run that met no
    // obstacle did not do its job).
    void Violation(char const* kind, std::string const& what) {
        std::string const text = "run " + std::to_string(run_) + " (" + fault_text_ + "): " + what;
        violations_.push_back(text);
        ++violation_kinds_[kind];
        ADD_FAILURE() << text;
    }

    void Count(Fault f, std::string const& variant) {
        ++fault_counts_[f];
        ++variant_counts_[f][variant];
        fault_text_ = std::string(kFaultNames[f]) + ", " + variant;
    }

    // ---- the user's files ----

    void AddDataFile(std::string const& data_root) {
        std::string const rel =
            (Coin() ? "" : "folder " + std::to_string(Uniform(1, 3)) + "/") + RandomName();
        std::string content = "user data " + std::to_string(names_) + "\n";
        content.append(static_cast<size_t>(Uniform(0, 3000)), static_cast<char>('A' + names_ % 26));
        std::string const path = data_root + "/" + rel;
        ASSERT_TRUE(MakeDirs(path.substr(0, path.rfind('/'))));
        ASSERT_TRUE(WriteFile(path, content)) << path;
        data_[rel] = content;
    }

    void CheckData() {
        for (auto const& d : data_) {
            bool found = false;
            for (std::string const& root : {korvane_ + "/data/", tarnwick_ + "/data/"}) {
                struct stat st;
                std::string const path = root + d.first;
                if (lstat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode) &&
                    ReadFile(path) == d.second)
                    found = true;
            }
            if (!found) Violation("user data", "user file lost: data/" + d.first);
        }
    }

    // ---- installed bundles ----

    std::set<std::string> BackupNames() {
        std::set<std::string> names;
        for (int i = 0; i < 10; ++i) {
            std::string const name = "Korvane.app_tmp" + (i ? std::to_string(i) : std::string());
            if (PathExists(korvane_ + "/" + name)) names.insert(name);
        }
        return names;
    }

    // True when no backup name can take the bundle: each is a file or a
    // folder with something in it.
    bool NoBackupNameFree() {
        for (int i = 0; i < 10; ++i) {
            std::string const path =
                korvane_ + "/Korvane.app_tmp" + (i ? std::to_string(i) : std::string());
            struct stat st;
            if (lstat(path.c_str(), &st) != 0) return false;
            if (S_ISDIR(st.st_mode) && testsupport::ListTree(path).empty()) return false;
        }
        return true;
    }

    // The build of the complete package at `path`, or -1 with `why`.
    int CompleteBuild(std::string const& path, std::string* why) {
        int const build = e2e::InfoBuild(path + "/Contents/Resources/INFO");
        if (!offered_.count(build)) {
            *why = "its INFO names build " + std::to_string(build) + ", never offered";
            return -1;
        }
        std::string const diff = soak::CompareTree(path, soak::PackageEntries(build));
        if (!diff.empty()) {
            *why = "as build " + std::to_string(build) + ": " + diff;
            return -1;
        }
        return build;
    }

    // ---- faults ----

    void WriteBundlePackage(int build, bool corrupt) {
        std::string const res = bundle_ + "/Contents/Resources";
        std::string const pkg = scratch_ + "/next.pkv";
        std::string const err = soak::WritePackage(pkg, build);
        ASSERT_EQ(err, "");
        offered_.insert(build);
        if (corrupt) Corrupt(pkg, build);
        ASSERT_EQ(rename(pkg.c_str(), (res + "/package/tarnwick.pkv").c_str()), 0);
        ASSERT_TRUE(WriteFile(res + "/INFO", testsupport::InfoText(build)));
    }

    void Corrupt(std::string const& pkg, int build) {
        std::string bytes = ReadFile(pkg);
        switch (rng_() % 5) {
            case 0: {
                size_t const keep = rng_() % bytes.size();
                Count(kCorruptPackage, keep == 0 ? "empty file" : "truncated");
                bytes.resize(keep);
                break;
            }
            case 1: {
                Count(kCorruptPackage, "random bytes");
                bytes.resize(static_cast<size_t>(Uniform(1, 70000)));
                for (char& c : bytes) c = static_cast<char>(rng_() & 0xff);
                break;
            }
            case 2: {
                // A damaged medium: a few bits flipped inside the compressed stream.
                Count(kCorruptPackage, "flipped bits");
                for (int i = Uniform(1, 3); i > 0; --i) {
                    char& c = bytes[16 + rng_() % (bytes.size() - 32)];
                    c = static_cast<char>(static_cast<unsigned char>(c) ^ (1u << (rng_() % 8)));
                }
                break;
            }
            case 3: {
                // Well-formed, but the client's executable is missing.
                Count(kCorruptPackage, "no client executable");
                std::vector<testsupport::ArchiveEntry> entries = soak::PackageEntries(build);
                entries.erase(entries.begin() + 2);
                ASSERT_EQ(entries[1].path, "Contents/MacOS");
                ASSERT_EQ(testsupport::WriteArchive(pkg, entries), "");
                return;
            }
            default: {
                // Hostile entries among the good ones: a link out of the bundle
                // and a file written through it, and a name that climbs out.
                Count(kCorruptPackage, "hostile entries");
                std::vector<testsupport::ArchiveEntry> entries = soak::PackageEntries(build);
                using testsupport::ArchiveEntry;
                entries.insert(entries.begin() + 3,
                               ArchiveEntry::symlink("Contents/Resources/out", outside_));
                entries.insert(entries.begin() + 4,
                               ArchiveEntry::file("Contents/Resources/out/pwned", "pwned\n"));
                entries.push_back(ArchiveEntry::file("../escaped.txt", "escaped\n"));
                ASSERT_EQ(testsupport::WriteArchive(pkg, entries), "");
                return;
            }
        }
        ASSERT_TRUE(WriteFile(pkg, bytes));
    }

    void FillVolume() {
        long long const leave = Pick<long long>({0, 4096, 65536, 200LL * 1024});
        Count(kFullVolume,
              leave == 0 ? "no space left" : std::to_string(leave / 1024) + " KiB left");
        struct statvfs vfs;
        ASSERT_EQ(statvfs(home_.c_str(), &vfs), 0);
        long long const avail =
            static_cast<long long>(vfs.f_bavail) * static_cast<long long>(vfs.f_frsize);
        int fd = open(Filler().c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
        ASSERT_GE(fd, 0);
        if (avail > leave) {
            EXPECT_EQ(posix_fallocate(fd, 0, avail - leave), 0);
        }
        close(fd);
    }
    std::string Filler() const { return home_ + "/filler"; }

    void WriteHostilePidFile() {
        // The pid file the launcher reads: the installed client's, or the
        // predecessor's before the first install.
        bool const installed = PathExists(app_ + "/Contents/MacOS/korvane-ui");
        std::string const dir = installed ? korvane_ : tarnwick_;
        ASSERT_TRUE(MakeDirs(dir));
        std::string const path = dir + "/ui.pid";
        unlink(path.c_str());
        std::string const inn = std::to_string(sentinels_[rng_() % sentinels_.size()]->pid());
        // Values that name no single other process: nothing may be signalled.
        std::vector<std::pair<char const*, std::string>> const plain = {
            {"pid=0", "pid=0\n"},
            {"pid=-1", "pid=-1\n"},
            {"pid=4294967295", "pid=4294967295\n"},
            {"text", "pid=abc\n"},
            {"empty value", "pid=\n"},
            {"no pid key", "client=" + inn + "\n"},
            {"overflow", "pid=99999999999999999999\n"},
            {"pid=1", "pid=1\n"},
            // The tail of a long comment, and a NUL byte, make no entry.
            {"long comment ending in an innocent pid",
             "#" + std::string(70000, 'x') + "pid=" + inn + "\n"},
            {"NUL after an innocent pid", "pid=" + inn + std::string(1, '\0') + "9\n"},
        };
        size_t const pick = rng_() % (plain.size() + 3);
        if (pick < plain.size()) {
            Count(kHostilePidFile, plain[pick].first);
            ASSERT_TRUE(WriteFile(path, plain[pick].second));
            return;
        }
        switch (pick - plain.size()) {
            case 0: {
                // A pid file older than the process that now has the number.
                Count(kHostilePidFile, "innocent process, old pid file");
                ASSERT_TRUE(WriteFile(path, "pid=" + inn + "\n"));
                struct timespec times[2];
                clock_gettime(CLOCK_REALTIME, &times[0]);
                times[0].tv_sec -= 7200;
                times[1] = times[0];
                ASSERT_EQ(utimensat(AT_FDCWD, path.c_str(), times, 0), 0);
                break;
            }
            case 1: {
                // The number of a process that has ended.
                Count(kHostilePidFile, "stale pid");
                pid_t const gone = fork();
                if (gone == 0) _exit(0);
                ASSERT_TRUE(e2e::WaitFor(gone, 5000));
                ASSERT_TRUE(WriteFile(path, "pid=" + std::to_string(gone) + "\n"));
                break;
            }
            default:
                Count(kHostilePidFile, "FIFO");
                ASSERT_EQ(mkfifo(path.c_str(), 0644), 0);
                break;
        }
    }

    void PlantBackup() {
        // The name an install mark gives is the deployment's own: a crash
        // can leave it free, and nothing else ever writes there.
        std::string const marked = Trimmed(ReadFile(mark_));
        std::vector<std::string> names;
        for (int i = 0; i < 10; ++i) {
            std::string const name = "Korvane.app_tmp" + (i ? std::to_string(i) : std::string());
            if (name != marked) names.push_back(name);
        }
        ASSERT_TRUE(MakeDirs(korvane_));
        if (rng_() % 4 == 0) {
            // As after many crashes: no name is left for a backup.
            Count(kLeftoverBackup, "every name taken");
            for (std::string const& name : names) {
                std::string const path = korvane_ + "/" + name;
                struct stat st;
                if (lstat(path.c_str(), &st) != 0) {
                    ASSERT_TRUE(WriteFile(path, "not a bundle\n"));
                    planted_.insert(name);
                } else if (S_ISDIR(st.st_mode) && testsupport::ListTree(path).empty()) {
                    ASSERT_TRUE(WriteFile(path + "/junk", "junk\n"));
                }
            }
            return;
        }
        std::vector<std::string> free;
        for (std::string const& name : names) {
            if (!PathExists(korvane_ + "/" + name)) free.push_back(name);
        }
        if (free.empty()) {
            Count(kLeftoverBackup, "all names taken");
            return;
        }
        std::string const path = korvane_ + "/" + Pick(free);
        switch (rng_() % 3) {
            case 0:
                Count(kLeftoverBackup, "fragment of a bundle");
                ASSERT_TRUE(MakeDirs(path + "/Contents/Resources"));
                ASSERT_TRUE(WriteFile(path + "/Contents/Resources/INFO", testsupport::InfoText(1)));
                break;
            case 1:
                Count(kLeftoverBackup, "empty folder");
                ASSERT_TRUE(MakeDirs(path));
                break;
            default:
                Count(kLeftoverBackup, "a file");
                ASSERT_TRUE(WriteFile(path, "not a bundle\n"));
                break;
        }
        planted_.insert(path.substr(korvane_.size() + 1));
    }

    void MakePredecessor() {
        bool const client = Coin();
        Count(kPredecessor, client ? "with its client running" : "data only");
        int const files = Uniform(1, 3);
        for (int i = 0; i < files; ++i) AddDataFile(tarnwick_ + "/data");
        ASSERT_TRUE(MakeDirs(tarnwick_ + "/app/Tarnwick.app/Contents"));
        ASSERT_TRUE(WriteFile(tarnwick_ + "/app/Tarnwick.app/Contents/old", "old app\n"));
        if (client) {
            ASSERT_TRUE(testsupport::GiveToUser(home_));
            pid_t const pid =
                e2e::Spawn({e2e::UiExe()}, {{"HOME", home_},
                                            {"KORVANE_UI_PID_FILE", tarnwick_ + "/ui.pid"},
                                            {"KORVANE_UI_LIFETIME", std::string("600")}});
            ASSERT_GT(pid, 1);
            e2e::WaitForClient(tarnwick_ + "/ui.pid", -1, 5000);
        }
    }

    // ---- one run ----

    void RunOnce(int run, Fault fault) {
        run_ = run;
        fault_text_ = kFaultNames[fault];
        // The user's own files since the last run, written by the client.
        if (PathExists(app_ + "/Contents/MacOS/korvane-ui")) {
            for (int i = Uniform(0, 2); i > 0; --i) AddDataFile(korvane_ + "/data");
        }
        std::set<std::string> const backups_before = BackupNames();

        int const kill_mode = fault == kKillLauncher ? static_cast<int>(rng_() % 2) : -1;
        // Most faults matter only when there is something to deploy. After a
        // crash the user often starts the same launcher bundle again.
        bool upgrade = fault == kFullVolume || fault == kHostilePidFile ||
                       fault == kLeftoverBackup || kill_mode == 1 || Coin();
        if (last_killed_ && Coin()) upgrade = false;
        if (newest_good_ == 0 || fault == kCorruptPackage) upgrade = true;
        int const build = upgrade ? next_build_++ : newest_good_;
        WriteBundlePackage(build, fault == kCorruptPackage);
        if (fault != kCorruptPackage) newest_good_ = build;

        switch (fault) {
            case kCorruptPackage:  // counted in Corrupt
            case kFullVolume:      // filled last, below
            case kFaults: break;
            case kKillLauncher:
                Count(kKillLauncher,
                      kill_mode == 0 ? "at a random moment" : "during the deployment");
                break;
            case kHostilePidFile: WriteHostilePidFile(); break;
            case kLeftoverBackup: PlantBackup(); break;
            case kPredecessor: MakePredecessor(); break;
        }
        if (fault == kFullVolume) FillVolume();
        if (::testing::Test::HasFatalFailure()) return;
        bool const no_backup_name = NoBackupNameFree();

        e2e::EnvChanges env = {
            {"HOME", home_},
            {"QT_QPA_PLATFORM", std::string("offscreen")},
            {"LANG", Coin() ? std::optional<std::string>("C.UTF-8") : std::nullopt},
            {"LC_ALL", std::nullopt},
            {"LC_CTYPE", std::nullopt},
            {"LANGUAGE", std::nullopt},
            {"KORVANE_UI_LIFETIME", std::string("900")},
            {"KORVANE_UI_EXIT_DELAY", std::nullopt},
            {"KORVANE_UI_IGNORE_TERM", std::nullopt},
            {"KORVANE_UI_PID_FILE", std::nullopt}};
        for (auto const& e : soak::SanitizerEnv()) env[e.first] = e.second;
        std::string const out = scratch_ + "/run.out", err = scratch_ + "/run.err";
        struct stat st;
        ino_t const old_mark = lstat(mark_.c_str(), &st) == 0 ? st.st_ino : 0;
        // What the test planted as root becomes the user's, as the user's own files are.
        ASSERT_TRUE(testsupport::GiveToUser(home_));
        auto const t0 = std::chrono::steady_clock::now();
        pid_t const pid = e2e::Spawn({e2e::LauncherExe(bundle_)}, env, out, err);
        ASSERT_GT(pid, 1);
        int status = 0;
        bool ended = false, killed = false;
        if (kill_mode == 0) {
            ended = e2e::WaitFor(pid, Uniform(0, static_cast<int>(mean_run_ms_ * 1.2)), &status);
        } else if (kill_mode == 1) {
            // Wait for the deployment to begin (a new mark appears), then a little more.
            while (!(ended = e2e::WaitFor(pid, 1, &status)) && Seconds(t0) < 30) {
                if (lstat(mark_.c_str(), &st) == 0 && st.st_ino != old_mark) {
                    ended = e2e::WaitFor(pid, Uniform(0, 40), &status);
                    break;
                }
            }
        }
        if (kill_mode >= 0 && !ended) {
            kill(pid, SIGKILL);
            killed = true;
            ++kills_landed_;
        }
        last_killed_ = killed;
        e2e::Ending const ending = e2e::WaitForLauncher(pid, 60000, &status);
        bool const timed_out = ending == e2e::Ending::TimedOut;
        // A run that could start no client tells the user and waits for them:
        // close it as a logout would.
        bool const told = ending == e2e::Ending::WaitsOnTheUser;
        if (timed_out || told) {
            kill(pid, told ? SIGTERM : SIGKILL);
            e2e::WaitFor(pid, 5000);
        }
        double const seconds = Seconds(t0);
        if (!killed && !timed_out && !told)
            mean_run_ms_ = 0.8 * mean_run_ms_ + 0.2 * seconds * 1000;
        unlink(Filler().c_str());

        printf("run %3d: %-48s build %d%s, %s, %.2f s\n", run, fault_text_.c_str(), build,
               upgrade ? " (new)" : "",
               killed      ? "killed"
               : timed_out ? "TIMED OUT"
               : told      ? "told the user no client starts"
                           : "ended",
               seconds);
        fflush(stdout);

        // 1. The launcher itself: exit code 0 unless the test killed it, or
        //    it said that no client could be started, and none is installed.
        if (timed_out)
            Violation("launcher exit", "the launcher did not end within 60 s");
        else if (told) {
            if (PathExists(app_ + "/Contents/MacOS/korvane-ui"))
                Violation("launcher exit", "no client started, though one is installed");
        } else if (!killed && !(WIFEXITED(status) && WEXITSTATUS(status) == 0))
            Violation("launcher exit", "the launcher ended with wait status " +
                                           std::to_string(status) + ": " + ReadFile(err));

        CheckSignals();
        CheckData();
        for (std::string const& line : log_->CheckNew())
            Violation("log format", "malformed log line: '" + line + "'");
        CheckInstall(fault, build, killed, backups_before, no_backup_name);
        // With every backup name taken no upgrade can succeed, and the
        // launcher leaves leftovers of earlier runs alone: clear them, as the
        // user would, once no deployment is pending.
        if (no_backup_name && !PathExists(mark_)) {
            for (int i = 0; i < 10; ++i)
                testsupport::RemoveTree(korvane_ + "/Korvane.app_tmp" +
                                        (i ? std::to_string(i) : std::string()));
        }
        if (!testsupport::ListTree(outside_).empty() || PathExists(korvane_ + "/escaped.txt"))
            Violation("install", "the package wrote outside the bundle");
        if (!killed && PathExists(tarnwick_ + "/app"))
            Violation("run incomplete", "~/.Tarnwick/app was not removed");

        // Drop planted names that are gone: the launcher may use them again.
        for (auto it = planted_.begin(); it != planted_.end();)
            it = PathExists(korvane_ + "/" + *it) ? std::next(it) : planted_.erase(it);
        TidyClients();
    }

    void CheckSignals() {
        for (auto& s : sentinels_) {
            for (int sig : s->TakeSignals()) {
                Violation("signals", "innocent process " + std::to_string(s->pid()) + " got " +
                                         strsignal(sig));
            }
            std::string const state = s->State();
            if (!state.empty()) {
                Violation("signals", "innocent process " + std::to_string(s->pid()) + " " + state);
                s = std::make_unique<soak::Sentinel>(false);
            }
        }
        for (int sig : soak::TakeOwnSignals())
            Violation("signals", std::string("the test process got ") + strsignal(sig));
    }

    void CheckInstall(Fault fault, int build, bool killed,
                      std::set<std::string> const& backups_before, bool no_backup_name) {
        // With every backup name taken the upgrade must fail, keeping the old bundle.
        bool const failed_install =
            fault == kCorruptPackage || fault == kFullVolume || no_backup_name;
        struct stat st;
        if (lstat(mark_.c_str(), &st) == 0) {
            // A deployment that did not finish: allowed only when it was cut
            // short or could not succeed; a complete package must still exist
            // somewhere once one was installed.
            ++marks_left_;
            if (!killed && !failed_install)
                Violation("run incomplete",
                          "an install mark was left by a run that met no obstacle");
            if (ever_installed_) {
                bool complete = false;
                std::set<std::string> candidates = BackupNames();
                candidates.insert("Korvane.app");
                for (std::string const& name : candidates) {
                    std::string why;
                    if (!planted_.count(name) && PathExists(korvane_ + "/" + name) &&
                        CompleteBuild(korvane_ + "/" + name, &why) > 0)
                        complete = true;
                }
                if (!complete)
                    Violation(
                        "install",
                        "no complete package is left anywhere during an unfinished deployment");
            }
            return;
        }

        int installed = -1;
        if (!PathExists(app_)) {
            if (ever_installed_) Violation("install", "Korvane.app vanished after an install");
        } else {
            std::string why;
            installed = CompleteBuild(app_, &why);
            if (installed < 0) {
                Violation("install", "Korvane.app is not one complete package: " + why);
            } else {
                if (!ever_installed_ || installed != installed_) ++installs_;
                ever_installed_ = true;
                installed_ = installed;
            }
        }
        if (killed) return;

        // Without the mark a run leaves no backup of its own.
        for (std::string const& name : BackupNames()) {
            if (!backups_before.count(name) && !planted_.count(name))
                Violation("install", "backup " + name + " left behind");
        }
        // A run that met no obstacle installs its package and starts the client.
        if (!failed_install && installed != build)
            Violation("run incomplete", "build " + std::to_string(build) +
                                            " not installed (found " + std::to_string(installed) +
                                            ")");
        if (fault != kFullVolume && installed > 0) {
            pid_t const client = e2e::WaitForClient(korvane_ + "/ui.pid", -1, 5000);
            if (client <= 1 || e2e::ExeOf(client) != app_ + "/Contents/MacOS/korvane-ui")
                Violation("run incomplete", "no client of the installed bundle runs after the run");
        }
    }

    // Fake clients: those the pid file no longer names are stopped; the named
    // one is kept running, stopped, or killed so that its pid file goes stale.
    void TidyClients() {
        pid_t const named = e2e::ReadPidFile(korvane_ + "/ui.pid");
        for (pid_t pid : soak::ProcessesNamed("korvane-ui")) {
            if (pid == named) {
                int const how = static_cast<int>(rng_() % 3);
                if (how == 0) continue;
                kill(pid, how == 1 ? SIGTERM : SIGKILL);
            } else {
                kill(pid, SIGKILL);
            }
            e2e::WaitFor(pid, 5000);
        }
    }

    testsupport::TempDir tmp_{"korvane-soak"};
    std::mt19937_64 rng_;
    unsigned long long seed_;
    int runs_;
    int only_;
    std::string home_, korvane_, tarnwick_, app_, mark_, outside_, scratch_, bundle_;
    std::unique_ptr<soak::LogChecker> log_;
    std::vector<std::unique_ptr<soak::Sentinel>> sentinels_;

    int run_ = 0;
    std::string fault_text_;
    int next_build_ = 200, newest_good_ = 0, installed_ = -1, names_ = 0;
    bool ever_installed_ = false, last_killed_ = false;
    double mean_run_ms_ = 500;
    std::set<int> offered_;
    std::set<std::string> planted_;
    std::map<std::string, std::string> data_;  // relative path below data/ -> content

    int fault_counts_[kFaults] = {};
    std::map<std::string, int> variant_counts_[kFaults];
    int installs_ = 0, kills_landed_ = 0, marks_left_ = 0;
    std::vector<std::string> violations_;
    std::map<std::string, int> violation_kinds_;
};

TEST(FaultSoak, EveryRunKeepsTheInvariants) {
    if (!soak::Isolated()) {
        // Bounded well inside CTest's limit, so that a hang still shows its output.
        soak::IsolatedRun const r = soak::RerunIsolated(20 * 60 * 1000);
        ASSERT_TRUE(r.started) << r.why_not;
        std::cout << r.output;
        EXPECT_EQ(r.exit_code, 0)
            << "the soak failed or did not end within 20 minutes (output above)";
        return;
    }
    soak::BecomeIsolatedInit();
    FaultSoak soak(soak::EnvNumber("KORVANE_SOAK_SEED", kDefaultSeed),
                   static_cast<int>(soak::EnvNumber("KORVANE_SOAK_RUNS", kDefaultRuns)),
                   static_cast<int>(soak::EnvNumber("KORVANE_SOAK_FAULT", 0)));
    soak.Run();
}

}  // namespace

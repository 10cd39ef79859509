#pragma once
// What bench_install and its upgrade pairs share: timed runs of processes
// as the normal user, the generated client packages and the launcher copies.

#include <archive.h>
#include <archive_entry.h>
#include <dirent.h>
#include <fcntl.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iterator>
#include <optional>
#include <set>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "extract/package-description.h"
#include "extract/sha256.h"
#include "pack/package-writer.h"
#include "real_bytes.h"

namespace install_kit {

constexpr uid_t kUser = 65534;
constexpr int kBuild = 900;  // the packaged build; an upgrade starts from build 1
constexpr char const* kLauncherInBundle = "/Contents/MacOS/" KORVANE_LAUNCHER_NAME;
constexpr char const* kPackageInBundle = "/Contents/Resources/package/tarnwick.pkv";

[[noreturn]] inline void Fail(std::string const& what) {
    fprintf(stderr, "bench_install: %s\n", what.c_str());
    exit(1);  // NOLINT(concurrency-mt-unsafe): one thread
}

inline std::string InfoText(int build) {
    return "[Version]\nmajor_version=1\nminor_version=0\nbuild_version=" + std::to_string(build) +
           "\nicon_overlay_version=1\n";
}

inline double Now() {
    return std::chrono::duration<double>(std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

inline double Median(std::vector<double> v) {
    if (v.empty()) return 0;
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

inline double Seconds(timeval const& t) {
    return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_usec) / 1e6;
}

struct Run {
    double wall = 0;
    double cpu = 0;     // user + system
    double client = 0;  // until the started client logged its start, when watched
    long rss_kb = 0;
    bool ok = false;
    std::string why;  // what a failed launcher run got wrong
};

inline uint64_t FileSize(std::string const& path) {
    struct stat st {};
    return stat(path.c_str(), &st) == 0 ? static_cast<uint64_t>(st.st_size) : 0;
}

// Forks and execs argv, optionally as the normal user, with output thrown
// away; waits with wait4 for its times and peak memory. With `watch`, also
// notes when that file first grows: the user's wait for the client.
inline Run Exec(std::vector<std::string> argv, bool as_user, std::string const& watch = "") {
    if (as_user) {
        std::vector<std::string> const drop{"setpriv", "--reuid=65534", "--regid=65534",
                                            "--clear-groups"};
        argv.insert(argv.begin(), drop.begin(), drop.end());
    }
    std::vector<char*> args;
    for (auto& a : argv) args.push_back(&a[0]);
    args.push_back(nullptr);
    Run r;
    double const start = Now();
    pid_t const pid = fork();
    if (pid < 0) return r;
    if (pid == 0) {
        int const null = open("/dev/null", O_RDWR);
        dup2(null, 1);
        dup2(null, 2);
        execvp(args[0], args.data());
        _exit(127);
    }
    int status = 0;
    struct rusage ru {};
    uint64_t const watched = watch.empty() ? 0 : FileSize(watch);
    for (;;) {
        pid_t const got = wait4(pid, &status, watch.empty() ? 0 : WNOHANG, &ru);
        if (got == pid) break;
        if (got < 0 && errno != EINTR) return r;
        if (got == 0) {
            if (r.client == 0 && FileSize(watch) > watched) r.client = Now() - start;
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        }
    }
    r.wall = Now() - start;
    // The launcher may exit before the client it started has logged; on a
    // busy machine that takes a while, so go on watching, for a bound.
    for (int i = 0; !watch.empty() && r.client == 0 && i < 10000; ++i) {
        if (FileSize(watch) > watched)
            r.client = Now() - start;
        else
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    r.cpu = Seconds(ru.ru_utime) + Seconds(ru.ru_stime);
    r.rss_kb = ru.ru_maxrss;
    r.ok = WIFEXITED(status) && WEXITSTATUS(status) == 0;
    return r;
}

inline void Must(std::vector<std::string> const& argv) {
    if (!Exec(argv, false).ok) Fail("failed: " + argv[0] + " " + argv.back());
}

inline std::string ReadAll(std::string const& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// ---------------------------------------------------------------- packages

using real_bytes::Kind;

// --synthetic: the clients' bytes are Content's noise and words instead of
// real files' (real_bytes.h).
inline bool synthetic_client = false;

// The synthetic contents, with about the compressibility gzip finds in a
// real client: 4 KB blocks of either noise or words, `noise` in 16 of them
// noise (16: images, 0: text).
class Content {
public:
    Content() = default;
    explicit Content(uint64_t seed) : state_(seed | 1) {}  // xorshift stays at 0
    void Fill(char* buf, size_t size, unsigned noise) {
        static constexpr char kWords[] =
            "QObject::connect QString::fromUtf8 _objc_msgSend __TEXT __cstring "
            "NSWindow QWidget::show libdeskui CFBundleIdentifier translation ";
        for (size_t done = 0; done < size;) {
            size_t const block = std::min<size_t>(4096, size - done);
            bool const random = Next() % 16 < noise;
            uint64_t word = Next();
            for (size_t i = 0; i < block; ++i) {
                if (random) {
                    if (i % 8 == 0) word = Next();
                    buf[done + i] = static_cast<char>(word >> (8 * (i % 8)));
                } else {
                    if (i % 24 == 0) word = Next();
                    buf[done + i] = kWords[(word % 97 + i) % (sizeof kWords - 1)];
                }
            }
            done += block;
        }
    }
    uint64_t Next() {  // xorshift64
        state_ ^= state_ << 13;
        state_ ^= state_ >> 7;
        state_ ^= state_ << 17;
        return state_;
    }

private:
    uint64_t state_ = 0x9e3779b97f4a7c15ULL;
};

struct PackStats {
    int entries = 0;
    int files = 0;
    int links = 0;
    uint64_t bytes = 0;
};

// Writes one tree into several packages at once, so that every format holds
// the same entries, streamed in blocks (this process stays small).
class Packer {
public:
    void Open(std::string const& format, std::string const& path) {
        if (format == "tar.zst-cli") {
            // A plain tar first, squeezed by the zstd tool once written.
            pending_.push_back(path);
            Open("tar", path + ".tar");
            return;
        }
        archive* a = archive_write_new();
        if (format == "zip") {
            archive_write_set_format_zip(a);
        } else {
            archive_write_set_format_pax_restricted(a);
            if (format == "tar.gz") archive_write_add_filter_gzip(a);
            if (format == "tar.xz") {
                archive_write_add_filter_xz(a);
                // Level 1 keeps the packing quick; reading costs about the same.
                archive_write_set_filter_option(a, "xz", "compression-level", "1");
            }
        }
        int r;
        if (format == "tar.zst") {
            // As korvane-pack writes it: its level, checksums, every core.
            int const fd = open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
            if (fd < 0) Fail(path + ": cannot create");
            fds_.push_back(fd);
            r = pack::OpenZstdWriter(a, fd, pack::kZstdLevel) ? ARCHIVE_OK : ARCHIVE_FATAL;
        } else {
            r = archive_write_open_filename(a, path.c_str());
        }
        if (r != ARCHIVE_OK) Fail(path + ": " + archive_error_string(a));
        out_.push_back(a);
    }
    void Close() {
        for (archive* a : out_) {
            if (archive_write_close(a) != ARCHIVE_OK) Fail(archive_error_string(a));
            archive_write_free(a);
        }
        out_.clear();
        for (int fd : fds_)
            if (close(fd) != 0) Fail("cannot close a package");
        fds_.clear();
        for (std::string const& path : pending_)
            Must({"zstd", "-q", "-19", "--long=27", "-T0", "--rm", path + ".tar", "-o", path});
        pending_.clear();
    }
    void Bytes(std::string const& path, std::string const& data, int mode) {
        Header(path, AE_IFREG, mode, data.size(), "");
        Data(data.data(), data.size());
    }
    // A file of `size` bytes of the kind, plus `grow` more. Real bytes come
    // from the kind's stream, one file after the other by their `size`, so
    // that a file's place does not depend on how much others grew; a salt
    // takes them from further on in the stream instead.
    void File(std::string const& path, uint64_t size, int mode, Kind kind, uint64_t grow = 0) {
        Header(path, AE_IFREG, mode, size + grow, "");
        static char buf[1 << 16];
        Content own(PathSeed(path));
        Content& from = per_path_ ? own : content_;
        uint64_t& cursor = cursor_[static_cast<int>(kind)];
        uint64_t at = 0;
        if (real_) {
            cursor = real_->Start(kind, cursor);
            // 8 MB on: real bytes of the same libraries or icons, past the
            // compressors' windows, so the package compresses as before.
            uint64_t const other = std::min<uint64_t>(real_->Size(kind) / 2, 8 << 20);
            at = salt_ ? real_->Start(kind, cursor + other) : cursor;
            cursor += size;
        }
        for (uint64_t done = 0; done < size + grow;) {
            size_t const n =
                static_cast<size_t>(std::min<uint64_t>(sizeof buf, size + grow - done));
            if (real_)
                real_->Read(kind, at + done, buf, n);
            else
                from.Fill(buf, n, Noise(kind));
            Data(buf, n);
            done += n;
        }
    }
    void Link(std::string const& path, std::string const& target) {
        Header(path, AE_IFLNK, 0755, 0, target);
    }
    uint64_t Random() { return content_.Next(); }
    // Real bytes from `source` from now on; nullptr: synthetic ones.
    void Real(real_bytes::Source* source) { real_ = source; }
    // From now on each file's bytes depend on its path and `salt` alone, not
    // on the files before it: trees packed one by one agree where the salt does.
    void Salt(uint64_t salt) {
        per_path_ = true;
        salt_ = salt;
    }
    PackStats stats;

private:
    void Header(std::string const& path, unsigned type, int mode, uint64_t size,
                std::string const& target) {
        for (size_t pos = path.find('/'); pos != std::string::npos; pos = path.find('/', pos + 1))
            if (dirs_.insert(path.substr(0, pos)).second)
                Header1(path.substr(0, pos), AE_IFDIR, 0755, 0, "");
        Header1(path, type, mode, size, target);
        stats.files += type == AE_IFREG;
        stats.links += type == AE_IFLNK;
        stats.bytes += size;
    }
    void Header1(std::string const& path, unsigned type, int mode, uint64_t size,
                 std::string const& target) {
        archive_entry* e = archive_entry_new();
        archive_entry_set_pathname(e, path.c_str());
        archive_entry_set_filetype(e, type);
        archive_entry_set_perm(e, static_cast<mode_t>(mode));
        archive_entry_set_size(e, static_cast<la_int64_t>(size));
        archive_entry_set_mtime(e, 1700000000, 0);
        if (!target.empty()) archive_entry_set_symlink(e, target.c_str());
        for (archive* a : out_)
            if (archive_write_header(a, e) != ARCHIVE_OK)
                Fail(path + ": " + archive_error_string(a));
        archive_entry_free(e);
        ++stats.entries;
    }
    void Data(char const* p, size_t n) {
        for (archive* a : out_)
            if (archive_write_data(a, p, n) != static_cast<la_ssize_t>(n))
                Fail(std::string("write: ") + archive_error_string(a));
    }
    // The synthetic noise of each kind: machine code compresses to about 40%.
    static unsigned Noise(Kind kind) {
        switch (kind) {
            case Kind::kCode: return 6;
            case Kind::kImage: return 16;
            case Kind::kText: return 0;
            case Kind::kCatalog: return 2;
        }
        return 6;
    }
    uint64_t PathSeed(std::string const& path) const {
        uint64_t h = 0xcbf29ce484222325ULL ^ (salt_ * 0x9e3779b97f4a7c15ULL);  // FNV-1a
        for (char c : path) h = (h ^ static_cast<unsigned char>(c)) * 0x100000001b3ULL;
        return h;
    }
    std::vector<archive*> out_;
    std::vector<int> fds_;              // the tar.zst files, closed after their writers
    std::vector<std::string> pending_;  // tar.zst-cli packages, made from their tars
    std::set<std::string> dirs_;
    Content content_;
    bool per_path_ = false;
    uint64_t salt_ = 0;
    real_bytes::Source* real_ = nullptr;
    uint64_t cursor_[real_bytes::kKinds] = {};
};

// A client of the upgrade pairs: its build, and which files have bytes other
// than the old client's (which has none). The demo client never changes.
struct Variant {
    enum Changed { kNone, kTenth, kAll };
    int build = kBuild;
    Changed changed = kNone;
};

// The client: the real demo client and INFO, 12 frameworks (binary, plist,
// 20 headers, the four Versions/Current links), 200 plug-ins in 8 folders
// and 5,400 small resources in nested folders: two thirds images, a third
// translations. Binaries are machine code, plists and headers text.
inline void WriteClient(Packer& p, uint64_t total, std::string const& ui,
                        Variant const* variant = nullptr) {
    int others = 0;
    // `main`: changed in every upgrade; of the other files, every tenth.
    auto file = [&](std::string const& path, uint64_t size, int mode, Kind kind, bool main) {
        uint64_t grow = 0;
        if (variant) {
            bool const changed =
                variant->changed == Variant::kAll ||
                (variant->changed == Variant::kTenth && (main || ++others % 10 == 0));
            p.Salt(changed ? 1 : 0);
            if (changed && size % 2) grow = 100;  // half of them grow a little
        }
        p.File(path, size, mode, kind, grow);
    };
    p.Bytes("Contents/MacOS/korvane-ui", ui, 0755);
    p.Bytes("Contents/Resources/INFO", InfoText(variant ? variant->build : kBuild), 0644);
    file("Contents/Info.plist", 2000, 0644, Kind::kText, true);
    static char const* const kFrameworks[] = {
        "QtCore", "QtGui",        "QtWidgets",      "QtNetwork", "QtDBus",    "QtSvg",
        "QtXml",  "QtConcurrent", "QtPrintSupport", "QtSql",     "DeskUIKit", "Sparkle"};
    for (char const* fw : kFrameworks) {
        std::string const base = std::string("Contents/Frameworks/") + fw + ".framework";
        // Half the bytes are in these: only our own framework changes, or an
        // upgrade could not keep 90% of the bytes.
        file(base + "/Versions/A/" + fw, total * 50 / 100 / std::size(kFrameworks), 0755,
             Kind::kCode, !strcmp(fw, "DeskUIKit"));
        file(base + "/Versions/A/Resources/Info.plist", 1500, 0644, Kind::kText, false);
        for (int h = 0; h < 20; ++h)
            file(base + "/Versions/A/Headers/q" + std::to_string(h) + ".h",
                 3000 + p.Random() % 20000, 0644, Kind::kText, false);
        p.Link(base + "/Versions/Current", "A");
        p.Link(base + "/" + fw, std::string("Versions/Current/") + fw);
        p.Link(base + "/Resources", "Versions/Current/Resources");
        p.Link(base + "/Headers", "Versions/Current/Headers");
    }
    for (int i = 0; i < 200; ++i)
        file("Contents/PlugIns/p" + std::to_string(i % 8) + "/lib" + std::to_string(i) + ".dylib",
             total * 20 / 100 / 200, 0755, Kind::kCode, false);
    int const n = 5400;
    uint64_t const each = total * 30 / 100 / n;
    for (int i = 0; i < n; ++i)
        file("Contents/Resources/r" + std::to_string(i % 45) + "/s" + std::to_string(i / 45 % 10) +
                 "/f" + std::to_string(i) + (i % 3 ? ".png" : ".qm"),
             each / 2 + p.Random() % (each + 1), 0644, i % 3 ? Kind::kImage : Kind::kCatalog,
             false);
}

// Packing (or reading packages) runs in a child: its buffers and the
// compressors' state would otherwise stay in this process, and a forked
// run's peak RSS starts there. `work` returns a plain struct, which comes
// back through a pipe.
template <typename Result, typename Work>
Result InChild(Work const& work, char const* what) {
    int fds[2];
    if (pipe(fds) != 0) Fail("pipe");
    pid_t const pid = fork();
    if (pid == 0) {
        close(fds[0]);
        Result const r = work();
        ssize_t const n = ::write(fds[1], &r, sizeof r);
        _exit(n == static_cast<ssize_t>(sizeof r) ? 0 : 1);
    }
    close(fds[1]);
    Result r{};
    ssize_t const n = read(fds[0], &r, sizeof r);
    close(fds[0]);
    int status = 0;
    waitpid(pid, &status, 0);
    if (n != static_cast<ssize_t>(sizeof r) || !WIFEXITED(status) || WEXITSTATUS(status) != 0)
        Fail(std::string(what) + " failed");
    return r;
}

template <typename Write>
PackStats Pack(Write const& write) {
    return InChild<PackStats>(
        [&] {
            Packer p;
            std::optional<real_bytes::Source> real;
            if (!synthetic_client) real.emplace();
            p.Real(real ? &*real : nullptr);
            write(p);
            p.Close();
            return p.stats;
        },
        "packing");
}

class Bench {
public:
    explicit Bench(std::string work) : work_(std::move(work)) {}

    // A copy of the built bundle (or of `bundle`, one of another build), its
    // package left to be written, whose INFO names the packaged build;
    // returns its folder.
    std::string MakeLauncher(std::string const& name, int build = kBuild,
                             std::string const& bundle = KORVANE_BUNDLE_DIR) const {
        std::string const dir = work_ + "/" + name;
        mkdir(dir.c_str(), 0755);
        std::string app = dir + "/Korvane Client.app";
        Must({"cp", "-a", bundle, app});
        unlink((app + kPackageInBundle).c_str());
        mkdir((app + "/Contents/Resources/package").c_str(), 0755);
        std::ofstream(app + "/Contents/Resources/INFO") << InfoText(build);
        return app;
    }

    // Whether launcher bundles carry their package's [Package] section.
    bool described = true;

    // Appends the section, as the packer writes it, to the bundle's INFO
    // once its package is written.
    void Describe(std::string const& app) const {
        if (!described) return;
        PackageDescription d;
        std::string err;
        if (!packagedesc::Describe(app + kPackageInBundle, &d, &err) ||
            !Sha256File(app + kPackageInBundle, &d.sha256, &err))
            Fail("cannot describe the package of " + app + ": " + err);
        std::ofstream(app + "/Contents/Resources/INFO", std::ios::app)
            << packagedesc::SectionText(d);
    }

    // A fresh empty folder owned by the user, on the same file system.
    std::string NewFolder() {
        std::string dir = work_ + "/run" + std::to_string(++folders_);
        if (mkdir(dir.c_str(), 0700) != 0 || chown(dir.c_str(), kUser, kUser) != 0)
            Fail("cannot make " + dir);
        return dir;
    }

    // The launcher as the user, with a home of its own, until it exits.
    static Run Launch(std::string const& app, std::string const& home, int entries,
                      int build = kBuild) {
        sync();  // so that the previous run's writeback does not land in this one
        Run r = Exec({"env", "HOME=" + home, "QT_QPA_PLATFORM=offscreen", "KORVANE_UI_LIFETIME=5",
                      app + kLauncherInBundle},
                     true, home + "/.Korvane/demo-ui.log");
        bool const exited = r.ok;
        bool const current =
            ReadAll(InstalledInfo(home)).find("build_version=" + std::to_string(build)) !=
            std::string::npos;
        StopClients(home);
        // A launcher that stopped half-way, or started no client, must not
        // pass for a fast one.
        int const found = CountTree(home + "/.Korvane/Korvane.app");
        r.ok = exited && current && r.client > 0 && found == entries;
        if (!exited) r.why += " the launcher failed;";
        if (!current) r.why += " the installed INFO is not the new build;";
        if (r.client <= 0) r.why += " no client start was logged;";
        if (found != entries)
            r.why += " " + std::to_string(found) + " of " + std::to_string(entries) + " entries;";
        return r;
    }

    // Entries below dir, not following links.
    static int CountTree(std::string const& dir) {
        DIR* d = opendir(dir.c_str());
        if (!d) return 0;
        int n = 0;
        while (dirent* e = readdir(d)) {  // NOLINT(concurrency-mt-unsafe): one thread
            if (!strcmp(e->d_name, ".") || !strcmp(e->d_name, "..")) continue;
            ++n;
            std::string const path = dir + "/" + e->d_name;
            struct stat st {};
            bool const is_dir =
                e->d_type == DT_DIR ||
                (e->d_type == DT_UNKNOWN && lstat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode));
            if (is_dir) n += CountTree(path);
        }
        closedir(d);
        return n;
    }

    static std::string InstalledInfo(std::string const& home) {
        return home + "/.Korvane/Korvane.app/Contents/Resources/INFO";
    }

    static Run Bsdtar(std::string const& package, std::string const& dir) {
        sync();
        return Exec({"bsdtar", "-xf", package, "-C", dir}, true);
    }

    static Run BsdtarSync(std::string const& package, std::string const& dir) {
        return Flushed({"bsdtar", "-xf", package, "-C", dir}, dir);
    }

    // The disk's floor for a first install: the unpacked client, read from
    // the page cache, copied into `dir` and flushed, timed together.
    static Run CopySync(std::string const& tree, std::string const& dir) {
        return Flushed({"cp", "-a", tree + "/Contents", dir}, dir);
    }

    static void Remove(std::string const& dir) { Must({"rm", "-rf", dir}); }

private:
    // argv as the user, then `sync -f dir`, timed together.
    static Run Flushed(std::vector<std::string> const& argv, std::string const& dir) {
        sync();
        double const start = Now();
        Run r = Exec(argv, true);
        Run const s = Exec({"sync", "-f", dir}, true);
        r.wall = Now() - start;
        r.cpu += s.cpu;
        r.ok = r.ok && s.ok;
        return r;
    }

    // Stops the demo client the launcher started (it is adopted by this
    // process, a subreaper) and anything else still running with that home.
    static void StopClients(std::string const& home) {
        std::string const pid_file = home + "/.Korvane/ui.pid";
        for (int i = 0; i < 400 && access(pid_file.c_str(), R_OK) != 0; ++i)
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
        std::string const text = ReadAll(pid_file);
        if (text.rfind("pid=", 0) == 0) {
            long const pid = strtol(text.c_str() + 4, nullptr, 10);
            if (pid > 1) kill(static_cast<pid_t>(pid), SIGKILL);
        }
        std::string const needle = "HOME=" + home + '\0';
        if (DIR* proc = opendir("/proc")) {
            while (dirent* d = readdir(proc)) {  // NOLINT(concurrency-mt-unsafe): one thread
                long const pid = strtol(d->d_name, nullptr, 10);
                if (pid <= 1 || pid == getpid()) continue;
                std::string const env =
                    '\0' + ReadAll("/proc/" + std::string(d->d_name) + "/environ");
                if (env.find('\0' + needle) != std::string::npos)
                    kill(static_cast<pid_t>(pid), SIGKILL);
            }
            closedir(proc);
        }
        for (int i = 0; i < 1000; ++i) {
            pid_t const p = waitpid(-1, nullptr, WNOHANG);
            if (p < 0) break;  // no children left
            if (p == 0) std::this_thread::sleep_for(std::chrono::milliseconds(2));
        }
    }

    std::string work_;
    int folders_ = 0;
};

struct Series {
    std::vector<double> wall, cpu, client;
    long rss_kb = 0;
    void Add(Run const& r) {
        wall.push_back(r.wall);
        cpu.push_back(r.cpu);
        client.push_back(r.client);
        rss_kb = std::max(rss_kb, r.rss_kb);
    }
};

inline std::string MedianOrUnknown(std::vector<double> const& v, char const* format) {
    if (v.empty()) return "unknown";
    char text[32];
    snprintf(text, sizeof text, format, Median(v));
    return text;
}

// One line per ratio: median of the per-run ones, its target (0: none),
// the runs.
inline void PrintRatio(char const* name, std::vector<double> const& v, double target) {
    std::string const median = MedianOrUnknown(v, "%.2f");
    char const* verdict = v.empty() || target <= 0 ? "" : Median(v) <= target ? "met" : "missed";
    if (target > 0)
        printf("  %-22s %5s  target <= %.2f %-6s  per run:", name, median.c_str(), target, verdict);
    else
        printf("  %-22s %5s  %-21s  per run:", name, median.c_str(), "");
    for (double x : v) printf(" %.2f", x);
    printf("\n");
}

// Where the clients' bytes come from.
inline void PrintClientBytes() {
    if (synthetic_client)
        printf("synthetic bytes: 4 KB blocks of noise or repeated words\n");
    else
        printf("real bytes from: %s\n", real_bytes::Source().Summary().c_str());
}

inline double MB(uint64_t bytes) { return static_cast<double>(bytes) / 1048576.0; }

}  // namespace install_kit

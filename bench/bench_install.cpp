// Install speed of the whole launcher as a user feels it, against bsdtar on
// the same package in the same run.
//
//   cmake --build build --target bench_install
//   build/bench/bench_install [--mb 160] [--runs 5] [--formats tar.gz,tar,zip,tar.xz,tar.zst]
//                             [--small N[,M]] [--root DIR] [--reuse] [--no-description]
//                             [--synthetic] [--compare BUNDLE]
//
//   --mb N          size of the generated client in megabytes (default 160)
//   --runs N        interleaved rounds per package (default 5)
//   --formats LIST  packages to time, comma-separated: tar.gz, tar, zip, tar.xz, tar.zst,
//                   tar.zst-cli (the tar through `zstd -19 --long=27`)
//                   (default tar.gz,tar,zip,tar.xz)
//   --small N[,M]   also tar.gz packages of N (and M) files of 512 bytes, in
//                   folders of 200; prints their cost per entry and, for two
//                   sizes, how the cost per entry grows
//   --root DIR      where the temporary data goes (default $TMPDIR or /tmp);
//                   the homes and the references share its file system
//   --reuse         instead of the tables below, the upgrade pairs of
//                   reuse_pairs.cpp: an old client (build 1) upgraded to one
//                   that keeps 90% of its files and to one that changes all,
//                   with the reuse of the backup on and off, against bsdtar;
//                   also the bytes the volume took and the shares kept
//   --no-description  launcher INFOs without the [Package] section, so that
//                   the launcher counts the entries as older bundles make it
//   --synthetic     the client's bytes are noise and repeated words (the
//                   generator before real bytes) instead of real files'
//   --compare BUNDLE  also first installs by the launcher of another build
//                   (its assembled "Korvane Client.app"), same packages, in
//                   the same rounds: first/other ratios
//
// Run it under `tini -s --`, on a fresh journaled volume (--root): pid 1 here
// reaps an orphan only every 1.5 s, and a stopped client that lingers as a
// zombie makes every upgrade wait that long.
//
// Writes, with libarchive, a client-like bundle (about 5,900 files: the real
// demo client as Contents/MacOS/korvane-ui, an INFO, frameworks with
// Versions/Current links, plug-ins and thousands of small resources), packed
// in every format with Contents/ at the package root. Its bytes are real
// files' (real_bytes.h), read in a fixed order from Debian packages that
// scripts/setup.sh installs: machine code from Qt 5's and ICU's shared
// libraries (libqt5*, libqt5webkit5, libicu72), images from the PNG icons of
// oxygen-icon-theme and adwaita-icon-theme, headers and plists from
// qtbase5-dev's headers, translations from the .mo catalogues of iso-codes,
// libgtk-3-common, coreutils and binutils-common. At --mb 270 the gzip
// package is 51% of the client and the xz one 43% (the synthetic client's:
// 53% both), and bsdtar's zlib spends about 1.4 times the CPU on it. Each package goes into
// its own copy of the built launcher bundle, whose INFO names the same build.
// Then, per package and round, in an order that rotates, every run as the
// normal user 65534 through setpriv, each into a fresh folder:
//   first install  the launcher into an empty home, until it exits;
//   upgrade        the launcher over an installed client of the same size
//                  whose INFO was set back to build 1 (the install before it
//                  is not timed); also timed until the new client logs its
//                  start, since the old copy is removed after the launch;
//   idle start     the launcher over an installed current client: what a
//                  start costs with nothing to install (the install before
//                  it is not timed); the first install less this is set
//                  against the floor too;
//   bsdtar         `bsdtar -xf <package> -C <dir>`;
//   bsdtar+sync    the same, then `sync -f <dir>`, timed together;
//   floor          `cp -a` of the unpacked client (kept on the same volume,
//                  read once first, so from the page cache), then
//                  `sync -f <dir>`: what the disk needs for the tree.
// Prints the medians of wall and CPU (user + system, from wait4) times, the
// medians of the per-run ratios against the references and the goals, and
// the launcher's peak resident memory. The demo clients the launcher starts are stopped
// after each run. Needs root (for setpriv), bsdtar and a built bundle.
// Run it through bench/on-fresh-volume.sh: on a volume whose writes the
// host caches (a loop image attached without direct I/O, as `mount -o loop`
// does), `sync -f` returns once the host holds the data, and the host's
// writeback of one run lands in whichever comes next, the floor included.
// Everything is written below one temporary folder, removed at the end.

#include <ftw.h>
#include <sys/prctl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <sstream>
#include <string>
#include <vector>

#include "install_kit.h"
#include "reuse_pairs.h"

using namespace install_kit;  // the kit is this program's own

namespace {

constexpr char const* kUsage =
    "usage: bench_install [options]\n"
    "Times first installs and upgrades by the built launcher, as uid 65534, against\n"
    "bsdtar -xf and bsdtar -xf + sync -f on the same packages, interleaved.\n"
    "  --mb N          size of the generated client in megabytes (default 160)\n"
    "  --runs N        interleaved rounds per package (default 5)\n"
    "  --formats LIST  comma-separated packages to time: tar.gz, tar, zip, tar.xz, tar.zst,\n"
    "                  tar.zst-cli (the tar through `zstd -19 --long=27`)\n"
    "                  (default tar.gz,tar,zip,tar.xz)\n"
    "  --small N[,M]   also tar.gz packages of N (and M) files of 512 bytes\n"
    "  --root DIR      folder for the temporary data (default $TMPDIR or /tmp)\n"
    "  --reuse         only the upgrade pairs: old to 90%-unchanged and to all-changed\n"
    "                  clients, reuse on and off, bytes written (--small is ignored)\n"
    "  --no-description  launcher INFOs without the [Package] section: the launcher\n"
    "                  counts the entries beside the extraction\n"
    "  --synthetic     a client of noise and repeated words instead of real bytes\n"
    "  --compare BUNDLE  also first installs by another build's \"Korvane Client.app\"\n"
    "The client's bytes come from the files of these Debian packages (scripts/setup.sh):\n"
    "  machine code: libqt5core5a libqt5gui5 libqt5widgets5 libqt5network5 libqt5dbus5\n"
    "    libqt5xml5 libqt5sql5 libqt5printsupport5 libqt5concurrent5 libqt5test5\n"
    "    libqt5designer5 libqt5help5 libqt5webkit5 libicu72\n"
    "  images: oxygen-icon-theme adwaita-icon-theme (PNG)   headers: qtbase5-dev\n"
    "  translations: iso-codes libgtk-3-common coreutils binutils-common (.mo)\n"
    "Besides bsdtar + sync, each first install is set against the floor: cp -a of the\n"
    "unpacked client from the page cache, then sync -f.\n"
    "Run it through bench/on-fresh-volume.sh, which gives it a fresh journaled volume\n"
    "with direct I/O and runs it under `tini -s --`: pid 1 here reaps an orphan only\n"
    "every 1.5 s, and a stopped client that lingers as a zombie makes every upgrade\n"
    "wait that long.\n";

// Reads every file below dir, so that it is in the page cache.
int ReadOne(char const* path, struct stat const* st, int type, struct FTW*) {
    if (type == FTW_F && S_ISREG(st->st_mode)) ReadAll(path);
    return 0;
}
void ReadTree(std::string const& dir) {
    // NOLINTNEXTLINE(concurrency-mt-unsafe): one thread
    nftw(dir.c_str(), ReadOne, 32, FTW_PHYS);
}

void WriteSmall(Packer& p, int files, std::string const& ui) {
    p.Bytes("Contents/MacOS/korvane-ui", ui, 0755);
    p.Bytes("Contents/Resources/INFO", InfoText(kBuild), 0644);
    for (int i = 0; i < files; ++i)
        p.File("Contents/Resources/d" + std::to_string(i / 200) + "/f" + std::to_string(i), 512,
               0644, Kind::kCode);
}

bool g_failed = false;

// What one package's rounds run: its launcher, the same package in a
// launcher of another build (optional), the unpacked client for the floor
// (optional) and whether upgrades are timed too.
struct Plan {
    std::string app, other, tree;
    int entries = 0;
    bool upgrades = false;
};

// All runs of one package: series of each kind and the per-run ratios
// against the references of the same round.
struct Measured {
    Series first, upgrade, tar, tarsync, floor, other, idle;
    std::vector<double> first_vs_tarsync, first_cpu_vs_tar, upgrade_vs_tarsync;
    std::vector<double> extraction_vs_floor;  // (first install - idle start) / floor
    std::vector<double> upgrade_client_vs_tarsync, first_vs_floor;
    std::vector<double> first_vs_other, first_cpu_vs_other;
};

// Rounds of first install, upgrade, bsdtar, bsdtar + sync, the floor and
// the other build's first install (those planned), each round in another
// order, each run in a fresh folder removed after it.
Measured Measure(Bench& bench, Plan const& plan, int runs) {
    std::string const package = plan.app + kPackageInBundle;
    auto check = [&](Run const& r, char const* what) {
        if (r.ok) return;
        fprintf(stderr, "%s failed on %s:%s\n", what, package.c_str(), r.why.c_str());
        g_failed = true;
    };
    std::vector<int> kinds{0, 2, 3};
    if (plan.upgrades) kinds.insert(kinds.begin() + 1, {1, 6});
    if (!plan.tree.empty()) kinds.push_back(4);
    if (!plan.other.empty()) kinds.push_back(5);
    std::string const& app = plan.app;
    int const entries = plan.entries;
    Measured m;
    for (int i = 0; i < runs; ++i) {
        Run rf, ru, rb, rs, rc, ro, ri;
        std::rotate(kinds.begin(), kinds.begin() + 1, kinds.end());
        for (int kind : kinds) {
            std::string const dir = bench.NewFolder();
            if (kind == 0) {
                rf = Bench::Launch(app, dir, entries);
                check(rf, "first install");
            } else if (kind == 1) {
                check(Bench::Launch(app, dir, entries), "install before the upgrade");
                std::ofstream(Bench::InstalledInfo(dir), std::ios::trunc) << InfoText(1);
                ru = Bench::Launch(app, dir, entries);
                check(ru, "upgrade");
            } else if (kind == 6) {
                check(Bench::Launch(app, dir, entries), "install before the idle start");
                ri = Bench::Launch(app, dir, entries);
                check(ri, "start with nothing to install");
            } else if (kind == 2) {
                rb = Bench::Bsdtar(package, dir);
                check(rb, "bsdtar");
            } else if (kind == 3) {
                rs = Bench::BsdtarSync(package, dir);
                check(rs, "bsdtar + sync");
            } else if (kind == 4) {
                rc = Bench::CopySync(plan.tree, dir);
                check(rc, "cp -a + sync");
            } else {
                ro = Bench::Launch(plan.other, dir, entries);
                check(ro, "first install by the other build");
            }
            Bench::Remove(dir);
        }
        m.first.Add(rf);
        m.upgrade.Add(ru);
        m.tar.Add(rb);
        m.tarsync.Add(rs);
        m.floor.Add(rc);
        m.other.Add(ro);
        m.idle.Add(ri);
        if (rc.wall > 0 && ri.wall > 0)
            m.extraction_vs_floor.push_back((rf.wall - ri.wall) / rc.wall);
        m.first_vs_tarsync.push_back(rf.wall / rs.wall);
        if (rc.wall > 0) m.first_vs_floor.push_back(rf.wall / rc.wall);
        if (ro.wall > 0) m.first_vs_other.push_back(rf.wall / ro.wall);
        if (ro.cpu > 0) m.first_cpu_vs_other.push_back(rf.cpu / ro.cpu);
        m.first_cpu_vs_tar.push_back(rf.cpu / rb.cpu);
        m.upgrade_vs_tarsync.push_back(ru.wall / rs.wall);
        m.upgrade_client_vs_tarsync.push_back(ru.client / rs.wall);
    }
    return m;
}

// The per-run ratios of one package against its goals, with --compare the
// other build's first install of the same package too.
void PrintGoals(std::string const& format, Measured const& m, bool described) {
    bool const zstd = format.rfind("tar.zst", 0) == 0;
    if (format == "tar.gz" && described) {
        PrintRatio("first/(b+s) wall", m.first_vs_tarsync, 0.75);
        PrintRatio("first/bsdtar cpu", m.first_cpu_vs_tar, 0.8);
    } else if (format == "tar.gz") {
        PrintRatio("first/(b+s) wall", m.first_vs_tarsync, 0);
        PrintRatio("first/bsdtar cpu", m.first_cpu_vs_tar, 1.2);
    } else {
        PrintRatio("first/(b+s) wall", m.first_vs_tarsync,
                   format == "zip"      ? 1.0
                   : format == "tar.xz" ? 1.05
                                        : 0);
        PrintRatio("first/bsdtar cpu", m.first_cpu_vs_tar, zstd ? 0.9 : 0);
    }
    PrintRatio("first/floor wall", m.first_vs_floor, format == "tar" ? 1.1 : zstd ? 0.9 : 0);
    if (!m.extraction_vs_floor.empty()) {
        // What the launcher costs with nothing to install (process, Qt, the
        // checks, the client's start), and the first install without it.
        printf("  a start with nothing to install: %.2f s wall, %.2f s cpu\n", Median(m.idle.wall),
               Median(m.idle.cpu));
        PrintRatio("(first-idle)/floor", m.extraction_vs_floor, 0);
    }
    if (m.first_vs_other.empty()) return;
    printf("  other build: first install %.2f s wall, %.2f s cpu\n", Median(m.other.wall),
           Median(m.other.cpu));
    PrintRatio("first/other wall", m.first_vs_other, 1.0);
    PrintRatio("first/other cpu", m.first_cpu_vs_other, 1.0);
}

std::vector<std::string> Split(std::string const& s) {
    std::vector<std::string> out;
    std::stringstream in(s);
    for (std::string item; std::getline(in, item, ',');)
        if (!item.empty()) out.push_back(item);
    return out;
}

}  // namespace

int main(int argc, char** argv) {
    uint64_t mb = 160;
    int runs = 5;
    std::vector<std::string> formats{"tar.gz", "tar", "zip", "tar.xz"};
    std::vector<int> small;
    bool reuse = false;
    bool described = true;
    std::string compare;
    char const* tmpdir = getenv("TMPDIR");  // NOLINT(concurrency-mt-unsafe): one thread
    std::string root = tmpdir && *tmpdir ? tmpdir : "/tmp";
    for (int i = 1; i < argc; ++i) {
        std::string const a = argv[i];
        bool const has = i + 1 < argc;
        if (a == "--help" || a == "-h") {
            printf("%s", kUsage);
            return 0;
        } else if (a == "--mb" && has) {
            mb = std::max<uint64_t>(1, strtoull(argv[++i], nullptr, 10));
        } else if (a == "--runs" && has) {
            runs = std::max(1, static_cast<int>(strtol(argv[++i], nullptr, 10)));
        } else if (a == "--formats" && has) {
            formats = Split(argv[++i]);
        } else if (a == "--small" && has) {
            for (auto const& n : Split(argv[++i]))
                small.push_back(std::max(1, static_cast<int>(strtol(n.c_str(), nullptr, 10))));
        } else if (a == "--root" && has) {
            root = argv[++i];
        } else if (a == "--reuse") {
            reuse = true;
        } else if (a == "--no-description") {
            described = false;
        } else if (a == "--synthetic") {
            synthetic_client = true;
        } else if (a == "--compare" && has) {
            compare = argv[++i];
        } else {
            fprintf(stderr, "%s", kUsage);
            return 2;
        }
    }
    for (auto const& f : formats)
        if (f != "tar.gz" && f != "tar" && f != "zip" && f != "tar.xz" && f != "tar.zst" &&
            f != "tar.zst-cli")
            Fail("unknown format " + f);
    if (geteuid() != 0) Fail("needs root, to run as uid 65534 through setpriv");
    if (!Exec({"bsdtar", "--version"}, false).ok)
        Fail("no bsdtar (apt-get install libarchive-tools)");
    std::string const ui = ReadAll(KORVANE_UI_EXE);
    if (ui.empty()) Fail("cannot read " KORVANE_UI_EXE);
    if (!compare.empty() && access((compare + kLauncherInBundle).c_str(), X_OK) != 0)
        Fail("--compare: no launcher in " + compare);

    // The demo clients outlive the launcher; as a subreaper this process
    // gets them to reap.
    prctl(PR_SET_CHILD_SUBREAPER, 1, 0, 0, 0);
    std::string tmpl = root + "/korvane-bench-install-XXXXXX";
    if (!mkdtemp(&tmpl[0])) Fail("mkdtemp in " + root);
    std::string const work = tmpl;
    chmod(work.c_str(), 0755);
    Bench bench(work);
    bench.described = described;
    if (reuse) {
        bool const ok = UpgradePairs(bench, work, formats, mb << 20, runs, ui);
        Bench::Remove(work);
        return ok ? 0 : 1;
    }

    double t0 = Now();
    std::vector<std::string> apps;
    for (auto const& f : formats) apps.push_back(bench.MakeLauncher(f));
    PackStats const client = Pack([&](Packer& p) {
        for (size_t i = 0; i < formats.size(); ++i) p.Open(formats[i], apps[i] + kPackageInBundle);
        WriteClient(p, mb << 20, ui);
    });
    std::vector<std::string> small_apps;
    std::vector<PackStats> small_stats;
    for (int n : small) {
        small_apps.push_back(bench.MakeLauncher("small" + std::to_string(n)));
        small_stats.push_back(Pack([&](Packer& p) {
            p.Open("tar.gz", small_apps.back() + kPackageInBundle);
            WriteSmall(p, n, ui);
        }));
    }
    for (auto const& app : apps) bench.Describe(app);
    for (auto const& app : small_apps) bench.Describe(app);
    // The same packages in launchers of the other build.
    std::vector<std::string> others(formats.size());
    for (size_t i = 0; !compare.empty() && i < formats.size(); ++i) {
        others[i] = bench.MakeLauncher("other-" + formats[i], kBuild, compare);
        if (link((apps[i] + kPackageInBundle).c_str(), (others[i] + kPackageInBundle).c_str()))
            Fail("cannot link the package into " + others[i]);
        bench.Describe(others[i]);
    }
    // The floor copies the unpacked client, kept on the same volume and read
    // once here so that every copy reads it from the page cache.
    std::string const tree = work + "/tree";
    Must({"mkdir", tree});
    Must({"bsdtar", "-xf", apps[0] + kPackageInBundle, "-C", tree});
    Must({"chmod", "-R", "a+rX", work});
    ReadTree(tree);
    printf("client: %d entries (%d files, %d symlinks), %.0f MB unpacked; packed in %.1f s\n",
           client.entries, client.files, client.links, MB(client.bytes), Now() - t0);
    PrintClientBytes();
    printf("%d interleaved rounds, medians; wall and CPU (user+system) in seconds, as uid 65534\n",
           runs);
    printf("load average at start: %s", ReadAll("/proc/loadavg").c_str());
    fflush(stdout);

    // Ratio columns: first install / (bsdtar + sync) wall, first install /
    // floor wall, first install CPU / bsdtar CPU, upgrade / (bsdtar + sync) wall.
    printf("\n%-11s %7s %13s %13s %13s %13s %13s %7s %7s %7s %7s %8s\n", "format", "package",
           "first inst", "upgrade", "bsdtar", "bsdtar+sync", "cp -a+sync", "first/", "first/",
           "first/", "upgr/", "launcher");
    printf("%-11s %7s %13s %13s %13s %13s %13s %7s %7s %7s %7s %8s\n", "", "MB", "wall  cpu",
           "wall  cpu", "wall  cpu", "wall  cpu", "wall  cpu", "b+s", "floor", "bsd cpu", "b+s",
           "RSS MB");
    for (size_t f = 0; f < formats.size(); ++f) {
        Measured const m = Measure(bench, {apps[f], others[f], tree, client.entries, true}, runs);
        printf(
            "%-11s %7.0f %6.2f %6.2f %6.2f %6.2f %6.2f %6.2f %6.2f %6.2f %6.2f %6.2f %6.2fx "
            "%6.2fx %6.2fx %6.2fx %8.1f\n",
            formats[f].c_str(), MB(FileSize(apps[f] + kPackageInBundle)), Median(m.first.wall),
            Median(m.first.cpu), Median(m.upgrade.wall), Median(m.upgrade.cpu), Median(m.tar.wall),
            Median(m.tar.cpu), Median(m.tarsync.wall), Median(m.tarsync.cpu), Median(m.floor.wall),
            Median(m.floor.cpu), Median(m.first_vs_tarsync), Median(m.first_vs_floor),
            Median(m.first_cpu_vs_tar), Median(m.upgrade_vs_tarsync),
            static_cast<double>(std::max(m.first.rss_kb, m.upgrade.rss_kb)) / 1024.0);
        PrintGoals(formats[f], m, described);
        // The old copy goes after the launch: what the user waits for is the client.
        printf("        client started: first install %.2f s, upgrade %.2f s (%.2fx b+s)\n",
               Median(m.first.client), Median(m.upgrade.client),
               Median(m.upgrade_client_vs_tarsync));
        fflush(stdout);
    }

    if (!small.empty()) {
        printf("\n%-11s %7s %13s %13s %13s %7s %7s %9s\n", "files", "entries", "first inst",
               "bsdtar", "bsdtar+sync", "first/", "first/", "first");
        printf("%-11s %7s %13s %13s %13s %7s %7s %9s\n", "", "", "wall  cpu", "wall  cpu",
               "wall  cpu", "b+s", "bsd cpu", "us/entry");
    }
    std::vector<double> per_entry;
    for (size_t s = 0; s < small.size(); ++s) {
        int const entries = small_stats[s].entries;
        Measured const m = Measure(bench, {small_apps[s], "", "", entries, false}, runs);
        per_entry.push_back(Median(m.first.wall) / entries);
        printf("%-7d %7d %6.2f %6.2f %6.2f %6.2f %6.2f %6.2f %6.2fx %6.2fx %9.1f\n", small[s],
               entries, Median(m.first.wall), Median(m.first.cpu), Median(m.tar.wall),
               Median(m.tar.cpu), Median(m.tarsync.wall), Median(m.tarsync.cpu),
               Median(m.first_vs_tarsync), Median(m.first_cpu_vs_tar), per_entry.back() * 1e6);
        fflush(stdout);
    }
    if (per_entry.size() >= 2)
        printf("cost per entry, %d files against %d: %.2fx\n", small[1], small[0],
               per_entry[1] / per_entry[0]);
    printf("load average at end: %s", ReadAll("/proc/loadavg").c_str());

    Bench::Remove(work);
    return g_failed ? 1 : 0;
}

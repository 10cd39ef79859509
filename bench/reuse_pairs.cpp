// The upgrade pairs of bench_install --reuse. Per round, in a rotating
// order, each in a fresh folder:
//   (a) install the old client (not timed), upgrade to the next one, timed;
//   (b) the same, upgrading to the client that changes every file;
//   (c) (b) with the launcher that never reuses the backup's files;
//   (d) bsdtar -xf of the next package;  (e) the same, then sync -f.
// (a) to (c) also count the sectors the volume took, with a sync after.

#include "reuse_pairs.h"

#include <archive.h>
#include <archive_entry.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <map>
#include <string>
#include <utility>
#include <vector>

namespace install_kit {
namespace {

// How much of a package's regular files another package holds unchanged:
// same path, same size, same bytes.
struct Share {
    int files = 0;
    int same_files = 0;
    uint64_t bytes = 0;
    uint64_t same_bytes = 0;
};

// Calls `file(path, size, digest)` for every regular file of the package.
template <typename OnFile>
void EachFile(std::string const& package, OnFile const& file) {
    archive* a = archive_read_new();
    archive_read_support_filter_all(a);
    archive_read_support_format_all(a);
    if (archive_read_open_filename(a, package.c_str(), 1 << 16) != ARCHIVE_OK)
        Fail(package + ": " + archive_error_string(a));
    archive_entry* e = nullptr;
    while (archive_read_next_header(a, &e) == ARCHIVE_OK) {
        if (archive_entry_filetype(e) != AE_IFREG) continue;
        uint64_t size = 0;
        uint64_t h = 0xcbf29ce484222325ULL;  // FNV-1a
        void const* block = nullptr;
        size_t n = 0;
        la_int64_t offset = 0;
        while (archive_read_data_block(a, &block, &n, &offset) == ARCHIVE_OK) {
            auto const* p = static_cast<unsigned char const*>(block);
            for (size_t i = 0; i < n; ++i) h = (h ^ p[i]) * 0x100000001b3ULL;
            size += n;
        }
        file(std::string(archive_entry_pathname(e)), size, h);
    }
    archive_read_free(a);
}

Share Unchanged(std::string const& old_package, std::string const& package) {
    return InChild<Share>(
        [&] {
            std::map<std::string, std::pair<uint64_t, uint64_t>> old;
            EachFile(old_package, [&](std::string const& path, uint64_t size, uint64_t digest) {
                old[path] = {size, digest};
            });
            Share s;
            EachFile(package, [&](std::string const& path, uint64_t size, uint64_t digest) {
                ++s.files;
                s.bytes += size;
                auto const it = old.find(path);
                if (it == old.end() || it->second != std::make_pair(size, digest)) return;
                ++s.same_files;
                s.same_bytes += size;
            });
            return s;
        },
        "reading the packages");
}

// Sectors of 512 bytes written so far to the block device of `dev`, or -1
// when there is none to ask (tmpfs, overlay, btrfs).
long long SectorsWritten(dev_t dev) {
    std::ifstream in("/sys/dev/block/" + std::to_string(major(dev)) + ":" +
                     std::to_string(minor(dev)) + "/stat");
    long long field[7];  // the seventh is the sectors written
    for (long long& f : field)
        if (!(in >> f)) return -1;
    return field[6];
}

double Percent(uint64_t some, uint64_t whole) {
    return whole ? 100.0 * static_cast<double>(some) / static_cast<double>(whole) : 0;
}

struct Clients {
    std::string old_app, next_app, all_app, off_app;  // off: the reuse turned off
    int entries = 0;                                  // the same in all three
};

struct Timed {
    Run run;
    double written_mb = -1;  // unknown
};

// An upgrade over a freshly installed old client; the install is not timed.
// The old client has just run, as on a user's machine: no cache is dropped.
Timed Upgrade(Clients const& c, std::string const& app, std::string const& home, dev_t dev) {
    Timed t;
    Run const old = Bench::Launch(c.old_app, home, c.entries, 1);
    if (!old.ok) {
        t.run.why = " the old client's install failed:" + old.why;
        return t;
    }
    sync();
    long long const before = SectorsWritten(dev);
    t.run = Bench::Launch(app, home, c.entries);
    sync();
    long long const after = SectorsWritten(dev);
    if (before >= 0 && after >= before)
        t.written_mb = MB(static_cast<uint64_t>(after - before) * 512);
    return t;
}

struct Measured {
    Series a, b, c, d, e;
    std::vector<double> written_a, written_b, written_c;
    std::vector<double> a_vs_e, a_vs_b, a_cpu_vs_d, b_vs_c, written_a_vs_b;
};

void PrintRow(char const* name, Series const& s, std::vector<double> const* written) {
    printf("  %-22s %6.2f %6.2f", name, Median(s.wall), Median(s.cpu));
    if (written)
        printf(" %7.2f %10s\n", Median(s.client), MedianOrUnknown(*written, "%.1f").c_str());
    else
        printf(" %7s %10s\n", "-", "-");
}

}  // namespace

bool UpgradePairs(Bench& bench, std::string const& work, std::vector<std::string> const& formats,
                  uint64_t total, int runs, std::string const& ui) {
    double const t0 = Now();
    std::vector<Clients> clients(formats.size());
    for (size_t f = 0; f < formats.size(); ++f) {
        clients[f].old_app = bench.MakeLauncher("old-" + formats[f], 1);
        clients[f].next_app = bench.MakeLauncher("next-" + formats[f]);
        clients[f].all_app = bench.MakeLauncher("all-" + formats[f]);
        clients[f].off_app = bench.MakeLauncher("off-" + formats[f]);
        // Same file name in the bundle: the launcher finds its paths from it.
        Must({"cp", KORVANE_LAUNCHER_NOREUSE, clients[f].off_app + kLauncherInBundle});
    }
    Variant const old_client{1, Variant::kNone}, next{kBuild, Variant::kTenth},
        all{kBuild, Variant::kAll};
    std::pair<Variant const*, std::string Clients::*> const trees[] = {
        {&old_client, &Clients::old_app}, {&next, &Clients::next_app}, {&all, &Clients::all_app}};
    PackStats stats[3];
    for (int t = 0; t < 3; ++t)
        stats[t] = Pack([&](Packer& p) {
            for (size_t f = 0; f < formats.size(); ++f)
                p.Open(formats[f], clients[f].*trees[t].second + kPackageInBundle);
            WriteClient(p, total, ui, trees[t].first);
        });
    if (stats[0].entries != stats[1].entries || stats[0].entries != stats[2].entries)
        Fail("the three clients differ in their entries");
    for (auto& c : clients) {
        for (auto const* app : {&c.old_app, &c.next_app, &c.all_app}) bench.Describe(*app);
        c.entries = stats[0].entries;
        if (link((c.all_app + kPackageInBundle).c_str(), (c.off_app + kPackageInBundle).c_str()))
            Fail("cannot link the package into " + c.off_app);
        bench.Describe(c.off_app);
    }
    Must({"chmod", "-R", "a+rX", work});
    printf(
        "upgrade pairs: clients of %d entries (%d files, %d symlinks), %.0f MB unpacked;"
        " packed in %.1f s\n",
        stats[0].entries, stats[0].files, stats[0].links, MB(stats[0].bytes), Now() - t0);
    PrintClientBytes();
    printf("%d interleaved rounds, medians; wall and CPU (user+system) in seconds, as uid 65534\n",
           runs);
    printf("load average at start: %s", ReadAll("/proc/loadavg").c_str());

    struct stat st {};
    if (stat(work.c_str(), &st) != 0) Fail("cannot stat " + work);
    bool const counted = SectorsWritten(st.st_dev) >= 0;
    printf("bytes written: %s\n",
           counted ? ("sectors of block device " + std::to_string(major(st.st_dev)) + ":" +
                      std::to_string(minor(st.st_dev)) + ", with a sync after the run")
                         .c_str()
                   : "unknown (no block device statistics for this volume)");
    bool failed = false;
    for (size_t f = 0; f < formats.size(); ++f) {
        Clients const& c = clients[f];
        std::string const next_package = c.next_app + kPackageInBundle;
        std::string const old_package = c.old_app + kPackageInBundle;
        Share const kept = Unchanged(old_package, next_package);
        Share const kept_all = Unchanged(old_package, c.all_app + kPackageInBundle);
        printf("\n%s: packages old %.0f MB, next %.0f MB, all changed %.0f MB\n",
               formats[f].c_str(), MB(FileSize(old_package)), MB(FileSize(next_package)),
               MB(FileSize(c.all_app + kPackageInBundle)));
        printf("  next keeps %d of %d files (%.1f%%) and %.1f%% of the bytes unchanged\n",
               kept.same_files, kept.files, Percent(kept.same_files, kept.files),
               Percent(kept.same_bytes, kept.bytes));
        printf(
            "  all changed keeps %d of %d files (%.1f%%, %.1f%% of the bytes): only"
            " Contents/MacOS/korvane-ui, the demo client, stays so that it starts\n",
            kept_all.same_files, kept_all.files, Percent(kept_all.same_files, kept_all.files),
            Percent(kept_all.same_bytes, kept_all.bytes));
        fflush(stdout);

        auto check = [&](Run const& r, char const* what) {
            if (r.ok) return;
            fprintf(stderr, "%s failed on %s:%s\n", what, formats[f].c_str(), r.why.c_str());
            failed = true;
        };
        std::vector<int> kinds{0, 1, 2, 3, 4};
        Measured m;
        for (int i = 0; i < runs; ++i) {
            Timed ta, tb, tc;
            Run rd, re;
            std::rotate(kinds.begin(), kinds.begin() + 1, kinds.end());
            for (int kind : kinds) {
                std::string const dir = bench.NewFolder();
                if (kind == 0) {
                    ta = Upgrade(c, c.next_app, dir, st.st_dev);
                    check(ta.run, "(a) upgrade to next");
                } else if (kind == 1) {
                    tb = Upgrade(c, c.all_app, dir, st.st_dev);
                    check(tb.run, "(b) upgrade to all changed");
                } else if (kind == 2) {
                    tc = Upgrade(c, c.off_app, dir, st.st_dev);
                    check(tc.run, "(c) upgrade to all changed, reuse off");
                } else if (kind == 3) {
                    rd = Bench::Bsdtar(next_package, dir);
                    check(rd, "(d) bsdtar");
                } else {
                    re = Bench::BsdtarSync(next_package, dir);
                    check(re, "(e) bsdtar + sync");
                }
                Bench::Remove(dir);
            }
            m.a.Add(ta.run);
            m.b.Add(tb.run);
            m.c.Add(tc.run);
            m.d.Add(rd);
            m.e.Add(re);
            m.a_vs_e.push_back(ta.run.wall / re.wall);
            m.a_vs_b.push_back(ta.run.wall / tb.run.wall);
            m.a_cpu_vs_d.push_back(ta.run.cpu / rd.cpu);
            m.b_vs_c.push_back(tb.run.wall / tc.run.wall);
            for (auto [t, v] :
                 {std::make_pair(&ta, &m.written_a), std::make_pair(&tb, &m.written_b),
                  std::make_pair(&tc, &m.written_c)})
                if (t->written_mb >= 0) v->push_back(t->written_mb);
            if (ta.written_mb >= 0 && tb.written_mb > 0)
                m.written_a_vs_b.push_back(ta.written_mb / tb.written_mb);
        }
        printf("  %-22s %6s %6s %7s %10s\n", "", "wall", "cpu", "client", "written MB");
        PrintRow("(a) upgrade, next", m.a, &m.written_a);
        PrintRow("(b) upgrade, all", m.b, &m.written_b);
        PrintRow("(c) all, reuse off", m.c, &m.written_c);
        PrintRow("(d) bsdtar, next", m.d, nullptr);
        PrintRow("(e) bsdtar+sync, next", m.e, nullptr);
        printf("  ratios, median of the per-run ones:\n");
        PrintRatio("(a)/(e) wall", m.a_vs_e, 0.5);
        PrintRatio("(a)/(b) wall", m.a_vs_b, 0.5);
        PrintRatio("(a)/(d) cpu", m.a_cpu_vs_d, 0.9);
        PrintRatio("(b)/(c) wall", m.b_vs_c, 1.05);
        PrintRatio("(a)/(b) bytes written", m.written_a_vs_b, 0.2);
        double const rss = static_cast<double>(std::max({m.a.rss_kb, m.b.rss_kb, m.c.rss_kb}));
        // A zstd package's 128 MiB window is the decoder's to hold.
        bool const zstd = formats[f].rfind("tar.zst", 0) == 0;
        printf("  launcher peak RSS %.1f MB (target < %d)\n", rss / 1024.0, zstd ? 200 : 80);
        fflush(stdout);
    }
    printf("load average at end: %s", ReadAll("/proc/loadavg").c_str());
    return !failed;
}

}  // namespace install_kit

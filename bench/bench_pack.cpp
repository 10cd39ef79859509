// Packing speed of korvane-pack against tar and gzip on the same tree, in the
// same run.
//
//   cmake --build build --target bench_pack
//   build/bench/bench_pack [--mb 270] [--runs 5] [--root DIR] [--format tar.zst]
//
// Generates the client bundle of bench_install (install_kit.h: about 5,900
// files, frameworks with Versions/Current links, plug-ins and thousands of
// small resources) as a tar and unpacks it into a temporary folder. Then,
// in interleaved rounds whose order alternates, each writing a new output:
//   korvane-pack  `korvane-pack [--format tar.zst] Korvane.app RESOURCES_DIR`;
//   reference     `tar --sort=name -cf - Contents | gzip -6`, or for tar.zst
//                 `... | zstd -19 --long=27 -T<cores>`: the packer's level, window
//                 and thread count.
// Prints each round's wall times and ratio, then the medians and the sizes
// of both outputs, and what the command-line tools make of the same tar
// (gzip -6, zstd -19, zstd -19 --long=27). Everything is written below one
// temporary folder, removed at the end. Needs bsdtar, GNU tar, gzip, zstd.

#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "install_kit.h"

using namespace install_kit;  // the kit is this program's own

int main(int argc, char** argv) {
    uint64_t mb = 270;
    int runs = 5;
    char const* tmpdir = getenv("TMPDIR");  // NOLINT(concurrency-mt-unsafe): one thread
    std::string root = tmpdir && *tmpdir ? tmpdir : "/tmp";
    std::string format = "tar.gz";
    for (int i = 1; i < argc; ++i) {
        std::string const a = argv[i];
        bool const has = i + 1 < argc;
        if (a == "--mb" && has) {
            mb = std::max<uint64_t>(1, strtoull(argv[++i], nullptr, 10));
        } else if (a == "--runs" && has) {
            runs = std::max(1, static_cast<int>(strtol(argv[++i], nullptr, 10)));
        } else if (a == "--root" && has) {
            root = argv[++i];
        } else if (a == "--format" && has &&
                   (std::string(argv[i + 1]) == "tar.gz" ||
                    std::string(argv[i + 1]) == "tar.zst")) {
            format = argv[++i];
        } else {
            fprintf(stderr,
                    "usage: bench_pack [--mb 270] [--runs 5] [--root DIR] [--format tar.zst]\n");
            return 2;
        }
    }
    std::string const ui = ReadAll(KORVANE_UI_EXE);
    if (ui.empty()) Fail("cannot read " KORVANE_UI_EXE);
    std::string tmpl = root + "/korvane-bench-pack-XXXXXX";
    if (!mkdtemp(&tmpl[0])) Fail("mkdtemp in " + root);
    std::string const work = tmpl;
    std::string const app = work + "/Korvane.app";

    PackStats const stats = Pack([&](Packer& p) {
        p.Open("tar", work + "/client.tar");
        WriteClient(p, mb << 20, ui);
    });
    Must({"mkdir", app});
    Must({"bsdtar", "-xf", work + "/client.tar", "-C", app});
    Must({"rm", work + "/client.tar"});
    printf("client: %d entries, %d files, %d links, %.1f MB in %s\n", stats.entries, stats.files,
           stats.links, MB(stats.bytes), app.c_str());

    std::string const res = work + "/Resources";
    std::string const ref = work + "/reference." + format;
    std::string const package = res + "/package/tarnwick.pkv";
    bool const zst = format == "tar.zst";
    std::vector<std::string> const pack{KORVANE_PACK_EXE, "--format", format, app, res};
    std::string const tar_cmd = "cd '" + app + "' && tar --sort=name -cf - Contents";
    std::string const cores = std::to_string(std::max(1L, sysconf(_SC_NPROCESSORS_ONLN)));
    std::string const squeeze = zst ? "zstd -q -19 --long=27 -T" + cores : "gzip -6";
    std::vector<std::string> const tar{"sh", "-c", tar_cmd + " | " + squeeze + " > '" + ref + "'"};
    Must({"mkdir", res});
    Must(tar);  // the tree in the page cache for both
    std::vector<double> ours, theirs, ratios;
    printf("%-6s %12s %12s %8s\n", "round", "pack s", zst ? "tar|zstd s" : "tar|gzip s", "ratio");
    for (int i = 0; i < runs; ++i) {
        Run p, t;
        for (int k = 0; k < 2; ++k) {
            bool const pack_now = (k + i) % 2 == 0;
            if (pack_now)
                Must({"rm", "-rf", res + "/package", res + "/INFO"});
            else
                Must({"rm", "-f", ref});
            Run const r = Exec(pack_now ? pack : tar, false);
            if (!r.ok) Fail(pack_now ? "korvane-pack failed" : "tar | " + squeeze + " failed");
            (pack_now ? p : t) = r;
        }
        ours.push_back(p.wall);
        theirs.push_back(t.wall);
        ratios.push_back(p.wall / t.wall);
        printf("%-6d %12.2f %12.2f %8.2f\n", i + 1, p.wall, t.wall, ratios.back());
    }
    printf("median %12.2f %12.2f %8.2f\n", Median(ours), Median(theirs), Median(ratios));
    printf("sizes: package %.1f MB, reference %.1f MB\n", MB(FileSize(package)), MB(FileSize(ref)));
    std::string const sized = work + "/sized";
    for (std::string const& tool :
         {std::string("gzip -6"), "zstd -q -19 -T" + cores, "zstd -q -19 --long=27 -T" + cores}) {
        Must({"sh", "-c", tar_cmd + " | " + tool + " > '" + sized + "'"});
        printf("tar | %-28s %8.1f MB\n", tool.c_str(), MB(FileSize(sized)));
    }
    Must({"rm", "-rf", work});
    return 0;
}

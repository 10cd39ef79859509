// Extraction speed against bsdtar (Debian's libarchive-tools) on the same
// archives in the same run.
//
//   cmake --build build --target bench_extract &&
//     build/bench/bench_extract [--mb 300] [--runs 5] [--no-description] [--synthetic]
//
// Builds a client-like bundle (several thousand files, frameworks with
// Versions/Current links, an executable) of about --mb megabytes in a
// temporary folder, of real files' bytes as bench_install's client (the
// packages are in real_bytes.h; scripts/setup.sh installs them), or with
// --synthetic of noise and repeated phrases. Packs it with bsdtar as tar.gz,
// tar, zip and tar.xz, then times `bsdtar -xf` and Extractor::Extract on
// each archive, alternately, --runs times. It prints the median wall and CPU (user + system) times,
// the medians of the per-run ratios, and the peak resident memory of each.
// The CPU ratio is the steadier figure on a machine doing other work. Each
// extraction runs in a forked child, so its peak RSS is its own; the
// Extractor child also relays progress through a queued connection, as the
// launcher does. It also prints when the first progress report came, as a
// share of the extraction's time. The extraction is told each package's
// entries, as a launcher INFO's [Package] section tells it; with
// --no-description it counts them beside the extraction, and the bar stays
// at 0 until the count ends. --mb 30 gives a quick run.
// Everything is removed at the end; nothing is written into the source tree.

#include <fcntl.h>
#include <ftw.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QCoreApplication>
#include <QObject>
#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <optional>
#include <string>
#include <vector>

#include "app/Notify_Adapter.h"
#include "app/StrTable.h"
#include "extract/extractor.h"
#include "extract/package-description.h"
#include "real_bytes.h"

namespace {

struct Rng {
    uint64_t s;
    uint64_t next() {
        s ^= s << 13;
        s ^= s >> 7;
        s ^= s << 17;
        return s;
    }
};

// --synthetic: binary-like content, runs of noise between runs of repeated
// phrases, so that gzip shrinks it about as much as it shrinks real
// executables. `noise` of 16 is all noise (already-compressed images), 0 none.
void Fill(Rng& rng, char* buf, size_t size, unsigned noise) {
    static const std::string phrase =
        "__TEXT__cstring _objc_msgSend QString::fromUtf8 QWidget::setVisible libdeskui-qt ";
    for (size_t done = 0; done < size;) {
        size_t const chunk = std::min<size_t>(4096, size - done);
        if (rng.next() % 16 < noise) {
            for (size_t i = 0; i < chunk; i += 8) {
                uint64_t v = rng.next();
                memcpy(buf + done + i, &v, std::min<size_t>(8, chunk - i));
            }
        } else {
            for (size_t i = 0; i < chunk; ++i)
                buf[done + i] = phrase[(i + rng.next() % 3) % phrase.size()];
        }
        done += chunk;
    }
}

void Die(char const* what) {
    perror(what);
    exit(1);  // NOLINT(concurrency-mt-unsafe): single-threaded program
}

void Mkdirs(std::string const& path) {
    for (size_t pos = 1; (pos = path.find('/', pos)) != std::string::npos; ++pos)
        mkdir(path.substr(0, pos).c_str(), 0755);
    mkdir(path.c_str(), 0755);
}

// Where the files' bytes come from: real files of the machine, each kind
// one after the other (real_bytes.h), or with --synthetic `rng`'s.
struct Bytes {
    Rng rng{0x9e3779b97f4a7c15ull};
    std::optional<real_bytes::Source> real;
    uint64_t cursor[real_bytes::kKinds] = {};
};

// Written in pieces, so this process stays small: the children's peak RSS
// starts from it.
void Put(Bytes& from, std::string const& path, size_t size, unsigned noise, real_bytes::Kind kind,
         mode_t mode) {
    Mkdirs(path.substr(0, path.rfind('/')));
    int fd = open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC, mode);
    if (fd < 0) Die(path.c_str());
    static char buf[1 << 16];
    uint64_t& cursor = from.cursor[static_cast<int>(kind)];
    if (from.real) cursor = from.real->Start(kind, cursor);
    for (size_t done = 0; done < size;) {
        size_t const n = std::min(sizeof buf, size - done);
        if (from.real)
            from.real->Read(kind, cursor + done, buf, n);
        else
            Fill(from.rng, buf, n, noise);
        if (write(fd, buf, n) != static_cast<ssize_t>(n)) Die(path.c_str());
        done += n;
    }
    if (close(fd) != 0) Die(path.c_str());
    cursor += size;
}

void Link(std::string const& target, std::string const& path) {
    if (symlink(target.c_str(), path.c_str()) != 0) Die(path.c_str());
}

int RemoveOne(char const* p, struct stat const*, int, struct FTW*) {
    remove(p);
    return 0;
}
void RemoveTree(std::string const& p) {
    // NOLINTNEXTLINE(concurrency-mt-unsafe): one thread
    nftw(p.c_str(), RemoveOne, 32, FTW_DEPTH | FTW_PHYS);
}

struct Tree {
    int files = 0;
    int links = 0;
    uint64_t bytes = 0;
};

// Contents/MacOS, 10 frameworks with their links, plug-ins, and thousands of
// small resources in nested folders.
Tree MakeBundle(std::string const& root, uint64_t total, bool synthetic) {
    Bytes from;
    if (!synthetic) from.real.emplace();
    Tree t;
    using real_bytes::Kind;
    // Executables compress to about 40% with gzip, text to far less, images not at all.
    auto put = [&](std::string const& rel, size_t size, mode_t mode = 0644, unsigned noise = 6,
                   Kind kind = Kind::kText) {
        Put(from, root + "/" + rel, size, noise, kind, mode);
        ++t.files;
        t.bytes += size;
    };
    put("Contents/MacOS/korvane-ui", total / 20, 0755, 6, Kind::kCode);
    put("Contents/Info.plist", 2000);
    put("Contents/Resources/INFO", 120);
    static char const* const fws[] = {"QtCore",       "QtGui",         "QtWidgets", "QtNetwork",
                                      "QtDBus",       "QtSvg",         "QtXml",     "QtSql",
                                      "QtConcurrent", "QtPrintSupport"};
    for (char const* fw : fws) {
        std::string const base = std::string("Contents/Frameworks/") + fw + ".framework";
        put(base + "/Versions/5/" + fw, total * 45 / 100 / 10, 0755, 6, Kind::kCode);
        put(base + "/Versions/5/Resources/Info.plist", 1500);
        for (int h = 0; h < 20; ++h)
            put(base + "/Versions/5/Headers/q" + std::to_string(h) + ".h",
                3000 + from.rng.next() % 20000, 0644, 0);
        Link("5", root + "/" + base + "/Versions/Current");
        Link(std::string("Versions/Current/") + fw, root + "/" + base + "/" + fw);
        Link("Versions/Current/Resources", root + "/" + base + "/Resources");
        Link("Versions/Current/Headers", root + "/" + base + "/Headers");
        t.links += 4;
    }
    uint64_t const medium = total * 20 / 100;
    for (int i = 0; i < 200; ++i)
        put("Contents/PlugIns/p" + std::to_string(i % 8) + "/lib" + std::to_string(i) + ".dylib",
            medium / 200, 0755, 6, Kind::kCode);
    uint64_t const small = total * 30 / 100;
    int const nsmall = 4500;
    for (int i = 0; i < nsmall; ++i)
        put("Contents/Resources/r" + std::to_string(i % 45) + "/s" + std::to_string(i / 45 % 10) +
                "/f" + std::to_string(i) + (i % 3 ? ".png" : ".qm"),
            static_cast<size_t>(small / nsmall / 2 + from.rng.next() % (small / nsmall + 1)), 0644,
            i % 3 ? 16 : 2, i % 3 ? Kind::kImage : Kind::kCatalog);
    return t;
}

struct Result {
    double seconds = 0;  // wall
    double cpu = 0;      // user + system
    long rss_kb = 0;
    bool ok = false;
    // The first progress report's time as a share of Extract()'s own wall
    // time, both from Extract()'s start (the process's start-up aside).
    double first_report = 0;
};

double Now() {
    return std::chrono::duration<double>(std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

Result Wait(pid_t pid, double start) {
    int status = 0;
    struct rusage ru {};
    if (wait4(pid, &status, 0, &ru) < 0) Die("wait4");
    Result r;
    r.seconds = Now() - start;
    r.cpu = static_cast<double>(ru.ru_utime.tv_sec + ru.ru_stime.tv_sec) +
            static_cast<double>(ru.ru_utime.tv_usec + ru.ru_stime.tv_usec) / 1e6;
    r.rss_kb = ru.ru_maxrss;
    r.ok = WIFEXITED(status) && WEXITSTATUS(status) == 0;
    return r;
}

Result RunBsdtar(std::string const& archive, std::string const& dest) {
    Mkdirs(dest);
    double const start = Now();
    pid_t pid = fork();
    if (pid == 0) {
        execlp("bsdtar", "bsdtar", "-xf", archive.c_str(), "-C", dest.c_str(),
               static_cast<char*>(nullptr));
        _exit(127);
    }
    return Wait(pid, start);
}

Result RunExtractor(std::string const& archive, std::string const& dest, int declared) {
    Mkdirs(dest);
    int report[2];
    if (pipe(report) != 0) Die("pipe");
    double const start = Now();
    pid_t pid = fork();
    if (pid == 0) {
        close(report[0]);
        int argc = 1;
        char name[] = "bench_extract";
        char* argv[] = {name, nullptr};
        QCoreApplication app(argc, argv);
        StrTable::InitStrTable();
        QObject receiver;
        long steps = 0;
        QObject::connect(
            Notify_Adapter::GetInstance(), &Notify_Adapter::sigUpdateProgress, &receiver,
            [&](int, int) { ++steps; }, Qt::QueuedConnection);
        // Without a declared total the bar stays at 0 until the count ends.
        double first = -1;
        QObject::connect(
            Notify_Adapter::GetInstance(), &Notify_Adapter::sigUpdateProgress, &receiver,
            [&](int, int) {
                if (first < 0) first = Now();
            },
            Qt::DirectConnection);
        Extractor x;
        x.dest_dir = dest;
        x.archive_path = archive;
        x.declared_entries = declared;
        double const extract_start = Now();
        int const rc = x.Extract();
        if (first >= 0) first = (first - extract_start) / (Now() - extract_start);
        QCoreApplication::processEvents();
        (void)!write(report[1], &first, sizeof first);
        _exit(rc == 0 && steps > 0 ? 0 : 1);
    }
    close(report[1]);
    Result r = Wait(pid, start);
    if (read(report[0], &r.first_report, sizeof r.first_report) != sizeof r.first_report)
        r.first_report = -1;
    close(report[0]);
    return r;
}

// Runs bsdtar with `args` in `dir`; its exit status, or 127 when it could
// not be started.
int Bsdtar(std::vector<std::string> const& args, std::string const& dir) {
    std::vector<std::string> all{"bsdtar"};
    all.insert(all.end(), args.begin(), args.end());
    std::vector<char*> argv;
    for (auto& a : all) argv.push_back(&a[0]);
    argv.push_back(nullptr);
    pid_t pid = fork();
    if (pid == 0) {
        int const null = open("/dev/null", O_WRONLY);
        dup2(null, 1);
        if (chdir(dir.c_str()) == 0) execvp("bsdtar", argv.data());
        _exit(127);
    }
    int status = 0;
    if (pid < 0 || waitpid(pid, &status, 0) < 0) return 127;
    return WIFEXITED(status) ? WEXITSTATUS(status) : 127;
}

double Median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

}  // namespace

int main(int argc, char** argv) {
    uint64_t mb = 300;
    int runs = 5;
    bool described = true;
    bool synthetic = false;
    for (int i = 1; i < argc; ++i) {
        if (!strcmp(argv[i], "--no-description"))
            described = false;
        else if (!strcmp(argv[i], "--synthetic"))
            synthetic = true;
        else if (!strcmp(argv[i], "--mb") && i + 1 < argc)
            mb = strtoull(argv[++i], nullptr, 10);
        else if (!strcmp(argv[i], "--runs") && i + 1 < argc)
            runs = std::max(1, static_cast<int>(strtol(argv[++i], nullptr, 10)));
    }
    if (Bsdtar({"--version"}, "/") != 0) {
        fprintf(stderr, "bsdtar not found (apt-get install libarchive-tools)\n");
        return 1;
    }
    char const* tmpdir = getenv("TMPDIR");  // NOLINT(concurrency-mt-unsafe): one thread
    std::string tmpl =
        std::string(tmpdir && *tmpdir ? tmpdir : "/tmp") + "/korvane-bench-extract-XXXXXX";
    if (!mkdtemp(&tmpl[0])) Die("mkdtemp");
    std::string const work = tmpl;

    double t0 = Now();
    Tree const tree = MakeBundle(work + "/src/Korvane.app", mb << 20, synthetic);
    printf("bundle: %d files, %d symlinks, %.0f MB of %s bytes (built in %.1f s)\n", tree.files,
           tree.links, static_cast<double>(tree.bytes) / 1048576.0,
           synthetic ? "synthetic" : "real files'", Now() - t0);

    struct Fmt {
        char const* name;
        std::vector<std::string> flags;
        double target;
    };
    Fmt const fmts[] = {{"tar.gz", {"-czf"}, 1.25},
                        {"tar", {"-cf"}, 1.15},
                        {"zip", {"--format", "zip", "-cf"}, 1.15},
                        {"tar.xz", {"--options", "xz:compression-level=1", "-cJf"}, 2.1}};
    bool all_ok = true;
    printf("%-7s %9s %15s %15s %7s %7s %7s %11s %11s\n", "format", "archive", "bsdtar wall/cpu",
           "Extract wall/cpu", "wall", "cpu", "target", "bsdtar RSS", "Extract RSS");
    for (Fmt const& f : fmts) {
        std::string const archive = work + "/bundle." + f.name;
        t0 = Now();
        std::vector<std::string> args = f.flags;
        args.push_back(archive);
        args.push_back("Korvane.app");
        if (Bsdtar(args, work + "/src") != 0) Die("bsdtar could not pack");
        struct stat st {};
        stat(archive.c_str(), &st);
        PackageDescription d;
        std::string err;
        if (described && !packagedesc::Describe(archive, &d, &err)) Die(err.c_str());
        int const declared = static_cast<int>(d.entries);
        std::vector<double> tb, te, cb, ce, ratio, cratio, counted;
        long rb = 0, re = 0;
        for (int i = 0; i < runs; ++i) {
            // Alternate who goes first; sync so that one run's writeback
            // does not land in the next.
            Result b, e;
            for (int k = 0; k < 2; ++k) {
                sync();
                if ((k + i) % 2 == 0)
                    b = RunBsdtar(archive, work + "/out-bsdtar");
                else
                    e = RunExtractor(archive, work + "/out-extract/Korvane.app", declared);
            }
            if (!b.ok || !e.ok) {
                fprintf(stderr, "%s: extraction failed (bsdtar %d, Extract %d)\n", f.name, b.ok,
                        e.ok);
                all_ok = false;
            }
            tb.push_back(b.seconds);
            te.push_back(e.seconds);
            cb.push_back(b.cpu);
            ce.push_back(e.cpu);
            ratio.push_back(e.seconds / b.seconds);
            cratio.push_back(e.cpu / b.cpu);
            counted.push_back(e.first_report);
            rb = std::max(rb, b.rss_kb);
            re = std::max(re, e.rss_kb);
            RemoveTree(work + "/out-bsdtar");
            RemoveTree(work + "/out-extract");
        }
        double const r = Median(ratio), cr = Median(cratio);
        printf("%-7s %6.0f MB %7.2f/%6.2f %7.2f/%6.2f %6.2fx %6.2fx %6.2fx %8.1f MB %8.1f MB%s%s\n",
               f.name, static_cast<double>(st.st_size) / 1048576.0, Median(tb), Median(cb),
               Median(te), Median(ce), r, cr, f.target, static_cast<double>(rb) / 1024.0,
               static_cast<double>(re) / 1024.0, r <= f.target ? "" : " OVER (wall)",
               cr <= f.target ? "" : " OVER (cpu)");
        printf("        wall ratio per run:");
        for (double x : ratio) printf(" %.2f", x);
        printf("\n");
        printf("        first report at (share of Extract's wall) per run:");
        for (double x : counted) printf(" %.0f%%", x * 100);
        printf("\n");
        fflush(stdout);
        unlink(archive.c_str());
    }
    RemoveTree(work);
    return all_ok ? 0 : 1;
}

// Start-up cost and memory of the launcher, measured on the built bundle.
//
// Run:
//   cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=Release
//   cmake --build build --target bench_startup
//   build/bench/bench_startup [runs] [mb]   (default: 30 runs of each, 300 MB)
//
// 1. The no-upgrade path: the per-user client is installed and current, so
//    the launcher only starts, checks, launches the client and exits. Timed
//    from process start to exit, against a bare QApplication that starts and
//    quits (bench_bare_qapp), interleaved in the same run; both headless
//    (QT_QPA_PLATFORM=offscreen). Prints the medians and their ratio
//    (target: at most 1.5).
// 2. Peak resident memory (ru_maxrss) of a launcher run that installs a
//    large tar.gz package into a fresh home: the demo client, an INFO and
//    [mb] megabytes of data files (400 KB each, half random, half text), the
//    size bench_extract uses by default, written here with libarchive
//    (target: under 80 MB, because extraction streams).
// Everything generated goes to a temporary folder that is removed at the end;
// the demo clients the launcher starts are stopped and reaped.

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
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <random>
#include <string>
#include <thread>
#include <vector>

extern char** environ;

namespace {

std::string g_tmp;

bool Sh(std::string const& cmd) { return system(cmd.c_str()) == 0; }

std::string Quote(std::string const& s) {
    std::string q = "'";
    for (char c : s) q += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return q + "'";
}

struct Result {
    int status = -1;
    double seconds = 0;
    long max_rss_kb = 0;
};

// Runs exe with HOME set and the offscreen platform; waits with wait4.
Result Run(std::string const& exe, std::string const& home) {
    std::vector<std::string> env;
    for (char** e = environ; *e; ++e) {
        if (strncmp(*e, "HOME=", 5) == 0 || strncmp(*e, "QT_QPA_PLATFORM=", 16) == 0) continue;
        env.emplace_back(*e);
    }
    env.push_back("HOME=" + home);
    env.push_back("QT_QPA_PLATFORM=offscreen");
    env.push_back("KORVANE_UI_LIFETIME=60");
    std::vector<char*> envp;
    for (auto& s : env) envp.push_back(&s[0]);
    envp.push_back(nullptr);
    std::string arg0 = exe;
    char* argv[] = {&arg0[0], nullptr};

    Result r;
    auto const t0 = std::chrono::steady_clock::now();
    pid_t const pid = fork();
    if (pid == 0) {
        int const null = open("/dev/null", O_RDWR);
        dup2(null, 1);
        dup2(null, 2);
        execve(argv[0], argv, envp.data());
        _exit(127);
    }
    int st = 0;
    struct rusage ru {};
    while (wait4(pid, &st, 0, &ru) < 0 && errno == EINTR) {
    }
    r.seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
    r.status = st;
    r.max_rss_kb = ru.ru_maxrss;
    return r;
}

// Stops the demo clients started under `home` and reaps every orphan that
// this process (a subreaper) has adopted.
void StopClients(std::string const& home) {
    std::ifstream in(home + "/.Korvane/ui.pid");
    std::string line;
    while (std::getline(in, line))
        if (line.rfind("pid=", 0) == 0) {
            long const pid = atol(line.c_str() + 4);
            if (pid > 1 && pid != getpid()) kill(static_cast<pid_t>(pid), SIGKILL);
        }
    for (int i = 0; i < 200; ++i) {
        pid_t const p = waitpid(-1, nullptr, WNOHANG);
        if (p < 0) break;  // no children left
        if (p == 0) std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
}

double Median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v.empty() ? 0 : v[v.size() / 2];
}

bool WriteEntry(archive* a, std::string const& path, std::string const& data, int mode) {
    archive_entry* e = archive_entry_new();
    archive_entry_set_pathname(e, path.c_str());
    archive_entry_set_filetype(e, AE_IFREG);
    archive_entry_set_perm(e, mode);
    archive_entry_set_size(e, static_cast<la_int64_t>(data.size()));
    bool ok =
        archive_write_header(a, e) == ARCHIVE_OK &&
        archive_write_data(a, data.data(), data.size()) == static_cast<la_ssize_t>(data.size());
    archive_entry_free(e);
    return ok;
}

// A client package with the demo client, an INFO and `files` data files of
// `size` bytes each: half random (incompressible), half text.
bool WriteLargePackage(std::string const& out, std::string const& ui, int build, int files,
                       size_t size) {
    std::ifstream u(ui, std::ios::binary);
    std::string const ui_bytes((std::istreambuf_iterator<char>(u)),
                               std::istreambuf_iterator<char>());
    if (ui_bytes.empty()) return false;
    archive* a = archive_write_new();
    archive_write_set_format_pax_restricted(a);
    archive_write_add_filter_gzip(a);
    if (archive_write_open_filename(a, out.c_str()) != ARCHIVE_OK) return false;
    std::string const info =
        "[Version]\nmajor_version=1\nminor_version=0\nbuild_version=" + std::to_string(build) +
        "\nicon_overlay_version=1\n";
    bool ok = WriteEntry(a, "Contents/MacOS/korvane-ui", ui_bytes, 0755) &&
              WriteEntry(a, "Contents/Resources/INFO", info, 0644);
    std::mt19937_64 rng(42);
    std::string data(size, '\0');
    for (int i = 0; ok && i < files; ++i) {
        if (i % 2 == 0) {
            for (size_t k = 0; k + 8 <= size; k += 8) {
                uint64_t const v = rng();
                memcpy(&data[k], &v, 8);
            }
        } else {
            for (size_t k = 0; k < size; ++k) data[k] = static_cast<char>('a' + (k * 7 + i) % 26);
        }
        ok = WriteEntry(a,
                        "Contents/Resources/data/d" + std::to_string(i / 50) + "/f" +
                            std::to_string(i) + ".bin",
                        data, 0644);
    }
    ok = archive_write_close(a) == ARCHIVE_OK && ok;
    archive_write_free(a);
    return ok;
}

}  // namespace

int main(int argc, char** argv) {
    int const runs = argc > 1 ? std::max(3, atoi(argv[1])) : 30;
    int const mb = argc > 2 ? std::max(1, atoi(argv[2])) : 300;
    prctl(PR_SET_CHILD_SUBREAPER, 1, 0, 0, 0);
    char tmpl[] = "/tmp/korvane-bench-startup-XXXXXX";
    if (!mkdtemp(tmpl)) {
        perror("mkdtemp");
        return 1;
    }
    g_tmp = tmpl;
    std::string const bundle = KORVANE_BUNDLE_DIR;
    std::string const exe_in_bundle = "/Contents/MacOS/" KORVANE_LAUNCHER_NAME;
    std::string const launcher = bundle + exe_in_bundle;
    std::string const bare = KORVANE_BARE_QAPP;
    int rc = 0;

    // 1. No-upgrade start against a bare QApplication.
    std::string const home = g_tmp + "/home";
    mkdir(home.c_str(), 0755);
    Result first = Run(launcher, home);  // installs; later runs find it current
    StopClients(home);
    if (!WIFEXITED(first.status) || WEXITSTATUS(first.status) != 0) {
        fprintf(stderr, "the first launcher run failed (status %d)\n", first.status);
        rc = 1;
    } else {
        Run(bare, home);  // warm both up
        Run(launcher, home);
        StopClients(home);
        std::vector<double> t_launcher, t_bare;
        for (int i = 0; i < runs; ++i) {
            Result b = Run(bare, home);
            Result l = Run(launcher, home);
            StopClients(home);
            if (!WIFEXITED(l.status) || WEXITSTATUS(l.status) != 0 || !WIFEXITED(b.status)) {
                fprintf(stderr, "run %d failed (launcher %d, bare %d)\n", i, l.status, b.status);
                rc = 1;
                break;
            }
            t_bare.push_back(b.seconds);
            t_launcher.push_back(l.seconds);
        }
        double const ml = Median(t_launcher), mb = Median(t_bare);
        printf("no-upgrade start, median of %zu runs:\n", t_launcher.size());
        printf("  launcher          %8.2f ms\n", ml * 1000);
        printf("  bare QApplication %8.2f ms\n", mb * 1000);
        printf("  ratio             %8.2f   (target <= 1.5)\n", mb > 0 ? ml / mb : 0.0);
    }

    // 2. Peak RSS while installing a larger package.
    std::string const big = g_tmp + "/big/Korvane Client.app";
    Sh("mkdir -p " + Quote(g_tmp + "/big") + " && cp -a " + Quote(bundle) + " " + Quote(big));
    std::string const pkg = big + "/Contents/Resources/package/tarnwick.pkv";
    size_t const size = size_t{400} * 1024;
    int const files = std::max(1, mb * 1024 / 400);
    if (!WriteLargePackage(pkg, KORVANE_UI_EXE, 900, files, size)) {
        fprintf(stderr, "could not write the large package\n");
        rc = 1;
    } else {
        std::ofstream(big + "/Contents/Resources/INFO")
            << "[Version]\nmajor_version=1\nminor_version=0\nbuild_version=900\nicon_overlay_version=1\n";
        struct stat st {};
        stat(pkg.c_str(), &st);
        std::string const home2 = g_tmp + "/home-big";
        mkdir(home2.c_str(), 0755);
        Result r = Run(big + exe_in_bundle, home2);
        StopClients(home2);
        std::ifstream info(home2 + "/.Korvane/Korvane.app/Contents/Resources/INFO");
        std::string text((std::istreambuf_iterator<char>(info)), std::istreambuf_iterator<char>());
        bool const installed = text.find("build_version=900") != std::string::npos;
        printf("install of a %.1f MB tar.gz (%d files, %.1f MB unpacked):\n",
               static_cast<double>(st.st_size) / 1048576.0, files,
               files * static_cast<double>(size) / 1048576.0);
        printf("  exit %d, installed %s, %.2f s\n",
               WIFEXITED(r.status) ? WEXITSTATUS(r.status) : -1, installed ? "yes" : "NO",
               r.seconds);
        printf("  peak RSS          %8.1f MB   (target < 80 MB)\n",
               static_cast<double>(r.max_rss_kb) / 1024.0);
        if (!installed) rc = 1;
    }

    Sh("rm -rf " + Quote(g_tmp));
    return rc;
}

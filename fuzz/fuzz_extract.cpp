// Feeds arbitrary bytes to Extractor::Extract as the package archive and
// checks the one promise that matters for hostile input: nothing is created,
// changed or linked outside dest_dir. dest_dir sits a few levels deep in a
// private folder; every level above it holds a sentinel file, and any new
// name, changed sentinel or extra link to it aborts.
//
// The seeds hold every format the launcher reads, gzip and zstd among them
// (their own decoders on a thread beside the extraction), with frames and
// trailing data after the last one.
//
// Extraction output is capped per file (RLIMIT_FSIZE) so that a small
// compressed bomb costs a failed entry, not the disk.

#include <ftw.h>
#include <signal.h>
#include <stdlib.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <dirent.h>
#include <cstdint>
#include <cstdio>
#include <set>
#include <string>

#include "extract/extractor.h"
#include "log/Logger.h"

namespace {

std::string g_root;  // private folder: in.pkv, levels, a/
std::string g_dest;  // g_root/a/b/dest
char const* const kLevels[] = {"", "/a", "/a/b"};

std::set<std::string> Names(std::string const& dir) {
    std::set<std::string> out;
    if (DIR* d = opendir(dir.c_str())) {
        // NOLINTNEXTLINE(concurrency-mt-unsafe): the stream is this thread's own
        while (dirent* e = readdir(d)) out.insert(e->d_name);
        closedir(d);
    }
    return out;
}

int RemoveOne(char const* path, struct stat const*, int, struct FTW*) {
    remove(path);
    return 0;
}

void RemoveTree(std::string const& path) {
    // NOLINTNEXTLINE(concurrency-mt-unsafe): one thread
    nftw(path.c_str(), RemoveOne, 16, FTW_DEPTH | FTW_PHYS);
}

void CleanUp() {
    if (!g_root.empty()) RemoveTree(g_root);
}

void WriteFileOrDie(std::string const& path, std::string const& data) {
    FILE* f = fopen(path.c_str(), "wb");
    if (!f || fwrite(data.data(), 1, data.size(), f) != data.size() || fclose(f) != 0) abort();
}

void Setup() {
    char const* base = getenv("TMPDIR");  // NOLINT(concurrency-mt-unsafe): one thread
    std::string tmpl = std::string(base && *base ? base : "/tmp") + "/korvane-fuzz-extract-XXXXXX";
    if (!mkdtemp(&tmpl[0])) abort();
    g_root = tmpl;
    umask(022);
    if (chmod(g_root.c_str(), 0755) != 0) abort();
    atexit(CleanUp);
    if (mkdir((g_root + "/a").c_str(), 0755) != 0 || mkdir((g_root + "/a/b").c_str(), 0755) != 0)
        abort();
    for (char const* level : kLevels) WriteFileOrDie(g_root + level + "/sentinel", "sentinel");
    g_dest = g_root + "/a/b/dest";
    // Errors are the normal outcome here; keep them out of the output.
    WriteFileOrDie(g_root + "/levels", "extractor_debug=2\n");
    Logger::Initialize(Logger::Stderr, "", g_root + "/levels", 1, Logger::NoLock);

    signal(SIGXFSZ, SIG_IGN);
    struct rlimit lim = {64u << 20, 64u << 20};
    setrlimit(RLIMIT_FSIZE, &lim);
}

void CheckOutside() {
    for (char const* level : kLevels) {
        std::string const dir = g_root + level;
        std::set<std::string> expected = {".", "..", "sentinel"};
        if (level[0] == '\0')
            expected.insert({"a", "in.pkv", "levels"});
        else if (std::string(level) == "/a")
            expected.insert("b");
        else
            expected.insert("dest");
        if (Names(dir) != expected) {
            fprintf(stderr, "extraction created a name in %s\n", dir.c_str());
            abort();
        }
        struct stat st;
        std::string const s = dir + "/sentinel";
        if (lstat(s.c_str(), &st) != 0 || !S_ISREG(st.st_mode) || st.st_nlink != 1 ||
            st.st_size != 8 || (st.st_mode & 07777) != 0644) {
            fprintf(stderr, "extraction changed %s\n", s.c_str());
            abort();
        }
        if (lstat(dir.c_str(), &st) != 0 || !S_ISDIR(st.st_mode) || (st.st_mode & 07777) != 0755) {
            fprintf(stderr, "extraction changed %s\n", dir.c_str());
            abort();
        }
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(uint8_t const* data, size_t size) {
    if (g_root.empty()) Setup();
    WriteFileOrDie(g_root + "/in.pkv", std::string(reinterpret_cast<char const*>(data), size));
    if (mkdir(g_dest.c_str(), 0755) != 0) abort();
    Extractor x;
    x.dest_dir = g_dest;
    x.archive_path = g_root + "/in.pkv";
    x.Extract();
    CheckOutside();
    RemoveTree(g_dest);
    return 0;
}

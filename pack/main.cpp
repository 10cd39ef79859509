// korvane-pack [--format tar.gz|tar|zip|tar.xz|tar.zst] [--level N] CLIENT.app RESOURCES_DIR
// korvane-pack --help | --version
//
// Writes RESOURCES_DIR/package/tarnwick.pkv and RESOURCES_DIR/INFO from a
// client bundle. Exit 0 on success; otherwise 1 and one line on stderr.

#include <clocale>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <string>

#include "pack/packer.h"

// The build's version, from CMake; a compile outside it still builds.
#ifndef KORVANE_PACK_VERSION
#define KORVANE_PACK_VERSION "unknown"
#endif

namespace {

constexpr char kUsage[] =
    "usage: korvane-pack [--format tar.gz|tar|zip|tar.xz|tar.zst] [--level N] CLIENT.app "
    "RESOURCES_DIR";

// 0 to 9, or up to kZstdMaxLevel: the format, maybe given later, decides.
bool ParseLevel(std::string const& text, int* level) {
    if (text.empty() || text.size() > 2 || text[0] < '0' || text[0] > '9' ||
        (text.size() == 2 && (text[0] == '0' || text[1] < '0' || text[1] > '9')))
        return false;
    *level = std::stoi(text);
    return *level <= pack::kZstdMaxLevel;
}

bool ParseArguments(int argc, char** argv, pack::Options* o, std::string* error) {
    std::string paths[2];
    int npaths = 0;
    bool level_given = false;
    for (int i = 1; i < argc; ++i) {
        std::string const arg = argv[i];
        bool const has_value = i + 1 < argc;
        if (arg == "--format" && has_value) {
            if (!pack::ParseFormat(argv[++i], &o->format)) {
                *error = std::string("unknown format '") + argv[i] + "'; " + kUsage;
                return false;
            }
        } else if (arg == "--level" && has_value) {
            if (!ParseLevel(argv[++i], &o->level)) {
                *error = std::string("the level must be 0 to 9 (tar.zst: 1 to 22), not '") +
                         argv[i] + "'";
                return false;
            }
            level_given = true;
        } else if (arg.rfind("--", 0) == 0 || npaths == 2) {
            *error = std::string("unexpected argument '") + arg + "'; " + kUsage;
            return false;
        } else {
            paths[npaths++] = arg;
        }
    }
    if (npaths != 2) {
        *error = kUsage;
        return false;
    }
    if (level_given && o->format == pack::Format::TarZst && o->level < 1) {
        *error = "the level must be 1 to 22, not '0'";
        return false;
    }
    if (level_given && o->format != pack::Format::TarZst && o->level > 9) {
        *error = "the level must be 0 to 9, not '" + std::to_string(o->level) + "'";
        return false;
    }
    if (level_given && o->format == pack::Format::Tar) {
        *error = "a plain tar has no compression level";
        return false;
    }
    o->client = paths[0];
    o->resources = paths[1];
    // Reproducible builds: no entry newer than the source's date.
    if (char const* epoch =
            getenv("SOURCE_DATE_EPOCH")) {  // NOLINT(concurrency-mt-unsafe): one thread
        char* end = nullptr;
        long long const v = strtoll(epoch, &end, 10);
        if (!*epoch || *end || v < 0) {
            *error = std::string("SOURCE_DATE_EPOCH is not a number of seconds: '") + epoch + "'";
            return false;
        }
        o->clamp_mtime = v;
    }
    return true;
}

// One line, whatever names the message quotes.
std::string OneLine(std::string text) {
    for (char& c : text)
        if (static_cast<unsigned char>(c) < 0x20) c = '?';
    return text;
}

}  // namespace

int main(int argc, char** argv) {
    // libarchive converts entry names through LC_CTYPE.
    for (char const* name : {"C.UTF-8", "en_US.UTF-8", "UTF-8"})
        if (setlocale(LC_CTYPE, name)) break;  // NOLINT(concurrency-mt-unsafe): one thread
    // Zip stores local times: in UTC the same tree packs the same everywhere.
    setenv("TZ", "UTC0", 1);  // NOLINT(concurrency-mt-unsafe): one thread
    tzset();
    if (argc == 2 && std::string(argv[1]) == "--help") {
        std::printf("%s\n", kUsage);
        return 0;
    }
    if (argc == 2 && std::string(argv[1]) == "--version") {
        std::printf("korvane-pack %s\n", KORVANE_PACK_VERSION);
        return 0;
    }
    pack::Options options;
    std::string error;
    if (!ParseArguments(argc, argv, &options, &error) || !pack::Run(options, &error)) {
        std::fprintf(stderr, "korvane-pack: %s\n", OneLine(error).c_str());
        return 1;
    }
    return 0;
}

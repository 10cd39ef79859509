// Extractor against real archives written by the tests: ordinary bundles in
// every format, hostile shapes that try to write outside dest_dir, damaged
// inputs, UTF-8 names without a locale, and progress across threads.
#include <archive.h>
#include <archive_entry.h>
#include <locale.h>
#include <sys/stat.h>
#include <unistd.h>
#include <zlib.h>
#define ZSTD_STATIC_LINKING_ONLY  // ZSTD_getFrameHeader
#include <zstd.h>

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QThread>
#include <QTimer>
#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <random>
#include <thread>
#include <utility>
#include <vector>

#include "app/Notify_Adapter.h"
#include "app/StrTable.h"
#include "extract/extractor.h"
#include "extract/package-description.h"
#include "extract/quarantine.h"
#include "extract/sha256.h"
#include "extract/zstd-stream.h"
#include "log/Logger.h"
#include "tests/support/ArchiveBuilder.h"
#include "tests/support/CiFuseMount.h"
#include "tests/support/TestSupport.h"

namespace {

using testsupport::ArchiveEntry;
using testsupport::ArchiveFilter;
using testsupport::ArchiveFormat;
using testsupport::ListTree;
using testsupport::PathExists;
using testsupport::ReadFile;
using testsupport::TempDir;
using testsupport::WriteFile;

QCoreApplication* App() {
    static int argc = 1;
    static char name[] = "test_extract";
    static char* argv[] = {name, nullptr};
    static QCoreApplication* app = new QCoreApplication(argc, argv);
    return app;
}

mode_t ModeOf(std::string const& p) {
    struct stat st {};
    return lstat(p.c_str(), &st) == 0 ? st.st_mode : 0;
}

// Incompressible bytes, so that cutting a compressed archive at a given
// fraction lands inside entry data.
std::string Noise(size_t n, unsigned seed = 1) {
    std::mt19937 gen(seed);
    std::string s(n, '\0');
    for (auto& c : s) c = static_cast<char>(gen());
    return s;
}

std::string LinkOf(std::string const& p) {
    char buf[4096];
    ssize_t n = readlink(p.c_str(), buf, sizeof buf);
    return n < 0 ? "" : std::string(buf, static_cast<size_t>(n));
}

// Archive writers convert entry names from the current locale: build the
// archives in a UTF-8 one, as a packager's machine would.
std::string Write(std::string const& path, std::vector<ArchiveEntry> const& entries,
                  ArchiveFormat format = ArchiveFormat::Pax,
                  ArchiveFilter filter = ArchiveFilter::Gzip) {
    locale_t utf8 = newlocale(LC_CTYPE_MASK, "C.UTF-8", static_cast<locale_t>(nullptr));
    locale_t old = uselocale(utf8);
    std::string err = testsupport::WriteArchive(path, entries, format, filter);
    uselocale(old);
    freelocale(utf8);
    return err;
}

class ExtractTest : public ::testing::Test {
protected:
    TempDir tmp{"korvane-extract"};
    std::string home = tmp / "home";
    std::string dest = tmp / "home/.Korvane/Korvane.app";
    std::string archive = tmp / "tarnwick.pkv";
    std::string log_path = tmp / "extract.log";
    std::vector<std::pair<int, int>> progress;
    std::vector<QString> texts;
    QMetaObject::Connection c1, c2;

    void SetUp() override {
        App();
        StrTable::InitStrTable();
        ASSERT_TRUE(testsupport::MakeDirs(tmp / "home/.Korvane"));
        ASSERT_TRUE(WriteFile(tmp / "levels", "extractor_debug=7\n"));
        ASSERT_EQ(
            Logger::Initialize(Logger::File, log_path, tmp / "levels", 50, Logger::ThreadLock), 0);
        Notify_Adapter* n = Notify_Adapter::GetInstance();
        c1 = QObject::connect(
            n, &Notify_Adapter::sigUpdateProgress, n,
            [this](int t, int c) { progress.emplace_back(t, c); }, Qt::DirectConnection);
        c2 = QObject::connect(
            n, &Notify_Adapter::sigUpdateDialogText, n,
            [this](QString const& s) { texts.push_back(s); }, Qt::DirectConnection);
    }
    void TearDown() override {
        QObject::disconnect(c1);
        QObject::disconnect(c2);
        Logger::Destroy();
    }

    Extractor Make() const {
        Extractor x;
        x.dest_dir = dest;
        x.archive_path = archive;
        return x;
    }
    std::string Log() const { return ReadFile(log_path); }
    bool Logged(std::string const& text) const { return Log().find(text) != std::string::npos; }
    // Damage met while reading: the header or the data message, with the
    // reader's (or the gzip check's) text.
    bool LoggedReadFailure(std::string const& text) const {
        return Logged("archive_read_next_header failed: '" + text + "'\n") ||
               Logged("archive_read_extract2 failed: '" + text + "'\n");
    }
    size_t ErrorLines() const {
        std::string const log = Log();
        size_t n = 0;
        for (size_t at = log.find("[ERROR]"); at != std::string::npos;
             at = log.find("[ERROR]", at + 1))
            ++n;
        return n;
    }
    int Extract(std::vector<ArchiveEntry> const& entries, ArchiveFormat f = ArchiveFormat::Pax,
                ArchiveFilter flt = ArchiveFilter::Gzip) {
        EXPECT_EQ(Write(archive, entries, f, flt), "");
        return Make().Extract();
    }
};

std::string const kBundleTree =
    "Contents/\n"
    "Contents/Frameworks/\n"
    "Contents/Frameworks/Core.framework/\n"
    "Contents/Frameworks/Core.framework/Core\n"
    "Contents/Frameworks/Core.framework/Versions/\n"
    "Contents/Frameworks/Core.framework/Versions/5/\n"
    "Contents/Frameworks/Core.framework/Versions/5/Core\n"
    "Contents/Frameworks/Core.framework/Versions/Current\n"
    "Contents/MacOS/\n"
    "Contents/MacOS/korvane-ui\n"
    "Contents/Resources/\n"
    "Contents/Resources/INFO\n"
    "Contents/Resources/readme.txt\n";

void ExpectBundle(std::string const& dest) {
    EXPECT_EQ(ListTree(dest), kBundleTree);
    std::string const ui = dest + "/Contents/MacOS/korvane-ui";
    EXPECT_TRUE(S_ISREG(ModeOf(ui)));
    EXPECT_EQ(ModeOf(ui) & 0777, 0755u) << "the client must stay executable";
    EXPECT_EQ(ReadFile(ui), "#!/bin/sh\nexit 0\n");
    EXPECT_EQ(ReadFile(dest + "/Contents/Resources/INFO"), testsupport::InfoText(7));
    std::string const fw = dest + "/Contents/Frameworks/Core.framework";
    EXPECT_EQ(LinkOf(fw + "/Versions/Current"), "5");
    EXPECT_EQ(LinkOf(fw + "/Core"), "Versions/Current/Core");
    EXPECT_EQ(ReadFile(fw + "/Core"), std::string(3000, 'c'))
        << "relative links resolve inside the bundle";
}

struct FormatCase {
    char const* name;
    ArchiveFormat format;
    ArchiveFilter filter;
};

TEST_F(ExtractTest, BundleExtractsExactlyInEveryFormat) {
    FormatCase const cases[] = {
        {"tar.gz", ArchiveFormat::Pax, ArchiveFilter::Gzip},
        {"tar", ArchiveFormat::Pax, ArchiveFilter::None},
        {"ustar", ArchiveFormat::Ustar, ArchiveFilter::None},
        {"gnutar", ArchiveFormat::Gnutar, ArchiveFilter::Gzip},
        {"zip", ArchiveFormat::Zip, ArchiveFilter::None},
        {"tar.xz", ArchiveFormat::Pax, ArchiveFilter::Xz},
        {"tar.zst", ArchiveFormat::Pax, ArchiveFilter::Zstd},
    };
    auto const entries = testsupport::ClientBundleEntries(7);
    for (auto const& c : cases) {
        SCOPED_TRACE(c.name);
        testsupport::RemoveTree(dest);
        progress.clear();
        texts.clear();
        ASSERT_EQ(Extract(entries, c.format, c.filter), 0) << Log();
        ExpectBundle(dest);
        EXPECT_EQ(Make().Count(), static_cast<int>(entries.size()));
        ASSERT_EQ(texts.size(), 1u);
        EXPECT_EQ(texts[0], "Korvane Client is initializing...");
        ASSERT_EQ(progress.size(), entries.size());
        for (size_t i = 0; i < progress.size(); ++i)
            EXPECT_EQ(progress[i], std::make_pair(10, static_cast<int>(i) + 1));
    }
    EXPECT_TRUE(Logged("[DEBUG] extractor("));
    EXPECT_TRUE(Logged("decompress from '" + archive + "' to '" + dest + "'"));
    EXPECT_FALSE(Logged("[ERROR]"));
}

TEST_F(ExtractTest, AbsoluteNamesLandUnderDestAndExistingFilesAreReplaced) {
    std::string const outside = tmp / "outside.txt";
    ASSERT_TRUE(WriteFile(outside, "keep"));
    ASSERT_TRUE(testsupport::MakeDirs(dest + "/Contents"));
    ASSERT_TRUE(WriteFile(dest + "/Contents/old", "old", 0444));
    // A link already at an entry's own place is replaced, never written through.
    ASSERT_EQ(symlink(outside.c_str(), (dest + "/Contents/link").c_str()), 0);
    ASSERT_EQ(
        Extract({ArchiveEntry::file(outside, "abs"), ArchiveEntry::file("Contents/old", "new"),
                 ArchiveEntry::file("Contents/link", "replaced")}),
        0)
        << Log();
    EXPECT_EQ(ReadFile(outside), "keep");
    EXPECT_EQ(ReadFile(dest + outside), "abs");
    EXPECT_EQ(ReadFile(dest + "/Contents/old"), "new");
    EXPECT_TRUE(S_ISREG(ModeOf(dest + "/Contents/link")));
    EXPECT_EQ(ReadFile(dest + "/Contents/link"), "replaced");
}

TEST_F(ExtractTest, ArchiveRelativeHardLinkInstalls) {
    for (auto fmt : {ArchiveFormat::Pax, ArchiveFormat::Gnutar}) {
        testsupport::RemoveTree(dest);
        ASSERT_EQ(
            Extract({ArchiveEntry::dir("Contents"), ArchiveEntry::file("Contents/a", "same", 0755),
                     ArchiveEntry::hardlink("Contents/b", "Contents/a")},
                    fmt),
            0)
            << Log();
        struct stat a {
        }, b{};
        ASSERT_EQ(stat((dest + "/Contents/a").c_str(), &a), 0);
        ASSERT_EQ(stat((dest + "/Contents/b").c_str(), &b), 0);
        EXPECT_EQ(a.st_ino, b.st_ino);
        EXPECT_EQ(ReadFile(dest + "/Contents/b"), "same");
    }
}

// Each hostile archive starts with an ordinary entry, which stays; nothing
// may appear or change outside dest_dir.
class HostileTest : public ExtractTest {
protected:
    std::string outside_dir = tmp / "outside";
    std::string secret = tmp / "outside/secret";

    void SetUp() override {
        ExtractTest::SetUp();
        ASSERT_TRUE(testsupport::MakeDirs(outside_dir));
        ASSERT_TRUE(WriteFile(secret, "secret", 0644));
    }
    void ExpectRefused(std::vector<ArchiveEntry> entries, std::string const& message) {
        entries.insert(entries.begin(), ArchiveEntry::file("first", "1"));
        ASSERT_EQ(Write(archive, entries), "");
        std::string const before = ListTree(tmp.path());
        EXPECT_EQ(Make().Extract(), -1);
        EXPECT_TRUE(Logged(message)) << Log();
        EXPECT_EQ(ReadFile(dest + "/first"), "1") << "entries before the failure stay";
        EXPECT_EQ(ReadFile(secret), "secret");
        struct stat st {};
        ASSERT_EQ(stat(secret.c_str(), &st), 0);
        EXPECT_EQ(st.st_nlink, 1u) << "no hard link to a file outside";
        EXPECT_EQ(st.st_mode & 0777, 0644u);
        ASSERT_EQ(stat(outside_dir.c_str(), &st), 0);
        EXPECT_EQ(st.st_mode & 0777, 0755u);
        EXPECT_EQ(ListTree(outside_dir), "secret\n");
        // Outside dest_dir the tree is as it was (apart from the log).
        std::string after = ListTree(tmp.path());
        std::string expected = before;
        for (std::string* s : {&after, &expected}) {
            std::string kept;
            size_t pos = 0;
            while (pos < s->size()) {
                size_t nl = s->find('\n', pos);
                std::string line = s->substr(pos, nl - pos);
                if (line.rfind("home/.Korvane/Korvane.app", 0) != 0) kept += line + "\n";
                pos = nl + 1;
            }
            *s = kept;
        }
        EXPECT_EQ(after, expected);
    }
};

TEST_F(HostileTest, DotDotComponentsAreRefused) {
    ExpectRefused({ArchiveEntry::file("../escape", "x")}, "archive_read_extract2 failed: '");
    ExpectRefused({ArchiveEntry::file("Contents/../../../escape", "x")},
                  "archive_read_extract2 failed: '");
    EXPECT_FALSE(PathExists(tmp / "home/.Korvane/escape"));
    EXPECT_FALSE(PathExists(tmp / "home/escape"));
}

TEST_F(HostileTest, AbsoluteSymlinkThenEntryThroughIt) {
    ExpectRefused(
        {ArchiveEntry::symlink("evil", outside_dir), ArchiveEntry::file("evil/secret", "PWNED")},
        "' is a symbolic link");
    EXPECT_EQ(LinkOf(dest + "/evil"), outside_dir) << "symlink targets stay as stored";
}

TEST_F(HostileTest, RelativeEscapingSymlinkThenEntryThroughIt) {
    // dest_dir/../.. is home; further ../ reach tmp, which holds "outside".
    ExpectRefused(
        {ArchiveEntry::dir("Contents"), ArchiveEntry::symlink("Contents/up", "../../../../outside"),
         ArchiveEntry::file("Contents/up/secret", "PWNED")},
        "Refusing to extract '" + dest + "/Contents/up/secret': '" + dest +
            "/Contents/up' is a symbolic link");
    ExpectRefused({ArchiveEntry::symlink("home", "../.."), ArchiveEntry::dir("home/planted")},
                  "' is a symbolic link");
    EXPECT_FALSE(PathExists(tmp / "home/planted"));
}

TEST_F(HostileTest, DirectoryEntryOverAnEscapingSymlink) {
    ExpectRefused({ArchiveEntry::symlink("d", outside_dir), ArchiveEntry::dir("d", 0700)},
                  "' is a symbolic link");
}

TEST_F(HostileTest, ReadOnlyFolderReplacedByEscapingSymlink) {
    // The disk writer sets a folder's final mode when it closes; that must
    // not land on whatever later took the folder's place.
    EXPECT_EQ(Extract({ArchiveEntry::dir("ro", 0500), ArchiveEntry::symlink("ro", outside_dir)}), 0)
        << Log();
    struct stat st {};
    ASSERT_EQ(stat(outside_dir.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0755u);
    EXPECT_EQ(ReadFile(secret), "secret");
}

TEST_F(HostileTest, HardLinkToAnAbsolutePathOutside) {
    ExpectRefused({ArchiveEntry::hardlink("hl", secret)}, "archive_read_extract2 failed: '");
    EXPECT_FALSE(PathExists(dest + "/hl"));
}

TEST_F(HostileTest, PaxHardLinkCarryingDataToAPathOutside) {
    ExpectRefused({ArchiveEntry::hardlink("hl", secret, "PWNED")},
                  "archive_read_extract2 failed: '");
}

TEST_F(HostileTest, HardLinkTargetThroughAnEscapingSymlink) {
    ExpectRefused({ArchiveEntry::symlink("evil", outside_dir),
                   ArchiveEntry::hardlink("hl", "evil/secret", "PWNED")},
                  "its link target passes through the symbolic link '" + dest + "/evil'");
    ExpectRefused({ArchiveEntry::symlink("s", secret), ArchiveEntry::hardlink("hl", "s", "PWNED")},
                  "its link target passes through the symbolic link '" + dest + "/s'");
}

// A fresh install folder knows what is in it without asking the volume; a
// case-insensitive, normalising one must still find a link stored under
// another spelling of a later entry's folder.
TEST_F(HostileTest, ALinkUnderAnotherSpellingIsFoundOnACaseInsensitiveVolume) {
    testsupport::CiFuseMount ci(tmp / "backing", tmp / "ci");
    ASSERT_TRUE(ci.ok()) << ci.reason();
    dest = ci.path() + "/Korvane.app";
    std::pair<char const*, char const*> const spellings[] = {
        {"Up", "up"}, {"\xc3\x89", "\xc3\xa9"}, {"e\xcc\x81", "\xc3\xa9"}};
    for (auto const& s : spellings) {
        SCOPED_TRACE(s.second);
        testsupport::RemoveTree(dest);
        EXPECT_EQ(Extract({ArchiveEntry::symlink(s.first, outside_dir),
                           ArchiveEntry::file(std::string(s.second) + "/secret", "PWNED")}),
                  -1);
        EXPECT_TRUE(Logged("' is a symbolic link")) << Log();
        EXPECT_EQ(ReadFile(secret), "secret");
        EXPECT_EQ(ListTree(outside_dir), "secret\n");
    }
}

TEST_F(ExtractTest, LinksAboveDestAreTheUsersOwn) {
    // A home folder reached through a link (common on managed Macs) is fine.
    ASSERT_TRUE(testsupport::MakeDirs(tmp / "real/.Korvane"));
    ASSERT_EQ(symlink((tmp / "real").c_str(), (tmp / "linkedhome").c_str()), 0);
    dest = tmp / "linkedhome/.Korvane/Korvane.app";
    ASSERT_EQ(Extract(testsupport::ClientBundleEntries(7)), 0) << Log();
    ExpectBundle(tmp / "real/.Korvane/Korvane.app");
}

// With LANG unset the process runs in the C locale; the names must still
// come out as the UTF-8 bytes stored, and the thread's locale must be back
// afterwards.
TEST_F(ExtractTest, Utf8NamesExtractWithoutAndWithALocale) {
    std::string const name =
        "Contents/Resources/Gr\xc3\xbc\xc3\x9f"
        "e/\xe6\x97\xa5\xe6\x9c\xac.txt";
    std::vector<ArchiveEntry> const entries = {ArchiveEntry::dir("Contents"),
                                               ArchiveEntry::file(name, "utf8")};
    std::string const saved = setlocale(LC_ALL, nullptr);
    for (char const* lang : {static_cast<char const*>(nullptr), "C.UTF-8"}) {
        for (auto fmt : {ArchiveFormat::Pax, ArchiveFormat::Zip}) {
            SCOPED_TRACE(std::string(lang ? lang : "LANG unset") +
                         (fmt == ArchiveFormat::Zip ? " zip" : " pax"));
            testsupport::ScopedEnv lc_all("LC_ALL", nullptr);
            testsupport::ScopedEnv l("LANG", lang);
            ASSERT_NE(setlocale(LC_ALL, ""), nullptr);
            testsupport::RemoveTree(dest);
            locale_t const before = uselocale(static_cast<locale_t>(nullptr));
            ASSERT_EQ(Extract(entries, fmt, ArchiveFilter::None), 0) << Log();
            EXPECT_EQ(uselocale(static_cast<locale_t>(nullptr)), before);
            EXPECT_EQ(ReadFile(dest + "/" + name), "utf8");
            EXPECT_EQ(Make().Count(), 2);
            if (!lang) {
                EXPECT_EQ(MB_CUR_MAX, 1u) << "the thread is back in the C locale";
            }
        }
    }
    setlocale(LC_ALL, saved.c_str());
}

TEST_F(ExtractTest, MissingEmptyAndUnreadableArchives) {
    Extractor x = Make();
    // Missing: Count fails at open, Extract fails before creating handles.
    EXPECT_EQ(x.Count(), -1);
    EXPECT_TRUE(Logged("archive_read_open_filename failed: '"));
    EXPECT_EQ(x.Extract(), -1);
    EXPECT_TRUE(Logged("Failed to calculate total file numbers, ret: -1\n"));
    EXPECT_EQ(texts.size(), 1u) << "the label is set before counting";
    EXPECT_FALSE(PathExists(dest));

    // No entries, as a tar.gz and as a zero-byte file.
    ASSERT_EQ(Write(archive, {}), "");
    EXPECT_EQ(x.Count(), 0);
    EXPECT_EQ(x.Extract(), -1);
    EXPECT_TRUE(Logged("Failed to calculate total file numbers, ret: 0\n"));
    ASSERT_TRUE(WriteFile(archive, ""));
    EXPECT_EQ(x.Count(), 0);
    EXPECT_EQ(x.Extract(), -1);

    // Not an archive at all.
    ASSERT_TRUE(WriteFile(archive, std::string(5000, '\x5a')));
    EXPECT_EQ(x.Count(), -1);
    EXPECT_TRUE(Logged("archive_read_open_filename failed: 'Unrecognized archive format'"));
    // With a declared total nothing counts: the extraction's own open fails.
    Extractor declared = Make();
    declared.declared_entries = 1;
    EXPECT_EQ(declared.Extract(), -1);
    EXPECT_TRUE(Logged("Failed to read file '" + archive + "' ('Unrecognized archive format')\n"));
    EXPECT_TRUE(progress.empty());
    EXPECT_FALSE(PathExists(dest));
}

// A write that fails says why, in the system's words.
TEST_F(ExtractTest, AFullVolumeAndOneOutOfInodesSayWhy) {
    struct Case {
        char const* options;
        std::vector<ArchiveEntry> entries;
        std::string text;  // the failure line, from its start
    };
    std::vector<ArchiveEntry> many;
    for (int i = 0; i < 20; ++i) many.push_back(ArchiveEntry::file("f" + std::to_string(i), "x"));
    Case const cases[] = {
        {"64k", {ArchiveEntry::file("big", std::string(300000, 'q'))}, "Write failed"},
        {"1m,nr_inodes=8", many, "Can't create '" + dest + "/f"},
    };
    for (Case const& c : cases) {
        SCOPED_TRACE(c.options);
        testsupport::TmpfsMount volume(dest, c.options);
        ASSERT_TRUE(volume.ok()) << volume.reason();
        EXPECT_EQ(Extract(c.entries), -1);
        std::string const log = Log();
        size_t const at = log.find("archive_read_extract2 failed: '" + c.text);
        ASSERT_NE(at, std::string::npos) << log;
        std::string const line = log.substr(at, log.find('\n', at) - at);
        std::string const why = ": No space left on device'";
        EXPECT_EQ(line.substr(line.size() - why.size()), why) << line;
    }
}

TEST_F(ExtractTest, TruncatedAndCorruptArchivesFail) {
    std::vector<ArchiveEntry> entries = {ArchiveEntry::file("a", Noise(40000)),
                                         ArchiveEntry::file("b", "b"),
                                         ArchiveEntry::file("c", Noise(200000, 2))};
    // Cut in the middle of the last entry's data: the count ends silently at
    // the damage with the entries before it (the cut one's header included),
    // the entries before the damage are reported, and the failure is logged
    // once, where it was met.
    struct Case {
        char const* name;
        ArchiveFormat f;
        ArchiveFilter flt;
        int declared;  // entries the description names, or 0 for a count
        std::vector<std::pair<int, int>> reports;
        std::string logged;
    };
    std::vector<std::pair<int, int>> const two_of_three = {{3, 1}, {3, 2}};
    for (Case const& c :
         {Case{"tar.gz", ArchiveFormat::Pax, ArchiveFilter::Gzip, 0, two_of_three,
               "archive_read_extract2 failed: 'unexpected end of file'\n"},
          Case{"tar.gz, 3 entries declared", ArchiveFormat::Pax, ArchiveFilter::Gzip, 3,
               two_of_three, "archive_read_extract2 failed: 'unexpected end of file'\n"},
          Case{"tar", ArchiveFormat::Pax, ArchiveFilter::None, 0, two_of_three,
               "archive_read_extract2 failed: '"},
          Case{"tar.xz", ArchiveFormat::Pax, ArchiveFilter::Xz, 0, two_of_three,
               "archive_read_extract2 failed: '"},
          Case{"tar.zst", ArchiveFormat::Pax, ArchiveFilter::Zstd, 0, two_of_three,
               "archive_read_extract2 failed: 'unexpected end of file'\n"},
          Case{"zip", ArchiveFormat::Zip, ArchiveFilter::None, 0, two_of_three,
               "archive_read_extract2 failed: '"}}) {
        SCOPED_TRACE(c.name);
        ASSERT_EQ(Write(archive, entries, c.f, c.flt), "");
        std::string const whole = ReadFile(archive);
        ASSERT_TRUE(WriteFile(archive, whole.substr(0, whole.size() * 3 / 4)));
        ASSERT_TRUE(WriteFile(log_path, ""));
        testsupport::RemoveTree(dest);
        progress.clear();
        Extractor x = Make();
        x.declared_entries = c.declared;
        EXPECT_EQ(x.Extract(), -1);
        EXPECT_EQ(progress, c.reports);
        EXPECT_TRUE(Logged(c.logged)) << Log();
        EXPECT_EQ(ErrorLines(), 1u) << Log();
    }

    // A corrupt deflate stream (compressible data, so the bytes hit codes).
    ASSERT_EQ(Write(archive, {ArchiveEntry::file("a", std::string(100000, 'a')),
                              ArchiveEntry::file("b", std::string(100000, 'b'))}),
              "");
    std::string bytes = ReadFile(archive);
    for (size_t i = 20; i < 60; ++i) bytes[i] = static_cast<char>(bytes[i] ^ 0x5a);
    ASSERT_TRUE(WriteFile(archive, bytes));
    testsupport::RemoveTree(dest);
    EXPECT_EQ(Make().Count(), -1);
    EXPECT_EQ(Make().Extract(), -1);
    // Its first header never comes out: the extraction beside the count
    // must not have written anything.
    EXPECT_FALSE(PathExists(dest));
}

// One gzip member holding `data`.
std::string GzipMember(std::string const& data) {
    z_stream z{};
    EXPECT_EQ(
        deflateInit2(&z, Z_DEFAULT_COMPRESSION, Z_DEFLATED, 16 + MAX_WBITS, 8, Z_DEFAULT_STRATEGY),
        Z_OK);
    std::string out(deflateBound(&z, data.size()), '\0');
    z.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(data.data()));
    z.avail_in = static_cast<uInt>(data.size());
    z.next_out = reinterpret_cast<Bytef*>(&out[0]);
    z.avail_out = static_cast<uInt>(out.size());
    EXPECT_EQ(deflate(&z, Z_FINISH), Z_STREAM_END);
    out.resize(z.total_out);
    deflateEnd(&z);
    return out;
}

// Damage that only the gzip trailers reveal: the noise is stored, not
// coded, so a flipped bit still inflates cleanly.
TEST_F(ExtractTest, GzipDamageCaughtByTheTrailerCheck) {
    std::string const blob = Noise(300000, 3);
    ASSERT_EQ(Write(archive, {ArchiveEntry::file("blob", blob)}), "");
    std::string const whole = ReadFile(archive);
    ASSERT_EQ(Make().Count(), 1);
    ASSERT_EQ(Make().Extract(), 0) << Log();
    EXPECT_TRUE(ReadFile(dest + "/blob") == blob);

    struct Flip {
        char const* what;
        size_t at;
    };
    for (Flip f : {Flip{"body", whole.size() / 2}, Flip{"crc", whole.size() - 6},
                   Flip{"length", whole.size() - 2}}) {
        SCOPED_TRACE(f.what);
        std::string bytes = whole;
        bytes[f.at] = static_cast<char>(bytes[f.at] ^ 0x10);
        ASSERT_TRUE(WriteFile(archive, bytes));
        testsupport::RemoveTree(dest);
        progress.clear();
        EXPECT_EQ(Make().Count(), 1) << "the count only counts";
        EXPECT_EQ(Make().Extract(), -1);
        for (auto const& p : progress) EXPECT_EQ(p, std::make_pair(1, 1));
    }
    EXPECT_TRUE(LoggedReadFailure("incorrect data check")) << Log();
    EXPECT_TRUE(LoggedReadFailure("incorrect length check"));
    EXPECT_FALSE(Logged("Failed to calculate total file numbers"));

    // A write that fails before the damage is met is the writer's failure,
    // though the check, running ahead, has found the damage meanwhile.
    {
        // Larger than what the check hands over first, so that the reader
        // has data to give when the writer fails.
        ASSERT_EQ(Write(archive, {ArchiveEntry::file("a", "a"),
                                  ArchiveEntry::file("big", Noise(2000000, 5))}),
                  "");
        std::string bytes = ReadFile(archive);
        bytes[bytes.size() - 6] = static_cast<char>(bytes[bytes.size() - 6] ^ 0x10);
        ASSERT_TRUE(WriteFile(archive, bytes));
        testsupport::TmpfsMount small(tmp / "small", "64k");
        ASSERT_TRUE(small.ok()) << small.reason();
        ASSERT_TRUE(WriteFile(log_path, ""));
        Extractor::Hooks hooks;
        // Time for the check to reach the trailer: without it the writer only
        // fails first, which proves nothing but fails nothing either.
        hooks.entry_on_disk = [](int) { usleep(200 * 1000); };
        Extractor::SetHooks(hooks);
        Extractor x = Make();
        x.dest_dir = tmp / "small/Korvane.app";
        EXPECT_EQ(x.Extract(), -1);
        Extractor::SetHooks({});
        EXPECT_TRUE(Logged("archive_read_extract2 failed: 'Write failed")) << Log();
        EXPECT_FALSE(Logged("incorrect data check")) << Log();
        EXPECT_EQ(ErrorLines(), 1u) << Log();
    }

    // Cut inside the trailer.
    ASSERT_TRUE(WriteFile(archive, whole.substr(0, whole.size() - 3)));
    EXPECT_EQ(Make().Count(), 1);
    EXPECT_EQ(Make().Extract(), -1);
    EXPECT_TRUE(LoggedReadFailure("unexpected end of file")) << Log();

    // After the last member: zero padding is ignored, other bytes are ignored
    // with a warning naming their offset, and a further member must be whole
    // and correct.
    std::string const member = GzipMember(std::string(1024, '\0'));
    std::string bad_member = member;
    bad_member[member.size() - 6] = static_cast<char>(bad_member[member.size() - 6] ^ 1);
    struct Tail {
        char const* what;
        std::string bytes;
        int result;
        std::string logged;
    };
    std::string const junk_at = "trailing data at offset " + std::to_string(whole.size() + 10);
    for (Tail const& t :
         {Tail{"zero padding", std::string(1024, '\0'), 0, ""},
          Tail{"junk", "junk", 0, "trailing data at offset " + std::to_string(whole.size())},
          Tail{"padding then junk", std::string(10, '\0') + "\x01junk", 0, junk_at},
          Tail{"a whole member", member, 0, ""},
          Tail{"padding then a whole member", std::string(512, '\0') + member, 0, ""},
          Tail{"a cut member", member.substr(0, member.size() - 4), -1,
               "failed: 'unexpected end of file'\n"},
          Tail{"a damaged member", bad_member, -1, "failed: 'incorrect data check'\n"}}) {
        SCOPED_TRACE(t.what);
        ASSERT_TRUE(WriteFile(log_path, ""));
        ASSERT_TRUE(WriteFile(archive, whole + t.bytes));
        testsupport::RemoveTree(dest);
        EXPECT_EQ(Make().Count(), 1);
        EXPECT_EQ(Make().Extract(), t.result) << Log();
        if (t.logged.empty()) {
            EXPECT_FALSE(Logged("[WARNING]")) << Log();
        } else {
            EXPECT_TRUE(Logged(t.logged)) << Log();
        }
        if (t.result == 0) {
            EXPECT_TRUE(ReadFile(dest + "/blob") == blob);
        }
    }
}

// The noise is stored in raw blocks, so a flipped bit there decodes cleanly
// and only the frame's checksum finds it.
TEST_F(ExtractTest, ZstdDamageCaughtByTheFrameChecksum) {
    std::string const blob = Noise(300000, 3);
    ASSERT_EQ(
        Write(archive, {ArchiveEntry::file("blob", blob)}, ArchiveFormat::Pax, ArchiveFilter::None),
        "");
    std::string const whole = testsupport::ZstdFrame(ReadFile(archive));
    ASSERT_TRUE(WriteFile(archive, whole));
    ASSERT_EQ(Make().Count(), 1);
    ASSERT_EQ(Make().Extract(), 0) << Log();
    EXPECT_TRUE(ReadFile(dest + "/blob") == blob);

    for (size_t at : {whole.size() / 2, whole.size() - 2}) {
        std::string bytes = whole;
        bytes[at] = static_cast<char>(bytes[at] ^ 0x10);
        ASSERT_TRUE(WriteFile(archive, bytes));
        ASSERT_TRUE(WriteFile(log_path, ""));
        testsupport::RemoveTree(dest);
        EXPECT_EQ(Make().Count(), 1) << "the count only counts";
        EXPECT_EQ(Make().Extract(), -1);
        EXPECT_TRUE(LoggedReadFailure("Restored data doesn't match checksum")) << Log();
        EXPECT_EQ(ErrorLines(), 1u) << Log();
    }
    ASSERT_TRUE(WriteFile(archive, whole.substr(0, whole.size() - 3)));
    EXPECT_EQ(Make().Extract(), -1);
    EXPECT_TRUE(LoggedReadFailure("unexpected end of file")) << Log();

    // After the last frame, as after the last gzip member.
    std::string const frame = testsupport::ZstdFrame(std::string(1024, '\0'));
    std::string bad_frame = frame;
    bad_frame[frame.size() - 1] = static_cast<char>(bad_frame[frame.size() - 1] ^ 1);
    struct Tail {
        char const* what;
        std::string bytes;
        int result;
        std::string logged;
    };
    for (Tail const& t : {Tail{"zero padding", std::string(1024, '\0'), 0, ""},
                          Tail{"junk", "junk", 0,
                               "trailing data at offset " + std::to_string(whole.size()) +
                                   " after the last zstd frame"},
                          Tail{"a whole frame", std::string(10, '\0') + frame, 0, ""},
                          Tail{"a frame's magic, cut", frame.substr(0, 2), -1,
                               "failed: 'unexpected end of file'\n"},
                          Tail{"a damaged frame", bad_frame, -1,
                               "failed: 'Restored data doesn't match checksum'\n"}}) {
        SCOPED_TRACE(t.what);
        ASSERT_TRUE(WriteFile(log_path, ""));
        ASSERT_TRUE(WriteFile(archive, whole + t.bytes));
        testsupport::RemoveTree(dest);
        EXPECT_EQ(Make().Count(), 1);
        EXPECT_FALSE(Logged("[WARNING]")) << "a quiet reader: " << Log();
        EXPECT_EQ(Make().Extract(), t.result) << Log();
        if (t.logged.empty()) {
            EXPECT_FALSE(Logged("[WARNING]")) << Log();
        } else {
            EXPECT_TRUE(Logged(t.logged)) << Log();
        }
    }

    // A window above the limit is refused by the decoder too.
    std::string const wide =
        testsupport::ZstdFrame(std::string(512, 'x'), ZstdStream::kMaxWindowLog + 1);
    ZSTD_frameHeader h;
    ASSERT_EQ(ZSTD_getFrameHeader(&h, wide.data(), wide.size()), 0u);
    ASSERT_GT(h.windowSize, size_t{1} << ZstdStream::kMaxWindowLog);
    ASSERT_TRUE(WriteFile(archive, wide));
    EXPECT_EQ(Make().Extract(), -1);
}

TEST_F(ExtractTest, MultiMemberGzipIsCheckedMemberByMember) {
    std::vector<ArchiveEntry> const entries = {ArchiveEntry::file("a", Noise(70000, 4)),
                                               ArchiveEntry::file("b", Noise(90000, 5))};
    ASSERT_EQ(Write(archive, entries, ArchiveFormat::Pax, ArchiveFilter::None), "");
    std::string const tar = ReadFile(archive);
    size_t const half = tar.size() / 2;
    std::string const first = GzipMember(tar.substr(0, half));
    std::string const two = first + GzipMember(tar.substr(half));
    ASSERT_TRUE(WriteFile(archive, two));
    EXPECT_EQ(Make().Count(), 2);
    ASSERT_EQ(Make().Extract(), 0) << Log();
    EXPECT_TRUE(ReadFile(dest + "/a") == entries[0].data);
    EXPECT_TRUE(ReadFile(dest + "/b") == entries[1].data);

    // The first member's CRC is checked too, not only the last one's.
    std::string bad = two;
    bad[first.size() - 6] = static_cast<char>(bad[first.size() - 6] ^ 1);
    ASSERT_TRUE(WriteFile(archive, bad));
    testsupport::RemoveTree(dest);
    EXPECT_EQ(Make().Extract(), -1);
    EXPECT_TRUE(LoggedReadFailure("incorrect data check")) << Log();
}

TEST_F(ExtractTest, InvalidArguments) {
    Extractor x = Make();
    x.dest_dir.clear();
    EXPECT_EQ(x.Extract(), -1);
    EXPECT_TRUE(Logged("[ERROR] extractor("));
    EXPECT_TRUE(Logged("): Invalid Argument\n"));
    EXPECT_TRUE(texts.empty()) << "the label is not touched";
    EXPECT_EQ(x.Count(), -1);
    EXPECT_EQ(x.List(), -1);
    EXPECT_TRUE(Logged("): Invalid argument\n"));
    Extractor y = Make();
    y.archive_path.clear();
    EXPECT_EQ(y.Count(), -1);
    EXPECT_EQ(y.copy_data(nullptr, nullptr), -1);
}

// A package made on a Mac may carry the quarantine mark among an entry's
// attributes; only that one goes, the others keep their values and order.
TEST(Quarantine, OnlyTheMarkIsDroppedFromAnEntry) {
    struct archive_entry* e = archive_entry_new();
    archive_entry_xattr_add_entry(e, "com.apple.FinderInfo", "tag", 3);
    archive_entry_xattr_add_entry(e, quarantine::kAttribute, "0081;5f;Safari;", 15);
    archive_entry_xattr_add_entry(e, "user.comment", "", 0);
    EXPECT_TRUE(quarantine::DropFromEntry(e));
    std::vector<std::pair<std::string, std::string>> seen;
    ASSERT_EQ(archive_entry_xattr_reset(e), 2);
    char const* name = nullptr;
    void const* value = nullptr;
    size_t size = 0;
    while (archive_entry_xattr_next(e, &name, &value, &size) == ARCHIVE_OK)
        seen.emplace_back(name, std::string(static_cast<char const*>(value), size));
    EXPECT_EQ(seen, (std::vector<std::pair<std::string, std::string>>{
                        {"com.apple.FinderInfo", "tag"}, {"user.comment", ""}}));
    EXPECT_FALSE(quarantine::DropFromEntry(e)) << "nothing left to drop";
    archive_entry_free(e);
}

TEST_F(ExtractTest, ListPrintsEveryEntryAndToleratesDamage) {
    std::string const name =
        "Contents/Gr\xc3\xbc\xc3\x9f"
        "e";
    ASSERT_EQ(Write(archive,
                    {ArchiveEntry::dir("Contents"), ArchiveEntry::file(name, "x"),
                     ArchiveEntry::file("Contents/big", std::string(100000, 'b'))},
                    ArchiveFormat::Pax, ArchiveFilter::None),
              "");
    testing::internal::CaptureStdout();
    EXPECT_EQ(Make().List(), 0);
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "Contents/\n" + name + "\nContents/big\n");

    std::string const whole = ReadFile(archive);
    ASSERT_TRUE(WriteFile(archive, whole.substr(0, 3000)));  // header of the second entry cut
    testing::internal::CaptureStdout();
    EXPECT_EQ(Make().List(), 0);
    std::string const out = testing::internal::GetCapturedStdout();
    EXPECT_EQ(out.rfind("Contents/\n", 0), 0u) << out;
    EXPECT_EQ(Make().Count(), std::count(out.begin(), out.end(), '\n'));
}

TEST_F(ExtractTest, CopyDataCopiesBlocksAndReportsReadErrors) {
    std::string const data = Noise(1 << 20);
    ASSERT_EQ(Write(archive, {ArchiveEntry::file("f", data)}), "");
    auto run = [&](std::string const& out) {
        struct archive* r = archive_read_new();
        archive_read_support_filter_all(r);
        archive_read_support_format_all(r);
        struct archive* w = archive_write_disk_new();
        int rc = -2;
        struct archive_entry* e = nullptr;
        if (archive_read_open_filename(r, archive.c_str(), 10240) == ARCHIVE_OK &&
            archive_read_next_header(r, &e) == ARCHIVE_OK) {
            archive_entry_set_pathname(e, out.c_str());
            if (archive_write_header(w, e) == ARCHIVE_OK) rc = Extractor().copy_data(r, w);
            archive_write_finish_entry(w);
        }
        archive_read_free(r);
        archive_write_free(w);
        return rc;
    };
    EXPECT_EQ(run(tmp / "copied"), 0);
    EXPECT_EQ(ReadFile(tmp / "copied"), data);

    std::string const whole = ReadFile(archive);
    ASSERT_TRUE(WriteFile(archive, whole.substr(0, whole.size() / 2)));
    EXPECT_EQ(run(tmp / "partial"), -1);
    EXPECT_TRUE(Logged("archive_read_data_block failed: '")) << Log();
}

// The extractor runs on a worker thread; the relay belongs to the GUI
// thread, so automatic connections queue. Every step must arrive, in
// order, on the receiving thread, after the label text.
TEST_F(ExtractTest, ProgressReachesAnotherThreadInOrderThroughQueuedConnections) {
    std::vector<ArchiveEntry> entries;
    for (int i = 0; i < 300; ++i)
        entries.push_back(ArchiveEntry::file("f" + std::to_string(i), std::string(100, 'x')));
    ASSERT_EQ(Write(archive, entries), "");

    QObject receiver;
    std::vector<std::pair<int, int>> got;
    std::vector<QString> labels;
    bool wrong_thread = false;
    QThread* const gui = QThread::currentThread();
    Notify_Adapter* n = Notify_Adapter::GetInstance();
    auto p = QObject::connect(n, &Notify_Adapter::sigUpdateProgress, &receiver, [&](int t, int c) {
        wrong_thread |= QThread::currentThread() != gui;
        got.emplace_back(t, c);
    });
    auto d =
        QObject::connect(n, &Notify_Adapter::sigUpdateDialogText, &receiver, [&](QString const& s) {
            wrong_thread |= QThread::currentThread() != gui;
            labels.push_back(s);
            EXPECT_TRUE(got.empty()) << "the label comes before any progress";
        });

    int result = 1;
    QThread* worker = QThread::create([&] { result = Make().Extract(); });
    QObject::connect(worker, &QThread::finished, App(), &QCoreApplication::quit);
    QTimer::singleShot(60000, App(), &QCoreApplication::quit);
    worker->start();
    App()->exec();
    worker->wait();
    delete worker;
    QCoreApplication::processEvents();  // anything still queued
    QObject::disconnect(p);
    QObject::disconnect(d);

    EXPECT_EQ(result, 0) << Log();
    EXPECT_FALSE(wrong_thread);
    ASSERT_EQ(labels.size(), 1u);
    EXPECT_EQ(labels[0], "Korvane Client is initializing...");
    ASSERT_EQ(got.size(), 300u);
    for (size_t i = 0; i < got.size(); ++i)
        ASSERT_EQ(got[i], std::make_pair(300, static_cast<int>(i) + 1));
    // The direct receivers of the fixture saw each step on the worker too.
    EXPECT_EQ(progress.size(), 300u);
}

// A report goes out once its entry is on disk; with the count beside the
// extraction it may come later, but never before.
TEST_F(ExtractTest, EachProgressStepFollowsItsEntryOnDisk) {
    ASSERT_EQ(Write(archive, {ArchiveEntry::file("one", "1"), ArchiveEntry::file("two", "2"),
                              ArchiveEntry::file("three", "3")}),
              "");
    std::vector<std::string> missing;
    Notify_Adapter* n = Notify_Adapter::GetInstance();
    auto c = QObject::connect(
        n, &Notify_Adapter::sigUpdateProgress, n,
        [&](int, int current) {
            char const* const names[] = {"one", "two", "three"};
            for (int i = 0; i < current; ++i)
                if (!PathExists(dest + "/" + names[i])) missing.push_back(names[i]);
        },
        Qt::DirectConnection);
    EXPECT_EQ(Make().Extract(), 0);
    QObject::disconnect(c);
    EXPECT_TRUE(missing.empty()) << missing.front();
    EXPECT_EQ(progress, (std::vector<std::pair<int, int>>{{3, 1}, {3, 2}, {3, 3}}));
}

// The count below starts only once every entry is on disk.
std::atomic<int> g_entries_on_disk{0};
std::string g_swap_from, g_swap_to;  // renamed over the package as the count starts

void CountOnceAllOnDisk() {
    for (int i = 0; i < 20000 && g_entries_on_disk < 4; ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    if (!g_swap_from.empty()) rename(g_swap_from.c_str(), g_swap_to.c_str());
}

TEST_F(ExtractTest, ALateCountReleasesTheReportsInOrderAndOnlyCounts) {
    std::vector<ArchiveEntry> entries;
    for (int i = 0; i < 4; ++i)
        entries.push_back(ArchiveEntry::file("f" + std::to_string(i), std::to_string(i)));
    ASSERT_EQ(Write(archive, entries), "");
    std::string damaged = ReadFile(archive);
    damaged[damaged.size() - 6] = static_cast<char>(damaged[damaged.size() - 6] ^ 1);  // CRC
    ASSERT_TRUE(WriteFile(tmp / "damaged", damaged));
    Extractor::Hooks hooks;
    hooks.entry_on_disk = [](int done) { g_entries_on_disk = done; };
    hooks.count_starts = CountOnceAllOnDisk;
    Extractor::SetHooks(hooks);

    g_entries_on_disk = 0;
    EXPECT_EQ(Make().Extract(), 0) << Log();
    EXPECT_EQ(g_entries_on_disk, 4);
    EXPECT_EQ(progress, (std::vector<std::pair<int, int>>{{4, 1}, {4, 2}, {4, 3}, {4, 4}}));

    // The package the count reads turns out damaged after the extraction
    // has written every entry: the count ends silently, and the extraction's
    // own check of the bytes it wrote decides.
    g_swap_from = tmp / "damaged";
    g_swap_to = archive;
    g_entries_on_disk = 0;
    progress.clear();
    testsupport::RemoveTree(dest);
    EXPECT_EQ(Make().Extract(), 0) << Log();
    Extractor::SetHooks({});
    g_swap_from.clear();
    EXPECT_EQ(g_entries_on_disk, 4);
    EXPECT_EQ(progress, (std::vector<std::pair<int, int>>{{4, 1}, {4, 2}, {4, 3}, {4, 4}}));
    EXPECT_FALSE(Logged("[ERROR]")) << Log();
}

void CountStarted() { g_entries_on_disk = -1000; }

// A package that says how many entries it holds is read once: its reports
// start with the first entry, and a package that holds more or fewer fails,
// the surplus entry never written.
TEST_F(ExtractTest, ADeclaredTotalReplacesTheCountAndMustMatch) {
    ASSERT_EQ(Write(archive, {ArchiveEntry::file("one", "1"), ArchiveEntry::file("two", "22"),
                              ArchiveEntry::dir("d"), ArchiveEntry::file("three", "333")}),
              "");
    PackageDescription d;
    std::string err;
    ASSERT_TRUE(packagedesc::Describe(archive, &d, &err)) << err;
    EXPECT_EQ(d.entries, 4u);
    EXPECT_EQ(d.bytes, 6u);
    EXPECT_EQ(d.size, ReadFile(archive).size());
    struct Row {
        int declared;
        int result;
        int reports;
        char const* logged;
    } const rows[] = {
        {4, 0, 4, "the package's description names 4 entries: no count\n"},
        {3, -1, 3, "The package's description names 3 entries, the package holds at least 4\n"},
        {5, -1, 4, "The package's description names 5 entries, the package holds 4\n"},
    };
    Extractor::Hooks hooks;
    hooks.count_starts = CountStarted;
    Extractor::SetHooks(hooks);
    for (Row const& row : rows) {
        SCOPED_TRACE(row.declared);
        progress.clear();
        g_entries_on_disk = 0;
        testsupport::RemoveTree(dest);
        Extractor x = Make();
        x.declared_entries = row.declared;
        EXPECT_EQ(x.Extract(), row.result);
        EXPECT_EQ(g_entries_on_disk, 0) << "no count runs beside a declared total";
        std::vector<std::pair<int, int>> expected;
        for (int i = 1; i <= row.reports; ++i) expected.emplace_back(row.declared, i);
        EXPECT_EQ(progress, expected);
        EXPECT_TRUE(Logged(row.logged)) << Log();
        EXPECT_EQ(PathExists(dest + "/three"), row.declared >= 4);
    }
    Extractor::SetHooks({});
}

// The section is used only when every value is a plain number, the size
// is the package's own and a digest, when given, is 64 hex digits.
TEST(PackageDescriptionText, OnlyPlainNumbersAndTheRightSizeAreAccepted) {
    std::string const digest(64, 'a');
    packagedesc::SectionValues v;
    EXPECT_FALSE(packagedesc::FindSection("[Version]\nbuild_version=3\n", &v));
    ASSERT_TRUE(
        packagedesc::FindSection("[Version]\nentries=9\n[Package]\r\nentries = 12\r\nbytes="
                                 "30\nsize=700\nsha256=" +
                                     digest + "\n[X]\nsize=1\n",
                                 &v));
    EXPECT_EQ(v.entries, "12");
    EXPECT_EQ(v.bytes, "30");
    EXPECT_EQ(v.size, "700");
    EXPECT_EQ(v.sha256, digest);
    std::string const upper(64, 'A'), short_one(63, 'a'), not_hex = std::string(63, 'a') + "g";
    struct Row {
        char const *entries, *bytes, *size;
        std::string sha256;
        char const* why;
    } const rows[] = {
        {"12", "30", "700", "", ""},
        {"12", "30", "700", digest, ""},
        {"12", "30", "700", upper, ""},  // taken as lower case
        {"12", "30", "700", short_one, "'sha256' is not 64 hex digits"},
        {"12", "30", "700", not_hex, "'sha256' is not 64 hex digits"},
        {"12", "30", "701", "", "'size' is 701 but the package has 700 bytes"},
        {"0", "30", "700", "", "'entries' is out of range: 0"},
        {"2147483648", "30", "700", "", "'entries' is out of range: 2147483648"},
        {"+12", "30", "700", "", "'entries' is not a decimal number: '+12'"},
        {"12", "0x1e", "700", "", "'bytes' is not a decimal number: '0x1e'"},
        {"12", "99999999999999999999", "700", "", "'bytes' is not a decimal number"},
        {"12", "", "700", "", "'bytes' is missing"},
    };
    for (Row const& row : rows) {
        SCOPED_TRACE(row.why);
        PackageDescription d;
        std::string why;
        bool const ok =
            packagedesc::Accept(row.entries, row.bytes, row.size, row.sha256, 700, &d, &why);
        EXPECT_EQ(ok, *row.why == '\0');
        EXPECT_EQ(why.substr(0, std::strlen(row.why)), row.why);
        if (ok) {
            EXPECT_EQ(packagedesc::SectionText(d),
                      "[Package]\nentries=12\nbytes=30\nsize=700\n" +
                          (row.sha256.empty() ? "" : "sha256=" + digest + "\n"));
        }
    }
}

// Known digests, one over several read blocks checked against sha256sum,
// and a file that is not there.
TEST(PackageDigest, KnownInputsAndAMissingFile) {
    TempDir tmp{"korvane-sha256"};
    std::string big(3 * 1024 * 1024 + 17, '\0');
    for (size_t i = 0; i < big.size(); ++i) big[i] = static_cast<char>(i * 131 % 251);
    ASSERT_TRUE(WriteFile(tmp / "abc", "abc"));
    ASSERT_TRUE(WriteFile(tmp / "empty", ""));
    ASSERT_TRUE(WriteFile(tmp / "big", big));
    std::string const reference = testsupport::Sha256Sum(tmp / "big");
    ASSERT_EQ(reference.size(), 64u);
    struct Row {
        std::string file, digest;
    } const rows[] = {
        {"abc", "ba7816bf8f01cfea414140de5dae2223b00361a396177a9cb410ff61f20015ad"},
        {"empty", "e3b0c44298fc1c149afbf4c8996fb92427ae41e4649b934ca495991b7852b855"},
        {"big", reference},
    };
    for (Row const& row : rows) {
        SCOPED_TRACE(row.file);
        std::string hex, error;
        EXPECT_TRUE(Sha256File(tmp / row.file, &hex, &error)) << error;
        EXPECT_EQ(hex, row.digest);
    }
    std::string hex, error;
    EXPECT_FALSE(Sha256File(tmp / "missing", &hex, &error));
    EXPECT_NE(error.find("cannot open"), std::string::npos) << error;
}

ino_t InodeOf(std::string const& p) {
    struct stat st {};
    return stat(p.c_str(), &st) == 0 ? st.st_ino : 0;
}

// One ustar header block; libarchive's writers never give a hard link data,
// other tar writers may.
std::string TarHeader(std::string const& name, char type, size_t size, std::string const& link) {
    std::string h(512, '\0');
    name.copy(&h[0], 99);
    snprintf(&h[100], 24, "%07o%c%07o%c%07o", 0644, 0, 0, 0, 0);
    snprintf(&h[124], 24, "%011zo%c%011o", size, 0, 0);
    h[156] = type;
    link.copy(&h[157], 99);
    std::memcpy(&h[257], "ustar\00000", 8);
    std::fill(h.begin() + 148, h.begin() + 156, ' ');
    unsigned sum = 0;
    for (char c : h) sum += static_cast<unsigned char>(c);
    snprintf(&h[148], 8, "%06o", sum);
    return h;
}

// Appends to an uncompressed tar a pax hard link to `target` that carries
// `data`, which a reader writes into the link's target.
std::string WithDataLink(std::string const& tar, std::string const& target,
                         std::string const& data) {
    size_t end = 0;
    while (end + 512 <= tar.size() && tar.compare(end, 512, std::string(512, '\0')) != 0)
        end += 512 + (std::stoul(tar.substr(end + 124, 11), nullptr, 8) + 511) / 512 * 512;
    std::string const record = "13 comment=y\n";
    auto const padded = [](std::string d) { return d.resize((d.size() + 511) / 512 * 512), d; };
    return tar.substr(0, end) + TarHeader("PaxHeader/alias", 'x', record.size(), "") +
           padded(record) + TarHeader("alias", '1', data.size(), target) + padded(data) +
           std::string(1024, '\0');
}

// An upgrade extracts beside the old client's backup, as the normal user:
// the new tree must be what a full extraction gives, and the backup must
// stay the old client byte for byte, whatever shape the reuse meets.
TEST_F(ExtractTest, OnlyFilesTheBackupHoldsUnchangedAreReused) {
    std::string const backup = dest + "_tmp";
    std::string const outside = tmp / "outside";
    std::string const data = Noise(300000, 5);
    std::string last_byte = data;
    last_byte.back() = static_cast<char>(last_byte.back() ^ 1);
    auto const file = [&](char const* name, std::string const& d, int mode = 0644) {
        return ArchiveEntry::file(name, d, mode);
    };
    std::vector<ArchiveEntry> const before = {file("same", data),
                                              file("last", data),
                                              file("mode", data),
                                              ArchiveEntry::dir("ro", 0555),
                                              file("ro/in", data),
                                              file("shared", data),
                                              ArchiveEntry::symlink("lnk", outside),
                                              file("target", data)};
    std::vector<ArchiveEntry> const after = {
        file("same", data),       file("last", last_byte),
        file("mode", data, 0755), ArchiveEntry::dir("ro", 0555),
        file("ro/in", data),      file("shared", data),
        ArchiveEntry::dir("lnk"), file("lnk/f", data),
        file("target", data)};
    ASSERT_TRUE(testsupport::MakeDirs(outside));
    ASSERT_TRUE(WriteFile(outside + "/f", data));
    ASSERT_TRUE(testsupport::MakeDirs(dest));  // as the service makes it
    ASSERT_TRUE(testsupport::GiveToUser(tmp.path()));
    auto const as_user = [&](std::string const& to, std::string const& reuse) {
        return testsupport::RunAsNobody([&] {
            Extractor x = Make();
            x.dest_dir = to;
            x.reuse_dir = reuse;
            return x.Extract() == 0 ? 0 : 1;
        });
    };
    ASSERT_EQ(Write(archive, before), "");
    ASSERT_EQ(as_user(backup, ""), 0) << Log();
    // The backup's file is also linked from outside: it may not be shared.
    ASSERT_EQ(link((backup + "/shared").c_str(), (outside + "/shared").c_str()), 0);
    std::string const old = testsupport::TreeDigest(backup);

    ASSERT_EQ(Write(archive, after, ArchiveFormat::Pax, ArchiveFilter::None), "");
    ASSERT_TRUE(WriteFile(archive, WithDataLink(ReadFile(archive), "target", "PWNED")));
    ASSERT_EQ(as_user(tmp / "reference", ""), 0) << Log();
    ASSERT_EQ(ReadFile(tmp / "reference/target"), "PWNED");
    ASSERT_EQ(as_user(dest, backup), 0) << Log();
    EXPECT_EQ(testsupport::TreeDigest(dest), testsupport::TreeDigest(tmp / "reference"));
    EXPECT_EQ(testsupport::TreeDigest(backup), old);
    EXPECT_EQ(ReadFile(backup + "/target"), data) << "the hard link's data went into the backup";
    for (char const* differs : {"last", "mode", "shared"})
        EXPECT_NE(InodeOf(dest + "/" + differs), InodeOf(backup + "/" + differs)) << differs;
    EXPECT_NE(InodeOf(dest + "/lnk/f"), InodeOf(outside + "/f"));
    // Hard links (same, ro/in, target) where the volume cannot clone, as
    // here; where it can, the files whose mode differs or that are shared
    // from outside are cloned as well.
    EXPECT_TRUE(Logged("reused 3 unchanged files (900000 bytes; 0 cloned, 3 hard-linked)") ||
                Logged("reused 5 unchanged files (1500000 bytes; 5 cloned, 0 hard-linked)"))
        << Log();
}

}  // namespace

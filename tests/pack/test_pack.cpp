// korvane-pack on real client trees in temporary folders: what it refuses,
// run as the normal user (root reads everything), with the resources folder
// left as it was; the same bytes from two runs; the read-back that finds a
// package cut short before it takes its name.

#include <gtest/gtest.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <sys/un.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <clocale>
#include <cstring>
#include <functional>
#include <thread>

#include "pack/packer.h"
#include "tests/pack/PackSupport.h"
#include "tests/support/TestSupport.h"

using packtest::MakeClient;
using packtest::Put;
using testsupport::ReadFile;
using testsupport::TreeDigest;

namespace {

class PackTest : public ::testing::Test {
protected:
    void SetUp() override {
        umask(022);
        ASSERT_TRUE(MakeClient(app_));
    }
    testsupport::TempDir tmp_{"korvane-pack"};
    std::string const app_ = tmp_ / "Korvane.app";
    std::string const res_ = tmp_ / "Resources";
};

bool MakeSocket(std::string const& path) {
    sockaddr_un addr{};
    addr.sun_family = AF_UNIX;
    if (path.size() >= sizeof addr.sun_path) return false;
    std::memcpy(addr.sun_path, path.c_str(), path.size() + 1);
    int const fd = socket(AF_UNIX, SOCK_STREAM, 0);
    bool const ok = fd >= 0 && bind(fd, reinterpret_cast<sockaddr*>(&addr), sizeof addr) == 0;
    if (fd >= 0) close(fd);
    return ok;
}

struct Refusal {
    char const* what;
    std::string named;  // the path the message names, below the test folder
    char const* reason;
    std::function<bool(std::string const& app, std::string const& res)> make;
};

TEST(PackRefusal, RefusesWhatTheInstalledClientCouldNotBeAndLeavesTheResourcesAlone) {
    umask(022);
    std::string const c = "Korvane.app/Contents";
    std::string const info = c + "/Resources/INFO";
    auto const write_info = [&](std::string const& text) {
        return [text](std::string const& app, std::string const&) {
            return Put(app + "/Contents/Resources/INFO", text);
        };
    };
    std::vector<Refusal> const rows = {
        {"a file for a bundle", "Korvane.app", "not a folder",
         [](std::string const& app, std::string const&) {
             testsupport::RemoveTree(app);
             return Put(app, "x");
         }},
        {"no Contents", "Korvane.app", "has no Contents folder",
         [](std::string const& app, std::string const&) {
             testsupport::RemoveTree(app + "/Contents");
             return true;
         }},
        {"no client executable", c + "/MacOS/korvane-ui", "executable is missing",
         [](std::string const& app, std::string const&) {
             return unlink((app + "/Contents/MacOS/korvane-ui").c_str()) == 0;
         }},
        {"a client that cannot run", c + "/MacOS/korvane-ui", "is not executable",
         [](std::string const& app, std::string const&) {
             return chmod((app + "/Contents/MacOS/korvane-ui").c_str(), 0644) == 0;
         }},
        {"no INFO", info, "cannot be read",
         [](std::string const& app, std::string const&) {
             return unlink((app + "/Contents/Resources/INFO").c_str()) == 0;
         }},
        {"an unreadable INFO", info, "cannot be read",
         [](std::string const& app, std::string const&) {
             return chmod((app + "/Contents/Resources/INFO").c_str(), 0) == 0;
         }},
        {"no [Version]", info, "no [Version] section", write_info("[Other]\nbuild_version=5\n")},
        {"a build that is no number", info, "build_version is not a decimal number",
         write_info("[Version]\nbuild_version=12a\n")},
        {"build 0", info, "build_version is not a decimal number",
         write_info("[Version]\nbuild_version=0\n")},
        {"an absolute link", c + "/Resources/abs", "absolute",
         [](std::string const& app, std::string const&) {
             return symlink("/etc/passwd", (app + "/Contents/Resources/abs").c_str()) == 0;
         }},
        {"a link out of the bundle", c + "/Resources/up", "points out of the bundle",
         [](std::string const& app, std::string const&) {
             return symlink("../../x/../../y", (app + "/Contents/Resources/up").c_str()) == 0;
         }},
        {"a name that is not UTF-8", c + "/Resources/bad\xff", "not valid UTF-8",
         [](std::string const& app, std::string const&) {
             return Put(app + "/Contents/Resources/bad\xff", "x");
         }},
        {"two names in one letter case", c + "/Resources/readonly.txt", "for the same",
         [](std::string const& app, std::string const&) {
             return Put(app + "/Contents/Resources/readOnly.txt", "x");
         }},
        {"two normalisations of one name", c + "/Resources/Grüße.txt", "for the same",
         [](std::string const& app, std::string const&) {
             return Put(app +
                            "/Contents/Resources/Gru\xcc\x88\xc3\x9f"
                            "e.txt",
                        "x");
         }},
        {"a socket", c + "/s", "is a socket",
         [](std::string const& app, std::string const&) {
             return MakeSocket(app + "/Contents/s");
         }},
        {"a FIFO", c + "/f", "is a FIFO",
         [](std::string const& app, std::string const&) {
             return mkfifo((app + "/Contents/f").c_str(), 0644) == 0;
         }},
        {"a device node", c + "/d", "is a device node",
         [](std::string const& app, std::string const&) {
             return mknod((app + "/Contents/d").c_str(), S_IFCHR | 0644, makedev(1, 3)) == 0;
         }},
        {"an unreadable file", c + "/Resources/tool.sh", "cannot read the file",
         [](std::string const& app, std::string const&) {
             return chmod((app + "/Contents/Resources/tool.sh").c_str(), 0) == 0;
         }},
        {"an unreadable folder", c + "/Resources/empty", "cannot read the folder",
         [](std::string const& app, std::string const&) {
             return chmod((app + "/Contents/Resources/empty").c_str(), 0) == 0;
         }},
        {"resources inside the client", "Resources", "inside the client bundle",
         [](std::string const& app, std::string const& res) {
             testsupport::RemoveTree(res);
             return testsupport::MakeDirs(app + "/Contents/Resources/launcher") &&
                    symlink((app + "/Contents/Resources/launcher").c_str(), res.c_str()) == 0 &&
                    testsupport::GiveToUser(app + "/Contents/Resources/launcher");
         }},
    };
    for (Refusal const& row : rows) {
        SCOPED_TRACE(row.what);
        testsupport::TempDir tmp("korvane-pack-refusal");
        std::string const app = tmp / "Korvane.app", res = tmp / "Resources";
        // An earlier package and INFO that must stay as they are.
        ASSERT_TRUE(testsupport::OpenToOthers(tmp.path()) && MakeClient(app) &&
                    Put(res + "/INFO", "[Version]\nbuild_version=1\n") &&
                    Put(res + "/package/tarnwick.pkv", "old package") &&
                    testsupport::GiveToUser(res) && row.make(app, res));
        std::string const before = TreeDigest(res);
        std::string out;
        EXPECT_EQ(1, packtest::Pack({app, res}, &out, e2e::As::User));
        EXPECT_EQ(0u, out.rfind("korvane-pack: " + (tmp / row.named) + ": ", 0)) << out;
        EXPECT_NE(std::string::npos, out.find(row.reason)) << out;
        EXPECT_EQ(1, std::count(out.begin(), out.end(), '\n')) << out;
        EXPECT_EQ(before, TreeDigest(res));
    }
}

// The conventions of a command-line tool: the usage and the version, exit 0.
TEST(PackCommandLine, HelpAndVersionExitZero) {
    for (auto const& row : {std::make_pair("--help", "usage: korvane-pack [--format "),
                            std::make_pair("--version", "korvane-pack ")}) {
        SCOPED_TRACE(row.first);
        std::string out;
        EXPECT_EQ(0, packtest::Pack({row.first}, &out, e2e::As::User));
        EXPECT_EQ(0u, out.rfind(row.second, 0)) << out;
        EXPECT_EQ(1, std::count(out.begin(), out.end(), '\n')) << out;
    }
}

// Two runs more than a second apart (the gzip header could hold the time),
// into two folders, with a change time moved in between: the same bytes,
// and an INFO naming their digest.
TEST_F(PackTest, TheSameTreePacksToTheSameBytes) {
    for (std::string const& format : packtest::Formats()) {
        ASSERT_TRUE(testsupport::MakeDirs(res_ + "1-" + format) &&
                    testsupport::MakeDirs(res_ + "2-" + format));
        ASSERT_EQ(0, packtest::Pack({"--format", format, app_, res_ + "1-" + format}));
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(1100));
    ASSERT_EQ(0, chmod((app_ + "/Contents/Info.plist").c_str(), 0644));
    for (std::string const& format : packtest::Formats()) {
        SCOPED_TRACE(format);
        std::string const a = res_ + "1-" + format, b = res_ + "2-" + format;
        ASSERT_EQ(0, packtest::Pack({"--format", format, app_, b}));
        std::string const first = ReadFile(a + "/package/tarnwick.pkv");
        EXPECT_FALSE(first.empty());
        EXPECT_TRUE(first == ReadFile(b + "/package/tarnwick.pkv"));
        EXPECT_EQ(ReadFile(a + "/INFO"), ReadFile(b + "/INFO"));
        // The section names the digest of the package beside it.
        std::string const digest = testsupport::Sha256Sum(a + "/package/tarnwick.pkv");
        ASSERT_EQ(64u, digest.size());
        EXPECT_NE(std::string::npos, ReadFile(a + "/INFO").find("\nsha256=" + digest + "\n"))
            << ReadFile(a + "/INFO");
    }
}

// As some editors save it: read as the launcher reads it.
TEST_F(PackTest, AClientInfoWithAByteOrderMarkIsPacked) {
    ASSERT_TRUE(Put(app_ + "/Contents/Resources/INFO",
                    "\xEF\xBB\xBF[Version]\nmajor_version=1\nbuild_version=42\n"));
    ASSERT_TRUE(testsupport::MakeDirs(res_));
    std::string out;
    ASSERT_EQ(0, packtest::Pack({app_, res_}, &out)) << out;
    EXPECT_EQ(0u,
              ReadFile(res_ + "/INFO").rfind("[Version]\nmajor_version=1\nbuild_version=42\n", 0))
        << ReadFile(res_ + "/INFO");
}

// The package cut short after it was written: nothing takes its name, and
// the package folder made for it goes again.
TEST_F(PackTest, APackageCutShortNeverTakesItsName) {
    ASSERT_TRUE(std::setlocale(LC_CTYPE, "C.UTF-8"));
    ASSERT_TRUE(testsupport::MakeDirs(res_));
    std::string cut;
    pack::SetHooks({[&cut](std::string const& package) {
        struct stat st;
        cut = package;
        ASSERT_EQ(0, stat(package.c_str(), &st));
        ASSERT_EQ(0, truncate(package.c_str(), st.st_size / 2));
    }});
    pack::Options options;
    options.client = app_;
    options.resources = res_;
    std::string error;
    EXPECT_FALSE(pack::Run(options, &error));
    pack::SetHooks({});
    EXPECT_EQ(0u, error.rfind(cut + ": the package does not read back: ", 0)) << error;
    EXPECT_EQ("", testsupport::ListTree(res_));
}

}  // namespace

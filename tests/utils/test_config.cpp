#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <future>
#include <string>
#include <vector>

#include "tests/support/TestSupport.h"
#include "utils/Config.h"

using testsupport::TempDir;
using testsupport::WriteFile;

namespace {

struct Parsed {
    int result;
    std::string key;
    std::string value;
};

Parsed Parse(std::string line) {
    Parsed p{-1, "unset", "unset"};
    std::vector<char> buf(line.begin(), line.end());
    buf.push_back('\0');
    p.result = Config::parse(buf.data(), line.size(), p.key, p.value);
    // The C-string overload agrees whenever the line holds no NUL.
    if (line.find('\0') == std::string::npos) {
        std::vector<char> buf2(line.begin(), line.end());
        buf2.push_back('\0');
        std::string k = "unset", v = "unset";
        EXPECT_EQ(Config::parse(buf2.data(), k, v), p.result) << line;
        EXPECT_EQ(k, p.key) << line;
        EXPECT_EQ(v, p.value) << line;
    }
    return p;
}

void ExpectEntry(std::string const& line, std::string const& key, std::string const& value) {
    Parsed p = Parse(line);
    EXPECT_EQ(p.result, 0) << "line: " << line;
    EXPECT_EQ(p.key, key) << "line: " << line;
    EXPECT_EQ(p.value, value) << "line: " << line;
}

void ExpectResult(std::string const& line, int result) {
    EXPECT_EQ(Parse(line).result, result) << "line: " << line;
}

}  // namespace

TEST(ConfigParse, Entries) {
    ExpectEntry("pid=12\n", "pid", "12");
    ExpectEntry("  file_op_debug \t=\t 7  # seven\r\n", "file_op_debug", "7");
    ExpectEntry("a.b-c_D9=x", "a.b-c_D9", "x");
    ExpectEntry("=value\n", "", "value");
    ExpectEntry("k=\"two words\"   # note\n", "k", "two words");
    ExpectEntry("k='a # b'\n", "k", "a # b");
    ExpectEntry("k=\"it's = ok\"\n", "k", "it's = ok");
    ExpectEntry("k=''\n", "k", "");
    ExpectEntry("k=  #hash\n", "k", "#hash");
    ExpectEntry("k=  #hash # note\n", "k", "#hash");
    ExpectEntry("k=caf\xc3\xa9\n", "k", "caf\xc3\xa9");
    ExpectEntry("k=v#comment\n", "k", "v#comment");
}

TEST(ConfigParse, BlankAndCommentLines) {
    ExpectResult("", 1);
    ExpectResult("   \t\r\n", 1);
    ExpectResult("# pid=1\n", 1);
    ExpectResult("   #\n", 1);
    ExpectResult("key#tail\n", 1);
    ExpectResult("lastkey", 1);  // last line without a line feed
}

TEST(ConfigParse, MalformedLines) {
    ExpectResult("key\n", 2);
    ExpectResult("key=\n", 2);
    ExpectResult("key=   \r\n", 2);
    ExpectResult("a/b=1\n", 2);
    ExpectResult("pid=12 34\n", 2);
    ExpectResult("k=\"open\n", 2);
    ExpectResult("k='a\tb'\n", 2);
    ExpectResult("k=\"a\x7f\"\n", 2);
    ExpectResult("k=\"v\"x\n", 2);
    ExpectResult("k\xc3\xa9=1\n", 2);  // non-ASCII in a key
    ExpectResult("k=v\x7f\n", 2);
}

TEST(ConfigParse, NulIsAControlByte) {
    using namespace std::string_literals;
    ExpectResult("pid=1\0002\n"s, 2);
    ExpectResult("pid\0=1\n"s, 2);
    ExpectResult("k=\"a\0b\"\n"s, 2);
    ExpectResult("\0pid=1\n"s, 2);
    Parsed p = Parse("pid=1 # \0 tail\n"s);
    EXPECT_EQ(p.result, 0);
    EXPECT_EQ(p.value, "1");
    ExpectResult("# comment \0 pid=2\n"s, 1);
    // Only white space and NUL bytes: the padding a crash leaves after a line.
    ExpectResult("\0\0\0\0"s, 1);
    ExpectResult(" \0\t\0\n"s, 1);
}

class ConfigRead : public ::testing::Test {
protected:
    TempDir dir;
    Config cfg;
    std::string File(std::string const& content) {
        std::string path = dir / "conf";
        EXPECT_TRUE(WriteFile(path, content));
        return path;
    }
};

TEST_F(ConfigRead, ReadsEntriesLaterKeyWins) {
    ASSERT_EQ(cfg.read(File("# levels\r\nservice_debug=7\r\n\r\npid = 12\npid=13\n=empty\nlast")),
              0);
    EXPECT_EQ(cfg.entries, (std::map<std::string, std::string>{
                               {"", "empty"}, {"pid", "13"}, {"service_debug", "7"}}));
}

TEST_F(ConfigRead, NulPaddingAfterThePidLineIsBlank) {
    ASSERT_EQ(cfg.read(File("pid=42\n" + std::string(512, '\0'))), 0);
    EXPECT_EQ(cfg.entries, (std::map<std::string, std::string>{{"pid", "42"}}));
}

TEST_F(ConfigRead, MalformedLineEmptiesEverything) {
    ASSERT_EQ(cfg.read(File("a=1\n")), 0);
    ASSERT_EQ(cfg.read(dir / "missing"), -1);
    EXPECT_EQ(cfg.entries.size(), 1u);  // a failed open keeps what was read
    EXPECT_EQ(cfg.read(File("b=2\nc=3\nd=4\nbroken\ne=5\n")), -1);
    EXPECT_TRUE(cfg.entries.empty());
}

TEST_F(ConfigRead, RefusesEmptyPathFolderAndFifo) {
    EXPECT_EQ(cfg.read(""), -1);
    EXPECT_EQ(cfg.read(dir.path()), -1);

    std::string fifo = dir / "ui.pid";
    ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
    auto pending = std::async(std::launch::async, [&] { return cfg.read(fifo); });
    if (pending.wait_for(std::chrono::seconds(5)) != std::future_status::ready) {
        // Unblock the reader so the test can end, then fail.
        int fd = open(fifo.c_str(), O_WRONLY | O_NONBLOCK);
        if (fd >= 0) close(fd);
        pending.wait();
        FAIL() << "read() blocked on a FIFO";
    }
    EXPECT_EQ(pending.get(), -1);
    EXPECT_TRUE(cfg.entries.empty());
}

TEST_F(ConfigRead, UnreadableFileAsOtherUser) {
    ASSERT_TRUE(testsupport::IsRoot()) << "needs root to run as nobody";
    std::string path = File("pid=1\n");
    chmod(path.c_str(), 0600);
    chmod(dir.path().c_str(), 0755);
    int rc = testsupport::RunAsNobody([&] {
        Config c;
        return c.read(path) == -1 && c.entries.empty() ? 0 : 1;
    });
    EXPECT_EQ(rc, 0);
}

TEST_F(ConfigRead, LongLinesAreOneLine) {
    // A comment longer than any fixed buffer whose tail looks like an entry.
    std::string comment = "# " + std::string(20000, 'x') + " pid=1\n";
    ASSERT_EQ(cfg.read(File(comment + "a=1\n")), 0);
    EXPECT_EQ(cfg.entries.count("pid"), 0u);
    EXPECT_EQ(cfg.entries["a"], "1");

    std::string value(100000, 'v');
    Config big;
    ASSERT_EQ(big.read(File("k=" + value + "\n")), 0);
    EXPECT_EQ(big.entries["k"], value);

    // A long value with a blank far into it stays malformed as a whole.
    Config bad;
    EXPECT_EQ(bad.read(File("k=" + std::string(9000, 'v') + " pid=1\n")), -1);
    EXPECT_TRUE(bad.entries.empty());
}

TEST_F(ConfigRead, NulInsideLine) {
    using namespace std::string_literals;
    EXPECT_EQ(cfg.read(File("a=1\n# harmless \0 here\nb=2\n"s)), 0);
    EXPECT_EQ(cfg.entries.size(), 2u);
    Config bad;
    EXPECT_EQ(bad.read(File("pid=1\0002\n"s)), -1);
    EXPECT_TRUE(bad.entries.empty());
}

TEST(ConfigGetInt, ReadsLeadingNumber) {
    Config cfg;
    cfg.entries = {{"a", "  42abc"}, {"b", "-7"},          {"c", "abc"},
                   {"d", "+5"},      {"e", "99999999999"}, {"f", "-99999999999"}};
    EXPECT_EQ(cfg.get_int("a"), 42);
    EXPECT_EQ(cfg.get_int("b"), -7);
    EXPECT_EQ(cfg.get_int("c"), 0);
    EXPECT_EQ(cfg.get_int("d"), 5);
    EXPECT_EQ(cfg.get_int("e"), INT32_MAX);
    EXPECT_EQ(cfg.get_int("f"), INT32_MIN);
    EXPECT_EQ(cfg.get_int("absent"), 0);
    ASSERT_EQ(cfg.entries.count("absent"), 1u);
    EXPECT_EQ(cfg.entries["absent"], "");
}

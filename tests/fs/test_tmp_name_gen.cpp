// Temporary names: alphabet, length, paths, independent seeding, threads and
// a machine without a random device.

#include <gtest/gtest.h>
#include <sched.h>
#include <sys/mount.h>
#include <sys/wait.h>
#include <unistd.h>

#include <set>
#include <string>
#include <thread>
#include <vector>

#include "fs/TmpNameGen.h"
#include "tests/fs/FsTestUtil.h"

namespace {

std::string const kAlphabet = "0123456789abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ-_";

bool IsName(std::string const& n) {
    return n.size() == 8 && n.find_first_not_of(kAlphabet) == std::string::npos;
}

}  // namespace

TEST(TmpNameGen, AlphabetAndLength) {
    std::set<char> used;
    for (int i = 0; i < 3000; ++i) {
        std::string const n = TmpNameGen::getInstance().getTmpName();
        ASSERT_TRUE(IsName(n)) << n;
        used.insert(n.begin(), n.end());
    }
    EXPECT_TRUE(used.count('-'));
    EXPECT_TRUE(used.count('_'));
    EXPECT_EQ(64u, used.size());  // 24000 draws reach every symbol
}

TEST(TmpNameGen, PathsKeepTheSeparatorAsGiven) {
    TmpNameGen& g = TmpNameGen::getInstance();
    std::string p = g.getTmpPath("/tmp");
    EXPECT_EQ("/tmp/", p.substr(0, 5));
    EXPECT_TRUE(IsName(p.substr(5)));
    p = g.getTmpPath("/tmp/");
    EXPECT_EQ("/tmp//", p.substr(0, 6));
    EXPECT_TRUE(IsName(p.substr(6)));
    p = g.getTmpPath("");
    EXPECT_EQ('/', p[0]);
    EXPECT_TRUE(IsName(p.substr(1)));
}

TEST(TmpNameGen, InstancesAreSeededIndependently) {
    TmpNameGen a, b;
    std::string sa, sb;
    for (int i = 0; i < 4; ++i) {
        sa += a.getTmpName();
        sb += b.getTmpName();
    }
    EXPECT_NE(sa, sb);
}

TEST(TmpNameGen, ThreadsGetWholeNames) {
    std::vector<std::vector<std::string>> got(4);
    std::vector<std::thread> threads;
    for (auto& out : got)
        threads.emplace_back([&out] {
            for (int i = 0; i < 2000; ++i) out.push_back(TmpNameGen::getInstance().getTmpName());
        });
    for (auto& t : threads) t.join();
    std::set<std::string> all;
    for (auto const& v : got)
        for (auto const& n : v) {
            ASSERT_TRUE(IsName(n));
            all.insert(n);
        }
    EXPECT_EQ(8000u, all.size());
}

TEST(TmpNameGen, WorksWithoutARandomDevice) {
    FS_REQUIRE_ROOT();
    // In a private mount namespace an empty tmpfs hides /dev/urandom.
    pid_t pid = fork();
    ASSERT_GE(pid, 0);
    if (pid == 0) {
        if (unshare(CLONE_NEWNS) != 0) _exit(10);
        if (mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) != 0) _exit(11);
        if (mount("tmpfs", "/dev", "tmpfs", 0, "size=16k") != 0) _exit(12);
        if (access("/dev/urandom", F_OK) == 0) _exit(13);
        TmpNameGen g;
        _exit(IsName(g.getTmpName()) ? 0 : 14);
    }
    int status = 0;
    ASSERT_EQ(pid, waitpid(pid, &status, 0));
    ASSERT_TRUE(WIFEXITED(status)) << "the child died (signal " << WTERMSIG(status) << ")";
    EXPECT_EQ(0, WEXITSTATUS(status));
}

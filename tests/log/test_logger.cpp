#define KLOG_SOURCE "test_logger"
#define KLOG_COMPONENT "file_op_debug"
#include "log/LogMacros.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/mount.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstring>
#include <fstream>
#include <regex>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "tests/support/TestSupport.h"

using testsupport::MakeDirs;
using testsupport::PathExists;
using testsupport::ReadFile;
using testsupport::TempDir;
using testsupport::WriteFile;

namespace {

constexpr int32_t kThreshold = 5242881;
constexpr int kStampLen = 20;  // "YYYY-mm-ddTHH:MM:SS "
char const* const kStamp = "[0-9]{4}-[0-9]{2}-[0-9]{2}T[0-9]{2}:[0-9]{2}:[0-9]{2} ";

std::vector<std::string> Lines(std::string const& text) {
    std::vector<std::string> out;
    std::istringstream in(text);
    std::string line;
    while (std::getline(in, line)) out.push_back(line);
    return out;
}

long FileSize(std::string const& path) {
    struct stat st;
    return stat(path.c_str(), &st) == 0 ? static_cast<long>(st.st_size) : -1;
}

// Every test starts from a stopped logger with no thresholds and the real
// rotation threshold, and leaves it so.
class LoggerTest : public ::testing::Test {
protected:
    TempDir dir;
    std::string log = dir / "launcher.log";

    static void Reset() {
        Logger::Destroy();
        Logger::log_level.clear();
        Logger::rotate_threshold_for_test = kThreshold;
    }
    void SetUp() override { Reset(); }
    void TearDown() override { Reset(); }

    void StartFile(int rotate_count = 50, std::string const& conf = "",
                   Logger::SafetyScope scope = Logger::ThreadLock) {
        ASSERT_EQ(Logger::Initialize(Logger::File, log, conf, rotate_count, scope), 0);
    }
    // One line of exactly `total` counted bytes (timestamp included).
    static void LogBytes(int total, char fill = 'x') {
        std::string text(static_cast<size_t>(total - kStampLen - 1), fill);
        Logger::LogMsg(Logger::Error, "c", "%s\n", text.c_str());
    }
};

TEST_F(LoggerTest, FileLineHasTimestampAndCallerPrefix) {
    StartFile();
    int line = __LINE__ + 1;
    KLOG(Warning, "copy %s: %d\n", "a", 7);
    std::string expected = std::string("^") + kStamp + "\\( *" + std::to_string(getpid()) +
                           ": *[0-9]{1,5}\\) \\[WARNING\\] test_logger\\(" + std::to_string(line) +
                           "\\): copy a: 7\n$";
    std::string text = ReadFile(log);
    EXPECT_TRUE(std::regex_search(text, std::regex(expected))) << text;
    EXPECT_EQ(*Logger::log_size, static_cast<int32_t>(text.size()));
}

TEST_F(LoggerTest, DefaultThresholdWritesOnlyErrorAndWarning) {
    StartFile();
    KLOG(Error, "e\n");
    KLOG(Warning, "w\n");
    KLOG(Note, "n\n");
    KLOG(Info, "i\n");
    KLOG(Debug, "d\n");
    std::string text = ReadFile(log);
    EXPECT_NE(text.find("[ERROR]"), std::string::npos);
    EXPECT_NE(text.find("[WARNING]"), std::string::npos);
    EXPECT_EQ(Lines(text).size(), 2u) << text;
    EXPECT_EQ(Logger::GetCompLevel("anything"), 4);
    EXPECT_EQ(Logger::log_level["default_component"], 4);
}

TEST_F(LoggerTest, SuppressedLineEvaluatesNoArgument) {
    StartFile();
    int evaluated = 0;
    auto arg = [&] { return ++evaluated; };
    for (int i = 0; i < 100; ++i) KLOG(Debug, "value %d\n", arg());
    EXPECT_EQ(evaluated, 0);
    KLOG(Error, "value %d\n", arg());
    EXPECT_EQ(evaluated, 1);
}

TEST_F(LoggerTest, LevelFileSetsThresholdsPerComponent) {
    std::string conf = dir / "launcher.debug";
    ASSERT_TRUE(
        WriteFile(conf, "# levels\nfile_op_debug=7\nservice_debug = junk\nextractor_debug=-1\n"));
    StartFile(50, conf);
    EXPECT_EQ(Logger::GetCompLevel("file_op_debug"), 7);
    EXPECT_EQ(Logger::GetCompLevel("service_debug"), 0);  // not a number
    EXPECT_EQ(Logger::GetCompLevel("launcher_debug"), 4);
    EXPECT_TRUE(Logger::IsNeedToLog(Logger::Debug, "file_op_debug"));
    EXPECT_FALSE(Logger::IsNeedToLog(Logger::Error, "service_debug"));
    EXPECT_FALSE(Logger::IsNeedToLog(Logger::Error, "extractor_debug"));
    EXPECT_FALSE(Logger::IsNeedToLog(Logger::Note, "launcher_debug"));
    KLOG(Debug, "visible\n");
    Logger::LogMsg(Logger::Error, "service_debug", "silenced\n");
    std::string text = ReadFile(log);
    EXPECT_NE(text.find("[DEBUG] test_logger"), std::string::npos);
    EXPECT_EQ(text.find("silenced"), std::string::npos);
}

TEST_F(LoggerTest, BadLevelFilesAddNothing) {
    std::string conf = dir / "bad.debug";
    ASSERT_TRUE(WriteFile(conf, "file_op_debug=7\nnot a line\n"));
    StartFile(50, conf);
    EXPECT_EQ(Logger::GetCompLevel("file_op_debug"), 4);
    StartFile(50, dir / "missing.debug");
    EXPECT_EQ(Logger::GetCompLevel("file_op_debug"), 4);
    StartFile(50, dir.path());  // a folder
    EXPECT_EQ(Logger::log_level.size(), 1u);
}

TEST_F(LoggerTest, InitializeFailuresLeaveLoggingOff) {
    EXPECT_EQ(Logger::Initialize(Logger::File, "", "", 50, Logger::ThreadLock), -1);
    EXPECT_FALSE(Logger::IsNeedToLog(Logger::Error, "c"));
    Logger::LogMsg(Logger::Error, "c", "dropped\n");  // must not crash
    StartFile();
    EXPECT_TRUE(Logger::IsNeedToLog(Logger::Error, "c"));
    Logger::Destroy();
    Logger::Destroy();  // a second Destroy closes nothing
    EXPECT_FALSE(Logger::IsNeedToLog(Logger::Error, "c"));
    Logger::LogMsg(Logger::Error, "c", "after destroy\n");
    EXPECT_EQ(ReadFile(log), "");
}

// A run must leave a trace: without its file the logger writes to standard
// error (and the system log), first saying which file and why.
TEST_F(LoggerTest, AFileThatCannotBeOpenedFallsBackToStandardError) {
    std::string const missing = dir / "no/such/dir/x.log";
    testing::internal::CaptureStderr();
    EXPECT_EQ(Logger::Initialize(Logger::File, missing, "", 50, Logger::ThreadLock), -1);
    EXPECT_TRUE(Logger::IsNeedToLog(Logger::Error, "c"));
    Logger::LogMsg(Logger::Error, "c", "after %d\n", 1);
    std::vector<std::string> const lines = Lines(testing::internal::GetCapturedStderr());
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_TRUE(std::regex_match(
        lines[0],
        std::regex(std::string(kStamp) + "\\( *" + std::to_string(getpid()) +
                   ": *[0-9]{1,5}\\) \\[ERROR\\] Logger\\([0-9]+\\): log file '" + missing +
                   "' cannot be opened: No such file or directory; logging to "
                   "standard error and the system log")))
        << lines[0];
    EXPECT_TRUE(std::regex_match(lines[1], std::regex(std::string(kStamp) + "after 1")))
        << lines[1];
    EXPECT_EQ(Logger::log_lock, nullptr);
    EXPECT_FALSE(PathExists(dir / "no"));
    // A later file logger that opens its file is one again.
    StartFile();
    KLOG(Error, "to the file\n");
    EXPECT_NE(ReadFile(log).find("to the file"), std::string::npos);
}

TEST_F(LoggerTest, StreamOutputsHaveNoLockAndTimestampEachLine) {
    ASSERT_EQ(Logger::Initialize(Logger::Stderr, dir / "ignored.log", "", 50, Logger::ThreadLock),
              0);
    EXPECT_EQ(Logger::log_lock, nullptr);
    EXPECT_EQ(Logger::config.safety_scope, Logger::NoLock);
    EXPECT_EQ(Logger::log_path, "");
    EXPECT_EQ(*Logger::log_size, -1);
    testing::internal::CaptureStderr();
    Logger::LogMsg(Logger::Warning, "c", "to stderr %d\n", 5);
    std::string err = testing::internal::GetCapturedStderr();
    EXPECT_TRUE(std::regex_match(err, std::regex(std::string(kStamp) + "to stderr 5\n"))) << err;
    EXPECT_FALSE(PathExists(dir / "ignored.log"));

    ASSERT_EQ(Logger::Initialize(Logger::Syslog, "", "", 50, Logger::ProcessShared), 0);
    EXPECT_EQ(Logger::log_fp, nullptr);
    EXPECT_EQ(Logger::log_lock, nullptr);
    EXPECT_TRUE(Logger::IsNeedToLog(Logger::Warning, "c"));
    ASSERT_EQ(Logger::Initialize(Logger::Stderr, "", "", 50, Logger::ThreadLock), 0);

    // A size that can't be read is reported through the current stream.
    testing::internal::CaptureStderr();
    EXPECT_EQ(Logger::GetFileSize(dir / "nope"), 0);
    err = testing::internal::GetCapturedStderr();
    EXPECT_NE(err.find("stat(" + dir / "nope" + "): No such file or directory (2)\n"),
              std::string::npos)
        << err;
}

TEST_F(LoggerTest, LogMsg3AppendsErrnoTextCapturedOnEntry) {
    StartFile();
    auto flags = [](int f) { return static_cast<Logger::ConfigFlag>(f); };

    std::stringstream a;
    a << "open /x";
    errno = ENOENT;
    Logger::LogMsg3(Logger::Error, "c", a, flags(Logger::AppendErrno | Logger::EndLine));
    EXPECT_EQ(a.str(), "open /x, err=2:");

    std::stringstream b;
    b << "no error";
    errno = 0;
    Logger::LogMsg3(Logger::Error, "c", b, flags(Logger::AppendErrno | Logger::EndLine));
    EXPECT_EQ(b.str(), "no error");

    std::stringstream c;
    c << "run-on";
    errno = EACCES;
    Logger::LogMsg3(Logger::Error, "c", c, flags(1));  // bit 1 has no effect, no newline
    std::stringstream d;
    d << "|next";
    Logger::LogMsg3(Logger::Error, "c", d, flags(Logger::EndLine));

    std::vector<std::string> lines = Lines(ReadFile(log));
    ASSERT_EQ(lines.size(), 3u);
    EXPECT_TRUE(std::regex_match(
        lines[0], std::regex(std::string(kStamp) + "open /x, err=2:" + strerror(ENOENT))))
        << lines[0];
    EXPECT_TRUE(std::regex_match(lines[1], std::regex(std::string(kStamp) + "no error")))
        << lines[1];
    EXPECT_TRUE(
        std::regex_match(lines[2], std::regex(std::string(kStamp) + "run-on" + kStamp + "\\|next")))
        << lines[2];
}

TEST_F(LoggerTest, LogMSGcTakesCComponent) {
    StartFile();
    auto call = [](int level, char const* comp, char const* fmt, ...) {
        va_list args;
        va_start(args, fmt);
        LogMSG_c(level, comp, fmt, args);
        va_end(args);
    };
    call(3, "launcher_debug", "c-call %s\n", "ok");
    call(5, "launcher_debug", "too verbose\n");
    call(99, "launcher_debug", "way too verbose\n");
    std::string text = ReadFile(log);
    EXPECT_NE(text.find("c-call ok"), std::string::npos);
    EXPECT_EQ(Lines(text).size(), 1u);
}

TEST_F(LoggerTest, RotatesWhenCountReachesThresholdWithRealSize) {
    // An existing file counts from its size at open.
    int const line = 100;
    ASSERT_TRUE(WriteFile(log, ""));
    ASSERT_EQ(truncate(log.c_str(), kThreshold - 1 - line), 0);
    StartFile(50);
    EXPECT_EQ(*Logger::log_size, kThreshold - 1 - line);
    LogBytes(line);  // count 5,242,880: no rotation yet
    EXPECT_EQ(*Logger::log_size, kThreshold - 1);
    EXPECT_FALSE(PathExists(log + "_0"));
    LogBytes(line, 'y');  // crosses: written, then rotated
    EXPECT_EQ(*Logger::log_size, 0);
    EXPECT_EQ(Logger::log_rotated_count_private, 1u);
    EXPECT_EQ(*Logger::log_rotated_count_shared, 1u);
    EXPECT_EQ(FileSize(log + "_0"), kThreshold - 1 + line);
    std::string old = ReadFile(log + "_0");
    EXPECT_EQ(old.substr(old.size() - 10), std::string(9, 'y') + "\n");
    EXPECT_EQ(FileSize(log), 0);
    LogBytes(line, 'z');
    EXPECT_EQ(ReadFile(log).substr(kStampLen), std::string(line - kStampLen - 1, 'z') + "\n");
}

TEST_F(LoggerTest, KeepsRotateCountMinusOneOldFiles) {
    Logger::rotate_threshold_for_test = 50;
    StartFile(50);
    for (int i = 0; i < 60; ++i) LogBytes(60, static_cast<char>('A' + i % 26));
    for (int i = 0; i <= 48; ++i) EXPECT_TRUE(PathExists(log + "_" + std::to_string(i))) << i;
    EXPECT_FALSE(PathExists(log + "_49"));
    EXPECT_EQ(Logger::log_rotated_count_private, 60u);
    // P_0 is the newest old file.
    EXPECT_NE(ReadFile(log + "_0").find(std::string(10, static_cast<char>('A' + 59 % 26))),
              std::string::npos);

    Reset();
    TempDir small;
    log = small / "l.log";
    Logger::rotate_threshold_for_test = 50;
    StartFile(2);
    for (int i = 0; i < 5; ++i) LogBytes(60);
    EXPECT_TRUE(PathExists(log + "_0"));
    EXPECT_FALSE(PathExists(log + "_1"));
}

TEST_F(LoggerTest, RotatedNamesOfLongPathsAreNotTruncated) {
    std::string deep = dir.path();
    while (deep.size() < 1040) deep += "/" + std::string(200, 'd');
    ASSERT_TRUE(MakeDirs(deep));
    log = deep + "/launcher.log";
    Logger::rotate_threshold_for_test = 50;
    StartFile(20);
    for (int i = 0; i < 12; ++i) LogBytes(60);
    for (int i = 0; i < 12; ++i) EXPECT_TRUE(PathExists(log + "_" + std::to_string(i))) << i;
}

TEST_F(LoggerTest, HugeFileSizeSaturatesAndStillRotates) {
    ASSERT_TRUE(WriteFile(log, ""));
    ASSERT_EQ(truncate(log.c_str(), 3LL << 30), 0);  // sparse 3 GiB
    EXPECT_EQ(Logger::GetFileSize(log), INT32_MAX);
    StartFile(3);
    EXPECT_EQ(*Logger::log_size, INT32_MAX);
    LogBytes(40);
    EXPECT_EQ(Logger::log_rotated_count_private, 1u);
    EXPECT_EQ(*Logger::log_size, 0);
    EXPECT_TRUE(PathExists(log + "_0"));

    *Logger::log_size = INT32_MAX - 5;
    EXPECT_EQ(Logger::RotateIfFileBig(100), 0);
    EXPECT_EQ(Logger::log_rotated_count_private, 2u);
    EXPECT_EQ(Logger::RotateIfFileBig(-1), 0);
    EXPECT_EQ(*Logger::log_size, 0);
}

TEST_F(LoggerTest, TwoThreadsNeverInterleaveAndRotateOnce) {
    int const per_thread = 2000;
    int const line = 64;
    Logger::rotate_threshold_for_test = per_thread * line + line / 2;  // just over half
    StartFile(50);

    std::atomic<int> ready{0};
    auto worker = [&](char id) {
        ++ready;
        while (ready.load() < 2) {
        }
        std::string pad(static_cast<size_t>(line - kStampLen - 9), id);
        for (int i = 0; i < per_thread; ++i)
            Logger::LogMsg(Logger::Error, "c", "%c %05d %s\n", id, i, pad.c_str());
    };
    std::thread a(worker, 'a');
    std::thread b(worker, 'b');
    a.join();
    b.join();

    EXPECT_EQ(Logger::log_rotated_count_private, 1u);
    EXPECT_FALSE(PathExists(log + "_1"));
    std::vector<std::string> lines = Lines(ReadFile(log + "_0"));
    std::vector<std::string> rest = Lines(ReadFile(log));
    lines.insert(lines.end(), rest.begin(), rest.end());
    ASSERT_EQ(lines.size(), static_cast<size_t>(2 * per_thread));
    std::regex shape(std::string(kStamp) + "([ab]) ([0-9]{5}) ([ab]+)");
    int next[2] = {0, 0};
    for (std::string const& l : lines) {
        std::smatch m;
        ASSERT_TRUE(std::regex_match(l, m, shape)) << l;
        int t = m[1].str()[0] - 'a';
        ASSERT_EQ(m[3].str(), std::string(static_cast<size_t>(line - kStampLen - 9), m[1].str()[0]))
            << l;
        ASSERT_EQ(std::stoi(m[2].str()), next[t]) << l;
        ++next[t];
    }
    EXPECT_EQ(next[0], per_thread);
    EXPECT_EQ(next[1], per_thread);
}

// Many rotations under contention: a line written while the other thread
// has the stream closed for a rotation must still reach a file.
TEST_F(LoggerTest, NoLineLostWhileAnotherThreadRotates) {
    int const per_thread = 2000;
    Logger::rotate_threshold_for_test = 64 * 10;
    StartFile(500);
    std::atomic<int> ready{0};
    auto worker = [&] {
        ++ready;
        while (ready.load() < 2) {
        }
        for (int i = 0; i < per_thread; ++i) LogBytes(64);
    };
    std::thread a(worker);
    std::thread b(worker);
    a.join();
    b.join();
    size_t total = Lines(ReadFile(log)).size();
    uint64_t rotations = Logger::log_rotated_count_private;
    EXPECT_EQ(rotations, static_cast<uint64_t>(2 * per_thread / 10));
    for (uint64_t i = 0; i < rotations; ++i)
        total += Lines(ReadFile(log + "_" + std::to_string(i))).size();
    EXPECT_EQ(total, static_cast<size_t>(2 * per_thread));
}

TEST_F(LoggerTest, VanishedLogFolderRecoversWhenItReturns) {
    std::string folder = dir / "log";
    ASSERT_TRUE(MakeDirs(folder));
    log = folder + "/launcher.log";
    Logger::rotate_threshold_for_test = 100;
    StartFile(50);
    testsupport::RemoveTree(folder);
    LogBytes(60);
    LogBytes(60);  // rotation fails: nothing to rename, nowhere to reopen
    EXPECT_EQ(Logger::log_fp, nullptr);
    LogBytes(60, 'q');  // dropped, without a crash
    ASSERT_TRUE(MakeDirs(folder));
    LogBytes(60, 'r');
    EXPECT_EQ(ReadFile(log).substr(kStampLen), std::string(60 - kStampLen - 1, 'r') + "\n");
}

TEST_F(LoggerTest, FailedRenameKeepsLoggingToSameFile) {
    // P_0 is a non-empty folder: the live file cannot be renamed onto it.
    ASSERT_TRUE(MakeDirs(log + "_0/keep"));
    Logger::rotate_threshold_for_test = 100;
    StartFile(1);
    LogBytes(60, 'a');
    LogBytes(60, 'b');  // rotation fails here
    EXPECT_NE(Logger::log_fp, nullptr);
    EXPECT_EQ(*Logger::log_size, 0);
    LogBytes(60, 'c');
    std::vector<std::string> lines = Lines(ReadFile(log));
    ASSERT_EQ(lines.size(), 3u);
    EXPECT_EQ(lines[2].substr(kStampLen), std::string(60 - kStampLen - 1, 'c'));
    EXPECT_TRUE(PathExists(log + "_0/keep"));
}

TEST_F(LoggerTest, FailedReopenAfterRotationRetriesLater) {
    ASSERT_TRUE(testsupport::IsRoot()) << "needs root to mount a tmpfs";
    std::string mnt = dir / "mnt";
    ASSERT_TRUE(MakeDirs(mnt));
    ASSERT_EQ(mount("tmpfs", mnt.c_str(), "tmpfs", 0, "size=1m,nr_inodes=16"), 0)
        << "mount tmpfs: " << strerror(errno);
    log = mnt + "/launcher.log";
    Logger::rotate_threshold_for_test = 100;
    StartFile(50);
    // Use up every inode, so that the renamed file cannot be re-created.
    std::vector<std::string> fillers;
    for (int i = 0; i < 64; ++i) {
        std::string f = mnt + "/f" + std::to_string(i);
        if (!WriteFile(f, "")) break;
        fillers.push_back(f);
    }
    LogBytes(60, 'a');
    LogBytes(60, 'b');  // renamed to P_0; P cannot be opened
    EXPECT_EQ(Logger::log_fp, nullptr);
    EXPECT_TRUE(PathExists(log + "_0"));
    LogBytes(60, 'c');  // dropped
    ASSERT_FALSE(fillers.empty());
    unlink(fillers.back().c_str());
    LogBytes(60, 'd');
    EXPECT_EQ(ReadFile(log).substr(kStampLen), std::string(60 - kStampLen - 1, 'd') + "\n");
    Reset();
    umount2(mnt.c_str(), MNT_DETACH);
}

TEST_F(LoggerTest, ReopenCheckFollowsSharedRotationCounter) {
    StartFile(50, "", Logger::ProcessShared);
    LogBytes(50, 'a');
    // Another holder rotated: the file was moved away and the counter moved on.
    ASSERT_EQ(rename(log.c_str(), (log + "_0").c_str()), 0);
    ASSERT_TRUE(WriteFile(log, "0123456789"));
    ++*Logger::log_rotated_count_shared;
    LogBytes(50, 'b');
    EXPECT_EQ(Logger::log_rotated_count_private, *Logger::log_rotated_count_shared);
    EXPECT_EQ(*Logger::log_size, 60);
    EXPECT_EQ(ReadFile(log).substr(0, 10), "0123456789");
    EXPECT_EQ(Lines(ReadFile(log + "_0")).size(), 1u);

    // With ThreadLock the counters are not consulted.
    StartFile(50, "", Logger::ThreadLock);
    ++*Logger::log_rotated_count_shared;
    Logger::ReloadLogFile();
    EXPECT_NE(Logger::log_rotated_count_private, *Logger::log_rotated_count_shared);
}

}  // namespace

namespace {

// Writes `path` until its volume is full.
void FillVolume(std::string const& path) {
    std::string const chunk(1024, 'f');
    int const fd = open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    if (fd < 0) return;
    while (write(fd, chunk.data(), chunk.size()) > 0) {
    }
    close(fd);
}

}  // namespace

TEST_F(LoggerTest, FullVolumeNeverLeavesHalfALine) {
    testsupport::TmpfsMount vol(dir / "vol", "64k");
    ASSERT_TRUE(vol.ok()) << vol.reason();
    log = dir / "vol/launcher.log";
    StartFile();
    Logger::LogMsg(Logger::Error, "c", "first line\n");
    // tmpfs allocates whole pages: the log's page still has room for part
    // of a long line, and nothing more.
    FillVolume(dir / "vol/filler");
    std::string const before = ReadFile(log);
    testing::internal::CaptureStderr();
    Logger::LogMsg(Logger::Error, "c", "%s\n", std::string(8000, 'y').c_str());
    std::string const elsewhere = testing::internal::GetCapturedStderr();
    EXPECT_EQ(ReadFile(log), before) << "a line cut short by the full volume stayed in the file";
    // Not lost: the line the file refused went to standard error.
    EXPECT_TRUE(std::regex_match(elsewhere,
                                 std::regex(std::string(kStamp) + std::string(8000, 'y') + "\n")))
        << elsewhere.size();

    ASSERT_EQ(unlink((dir / "vol/filler").c_str()), 0);
    errno = EXDEV;
    Logger::LogMsg(Logger::Error, "c", "after\n");
    EXPECT_EQ(errno, EXDEV) << "logging changed the caller's errno";
    std::vector<std::string> lines = Lines(ReadFile(log));
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_TRUE(std::regex_search(lines[1], std::regex(std::string("^") + kStamp + "after$")));
}

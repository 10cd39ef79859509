#pragma once
// Shared by the file-system tests: a private log file at debug level for the
// file-op component, and mount guards that skip only where the machine lacks
// the mechanism.

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <string>

#include "log/Logger.h"
#include "tests/support/TestSupport.h"

namespace fstest {

class LogCapture {
public:
    LogCapture() : dir_("fs-log") {
        testsupport::WriteFile(dir_ / "levels", "file_op_debug=7\n");
        Logger::Initialize(Logger::File, dir_ / "test.log", dir_ / "levels", 50,
                           Logger::ThreadLock);
    }
    ~LogCapture() { Logger::Destroy(); }
    std::string text() const { return testsupport::ReadFile(dir_ / "test.log"); }
    bool has(std::string const& s) const { return text().find(s) != std::string::npos; }

private:
    testsupport::TempDir dir_;
};

// Writes a file, creating its folders first.
inline bool Put(std::string const& path, std::string const& content, mode_t mode = 0644) {
    size_t const slash = path.rfind('/');
    if (slash != std::string::npos && slash > 0 && !testsupport::MakeDirs(path.substr(0, slash)))
        return false;
    return testsupport::WriteFile(path, content, mode);
}

inline mode_t ModeOf(std::string const& path) {
    struct stat st;
    return lstat(path.c_str(), &st) == 0 ? (st.st_mode & 07777) : 0;
}

inline bool IsLink(std::string const& path) {
    struct stat st;
    return lstat(path.c_str(), &st) == 0 && S_ISLNK(st.st_mode);
}

// A temporary folder that the nobody user may enter and write.
inline void OpenToNobody(std::string const& dir) { chmod(dir.c_str(), 0777); }

}  // namespace fstest

// Fails when tmpfs can't be mounted (the suite runs as root).
#define FS_REQUIRE_TMPFS(m)                    \
    do {                                       \
        ASSERT_TRUE((m).ok()) << (m).reason(); \
    } while (0)

#define FS_REQUIRE_ROOT()                                                          \
    do {                                                                           \
        ASSERT_TRUE(testsupport::IsRoot()) << "needs root (another user, mounts)"; \
    } while (0)

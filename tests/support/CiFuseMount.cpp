#include "tests/support/CiFuseMount.h"

#include <errno.h>
#include <fcntl.h>
#include <signal.h>
#include <sys/mount.h>
#include <sys/prctl.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <thread>

#include "tests/support/TestSupport.h"

namespace testsupport {
namespace {

char const kPython[] = "/usr/bin/python3";  // Debian's, with python3-fusepy

std::string ScriptPath() {
    if (char const* src = getenv("KORVANE_SOURCE_DIR"))
        return std::string(src) + "/tests/support/cifs_fuse.py";
    return KORVANE_CIFS_FUSE_SCRIPT;
}

bool IsMountedOn(std::string const& dir) {
    struct stat a, b;
    return stat(dir.c_str(), &a) == 0 && stat((dir + "/..").c_str(), &b) == 0 &&
           a.st_dev != b.st_dev;
}

// Waits up to `ms` for the child to end; true when it was reaped.
bool WaitChild(pid_t pid, int ms) {
    for (int waited = 0; waited <= ms; waited += 20) {
        int status = 0;
        pid_t r = waitpid(pid, &status, WNOHANG);
        if (r == pid || (r < 0 && errno == ECHILD)) return true;
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    return false;
}

}  // namespace

CiFuseMount::CiFuseMount(std::string const& backing, std::string const& mountpoint)
    : backing_(backing), mountpoint_(mountpoint), log_(mountpoint + ".fuse.log") {
    if (!IsRoot()) {
        reason_ = "mounting a FUSE volume needs root";
        return;
    }
    if (access("/dev/fuse", R_OK | W_OK) != 0) {
        reason_ = "no usable /dev/fuse";
        return;
    }
    std::string const script = ScriptPath();
    if (access(kPython, X_OK) != 0 || access(script.c_str(), R_OK) != 0) {
        reason_ = std::string("missing ") + kPython + " or " + script;
        return;
    }
    MakeDirs(backing_);
    MakeDirs(mountpoint_);

    pid_ = fork();
    if (pid_ < 0) {
        reason_ = "fork failed";
        return;
    }
    if (pid_ == 0) {
        // Never outlive the test process, even when it crashes.
        prctl(PR_SET_PDEATHSIG, SIGTERM);
        int fd = open(log_.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        if (fd >= 0) {
            dup2(fd, 1);
            dup2(fd, 2);
            close(fd);
        }
        execl(kPython, kPython, script.c_str(), backing_.c_str(), mountpoint_.c_str(),
              static_cast<char*>(nullptr));
        _exit(127);
    }

    for (int waited = 0; waited < 15000; waited += 20) {
        if (IsMountedOn(mountpoint_)) {
            mounted_ = true;
            return;
        }
        int status = 0;
        if (waitpid(pid_, &status, WNOHANG) == pid_) {
            pid_ = -1;
            reason_ = "cifs_fuse.py ended before mounting: " + ReadFile(log_);
            return;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    reason_ = "cifs_fuse.py did not mount within 15 s: " + ReadFile(log_);
}

CiFuseMount::~CiFuseMount() {
    if (mounted_ && umount2(mountpoint_.c_str(), 0) != 0) umount2(mountpoint_.c_str(), MNT_DETACH);
    if (pid_ > 0 && !WaitChild(pid_, 5000)) {
        kill(pid_, SIGKILL);
        WaitChild(pid_, 5000);
    }
    unlink(log_.c_str());
}

}  // namespace testsupport

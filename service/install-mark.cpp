#define KLOG_SOURCE "cloud-service"
#define KLOG_COMPONENT "service_debug"

#include "service/install-mark.h"

#include <dirent.h>
#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "fs/file-op.h"
#include "log/LogMacros.h"
#include "service/cloud-service.h"
#include "utils/ErrnoText.h"

namespace installmark {
namespace {

bool FsyncPath(std::string const& path, int flags) {
    int fd = open(path.c_str(), flags | O_CLOEXEC);
    if (fd < 0) return false;
    bool ok = fsync(fd) == 0;
    return close(fd) == 0 && ok;
}

bool IsNonEmptyFolder(std::string const& path) {
    _FILE_INFO_tag info;
    if (FSStat(path, info, false) != 0 || !info.exists || info.type != FILE_TYPE_DIR) return false;
    DIR* d = opendir(path.c_str());
    if (d == nullptr) return true;  // can't look inside: assume it holds something
    bool found = false;
    // NOLINTNEXTLINE(concurrency-mt-unsafe): no other thread reads this stream
    while (dirent* e = readdir(d)) {
        if (strcmp(e->d_name, ".") != 0 && strcmp(e->d_name, "..") != 0) {
            found = true;
            break;
        }
    }
    closedir(d);
    return found;
}

}  // namespace

std::string PathFor(std::string const& app) { return app + ".installing"; }

std::string PartPathFor(std::string const& app) { return app + ".part"; }

State Read(std::string const& app) {
    State s;
    s.pending = ReadText(PathFor(app), s.marked);
    bool const exists = IsFileExist(app, false);
    s.complete = exists ? kAtApp : kNowhere;
    if (!s.pending || s.marked == FSBaseName(app)) return s;
    int named = -1;
    for (int i = 0; i < kBackupAttempts; ++i) {
        if (!s.marked.empty() && s.marked == FSBaseName(GetAppBackupDir(app, i))) named = i;
    }
    if (named >= 0 && !IsNonEmptyFolder(GetAppBackupDir(app, named)))
        return s;  // the backup was never made or was moved back: app is complete
    s.vouches_for_app = false;
    // What lies at app, if anything, is a fragment of an interrupted extraction.
    s.complete = named >= 0 ? named : kNowhere;
    return s;
}

bool Write(std::string const& mark, std::string const& content) {
    std::string const tmp = mark + ".new";
    int fd = open(tmp.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (fd < 0) {
        KLOG(Error, "failed to write install mark '%s': %s\n", tmp.c_str(),
             korvane::utils::ErrnoText(errno).c_str());
        return false;
    }
    bool ok = write(fd, content.data(), content.size()) == static_cast<ssize_t>(content.size());
    ok = fsync(fd) == 0 && ok;
    ok = close(fd) == 0 && ok;
    if (!ok || rename(tmp.c_str(), mark.c_str()) != 0) {
        KLOG(Error, "failed to write install mark '%s': %s\n", mark.c_str(),
             korvane::utils::ErrnoText(errno).c_str());
        unlink(tmp.c_str());
        return false;
    }
    FsyncPath(FSParentPath(mark), O_RDONLY | O_DIRECTORY);
    return true;
}

bool ReadText(std::string const& mark, std::string& content) {
    content.clear();
    int fd = open(mark.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0) return errno != ENOENT;  // present but unreadable: still a mark
    char buf[512];
    ssize_t n = read(fd, buf, sizeof buf);
    close(fd);
    if (n > 0) content.assign(buf, static_cast<size_t>(n));
    while (!content.empty() && (content.back() == '\n' || content.back() == '\r'))
        content.pop_back();
    return true;
}

bool Clear(std::string const& mark) { return unlink(mark.c_str()) == 0 || errno == ENOENT; }

}  // namespace installmark

// File information, directory reading and the small queries.

#include <errno.h>
#include <fcntl.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include <map>
#include <string>

#include "fs/file-op-platform.h"
#include "fs/file-op.h"
#include "tests/fs/FsTestUtil.h"

using testsupport::TempDir;

TEST(FileInfo, MissingPathIsAbsentWithZeroes) {
    TempDir tmp;
    _FILE_INFO_tag info;
    info.size = 77;
    info.mode = 0755;
    ASSERT_EQ(0, GetFileInfo(tmp / "nope", info));
    EXPECT_FALSE(info.exists);
    EXPECT_EQ(tmp / "nope", info.path);
    EXPECT_EQ("nope", info.name);
    EXPECT_EQ(0, info.size);
    EXPECT_EQ(0, info.mtime);
    EXPECT_EQ(FILE_TYPE_NONE, info.type);
    EXPECT_EQ(0u, info.mode);
    EXPECT_EQ(0, info.dev);
}

TEST(FileInfo, KindsAndFields) {
    TempDir tmp;
    ASSERT_TRUE(fstest::Put(tmp / "f", "hello", 0640));
    ASSERT_EQ(0, FSUTime(tmp / "f", 1000, 1234567));
    ASSERT_EQ(0, symlink("missing-target", (tmp / "dangling").c_str()));
    ASSERT_EQ(0, mkfifo((tmp / "fifo").c_str(), 0600));
    int s = socket(AF_UNIX, SOCK_STREAM, 0);
    sockaddr_un addr{};
    addr.sun_family = AF_UNIX;
    std::string const sock = tmp / "sock";
    ASSERT_LT(sock.size(), sizeof(addr.sun_path));
    memcpy(addr.sun_path, sock.c_str(), sock.size() + 1);
    ASSERT_EQ(0, bind(s, reinterpret_cast<sockaddr*>(&addr), sizeof(addr)));

    _FILE_INFO_tag info;
    ASSERT_EQ(0, GetFileInfo(tmp / "f", info));
    EXPECT_TRUE(info.exists);
    EXPECT_EQ(FILE_TYPE_REGULAR, info.type);
    EXPECT_EQ(5, info.size);
    EXPECT_EQ(1234567, info.mtime);
    EXPECT_EQ(static_cast<uint32_t>(S_IFREG | 0640), info.mode);
    EXPECT_EQ(tmp / "f", info.path);
    EXPECT_EQ("f", info.name);

    // A dangling link exists; it is described itself.
    ASSERT_EQ(0, GetFileInfo(tmp / "dangling", info));
    EXPECT_TRUE(info.exists);
    EXPECT_EQ(FILE_TYPE_LINK, info.type);
    EXPECT_EQ(14, info.size);
    EXPECT_TRUE(IsFileExist(tmp / "dangling", true));

    std::map<std::string, int> const kinds = {{tmp.path(), FILE_TYPE_DIR},
                                              {tmp / "fifo", FILE_TYPE_FIFO},
                                              {sock, FILE_TYPE_SOCKET},
                                              {"/dev/null", FILE_TYPE_DEVICE}};
    for (auto const& k : kinds) {
        ASSERT_EQ(0, GetFileInfo(k.first, info)) << k.first;
        EXPECT_EQ(k.second, info.type) << k.first;
    }
    close(s);
}

TEST(FileInfo, ParentLinksResolveButTheLastLinkIsKept) {
    TempDir tmp;
    ASSERT_TRUE(testsupport::MakeDirs(tmp / "real/sub"));
    ASSERT_TRUE(fstest::Put(tmp / "real/sub/f", "x"));
    ASSERT_EQ(0, symlink("real", (tmp / "via").c_str()));
    ASSERT_EQ(0, symlink("sub", (tmp / "real/lnk").c_str()));

    _FILE_INFO_tag info;
    ASSERT_EQ(0, GetFileInfo(tmp / "via/sub/f", info));
    EXPECT_EQ(tmp / "real/sub/f", info.path);
    ASSERT_EQ(0, GetFileInfo(tmp / "via/lnk", info));
    EXPECT_EQ(tmp / "real/lnk", info.path);
    EXPECT_EQ(FILE_TYPE_LINK, info.type);
    // The exact-name test looks at the last component only: a home reached
    // through a link names the same folders.
    EXPECT_TRUE(IsFileExist(tmp / "via/sub/f", false));
    EXPECT_TRUE(IsFileExist(tmp / "via/sub/f", true));
    EXPECT_TRUE(IsFileExist(tmp / "via/lnk", true));
    EXPECT_TRUE(IsFileExist(tmp / "real/sub/f", true));

    std::string p = tmp / "via/lnk/f";
    ASSERT_EQ(0, FSGetRealPath(p));
    EXPECT_EQ(tmp / "real/sub/f", p);
    std::string missing = tmp / "via/none";
    EXPECT_EQ(-1, FSGetRealPath(missing));
    EXPECT_EQ(tmp / "via/none", missing);
}

TEST(FileInfo, EqualityIgnoresOwnerAndMode) {
    TempDir tmp;
    ASSERT_TRUE(fstest::Put(tmp / "f", "abc", 0600));
    _FILE_INFO_tag before, after;
    ASSERT_EQ(0, GetFileInfo(tmp / "f", before));
    ASSERT_EQ(0, chmod((tmp / "f").c_str(), 0755));
    ASSERT_EQ(0, GetFileInfo(tmp / "f", after));
    EXPECT_NE(before.mode, after.mode);
    EXPECT_TRUE(before == after);
    ASSERT_TRUE(fstest::Put(tmp / "f", "abcd", 0755));
    ASSERT_EQ(0, GetFileInfo(tmp / "f", after));
    EXPECT_TRUE(before != after);
}

TEST(FileInfo, InvalidUtf8NamesCompareByBytes) {
    TempDir tmp;
    std::string const a = tmp / "bad\xff";
    ASSERT_TRUE(fstest::Put(a, "x"));
    EXPECT_TRUE(IsFileExist(a, true));
    // Both would normalise to "", which must not make them equal.
    EXPECT_FALSE(IsFileExist(tmp / "bad\xfe", true));
}

TEST(FileInfo, FSStatSeparatesEmptyAbsentAndUnreadable) {
    FS_REQUIRE_ROOT();
    TempDir tmp;
    fstest::OpenToNobody(tmp.path());
    ASSERT_TRUE(testsupport::MakeDirs(tmp / "closed"));
    ASSERT_TRUE(fstest::Put(tmp / "closed/f", "x"));
    ASSERT_EQ(0, chmod((tmp / "closed").c_str(), 0700));

    _FILE_INFO_tag info;
    EXPECT_EQ(-1, FSStat("", info, false));
    info.size = 9;
    info.exists = true;
    EXPECT_EQ(0, FSStat(tmp / "none", info, true));
    EXPECT_FALSE(info.exists);
    EXPECT_EQ(9, info.size);  // nothing else is touched
    ASSERT_TRUE(fstest::Put(tmp / "file", "x"));
    info.exists = true;
    EXPECT_EQ(0, FSStat(tmp / "file/below", info, false));  // ENOTDIR: absent too
    EXPECT_FALSE(info.exists);
    std::string const closed = tmp / "closed/f";
    int rc = testsupport::RunAsNobody([&] {
        _FILE_INFO_tag i;
        if (GetFileInfo(closed, i) != -1) return 1;
        if (IsFileExist(closed, false)) return 2;
        return FSStat(closed, i, false) == -2 ? 0 : 3;
    });
    EXPECT_EQ(0, rc);
}

TEST(PathHelpers, ParentBaseAndParentFolder) {
    std::map<std::string, std::string> const parents = {
        {"a/b", "a"}, {"/a", "/"}, {"abc", "/"}, {"/a/b/", "/a/b"}, {"", "/"}, {"/", "/"}};
    for (auto const& p : parents) EXPECT_EQ(p.second, FSParentPath(p.first)) << p.first;
    std::map<std::string, std::string> const bases = {
        {"/a/b", "b"}, {"b", "b"}, {"/a/b/", ""}, {"", ""}};
    for (auto const& b : bases) EXPECT_EQ(b.second, FSBaseName(b.first)) << b.first;

    EXPECT_TRUE(FSIsParentFolder("/a", "/a"));
    EXPECT_TRUE(FSIsParentFolder("/a", "/a/b"));
    EXPECT_FALSE(FSIsParentFolder("/a", "/ab"));
    EXPECT_FALSE(FSIsParentFolder("/a/", "/a/b"));
    EXPECT_FALSE(FSIsParentFolder("/a/b", "/a"));
    EXPECT_TRUE(FSTimeEqual(5, 5));
    EXPECT_FALSE(FSTimeEqual(5, 6));
}

TEST(DirRead, DotEntriesTypesAndInfoFlag) {
    TempDir tmp;
    ASSERT_TRUE(fstest::Put(tmp / "file", "12345"));
    ASSERT_EQ(0, FSUTime(tmp / "file", 10, 4242));
    ASSERT_TRUE(testsupport::MakeDirs(tmp / "dir"));
    ASSERT_EQ(0, symlink("nowhere", (tmp / "dangling").c_str()));

    for (int flags : {0, DIR_READ_INFO}) {
        DIR_HANDLE h;
        ASSERT_EQ(0, FSOpenDir(tmp.path(), flags, h));
        EXPECT_EQ(tmp.path(), h.path);
        std::map<std::string, DIR_ENTRY> seen;
        DIR_ENTRY e;
        int rc;
        while ((rc = FSReadDir(h, e)) == 1) seen[e.name] = e;
        EXPECT_EQ(0, rc);
        FSCloseDir(h);
        EXPECT_EQ(nullptr, h.dir);
        EXPECT_TRUE(h.path.empty());

        ASSERT_EQ(5u, seen.size());
        EXPECT_EQ(FILE_TYPE_DIR, seen["."].type);
        EXPECT_EQ(FILE_TYPE_DIR, seen[".."].type);
        EXPECT_EQ(FILE_TYPE_DIR, seen["dir"].type);
        EXPECT_EQ(FILE_TYPE_REGULAR, seen["file"].type);
        EXPECT_EQ(FILE_TYPE_LINK, seen["dangling"].type);
        if (flags == 0) {
            EXPECT_EQ(0, seen["file"].size);
            EXPECT_EQ(0, seen["file"].mtime);
        } else {
            EXPECT_EQ(5, seen["file"].size);
            EXPECT_EQ(4242, seen["file"].mtime);
            EXPECT_EQ(7, seen["dangling"].size);  // the link itself
        }
    }
}

TEST(DirRead, OpenFailuresAreLoggedAndLeaveTheHandle) {
    FS_REQUIRE_ROOT();
    fstest::LogCapture log;
    TempDir tmp;
    DIR_HANDLE h;
    h.path = "untouched";
    EXPECT_EQ(-1, FSOpenDir(tmp / "none", 0, h));
    EXPECT_EQ("untouched", h.path);
    EXPECT_TRUE(log.has("[ERROR] file-op(") &&
                log.has("): FSOpenDir: Failed to open directory '" + (tmp / "none") +
                        "'. No such file or directory\n"));

    fstest::OpenToNobody(tmp.path());
    ASSERT_TRUE(testsupport::MakeDirs(tmp / "closed"));
    ASSERT_EQ(0, chmod((tmp / "closed").c_str(), 0700));
    std::string const closed = tmp / "closed";
    EXPECT_EQ(0, testsupport::RunAsNobody([&] {
                  DIR_HANDLE hh;
                  return FSOpenDir(closed, 0, hh) == -1 ? 0 : 1;
              }));
    EXPECT_TRUE(log.has("Failed to open directory '" + closed + "'. Permission denied"));
}

TEST(Queries, AccessTests) {
    FS_REQUIRE_ROOT();
    TempDir tmp;
    fstest::OpenToNobody(tmp.path());
    ASSERT_TRUE(fstest::Put(tmp / "secret", "x", 0600));
    ASSERT_TRUE(fstest::Put(tmp / "open", "x", 0644));
    std::string const secret = tmp / "secret", open = tmp / "open", none = tmp / "none";
    EXPECT_EQ(0, testsupport::RunAsNobody([&] {
                  if (!isFileLocked(secret, R_OK) || hasFilePermission(secret, R_OK)) return 1;
                  if (isFileLocked(open, R_OK) || !hasFilePermission(open, R_OK)) return 2;
                  if (!isFileLocked(open, W_OK)) return 3;
                  // Other errors count as neither locked nor forbidden.
                  if (isFileLocked(none, R_OK) || !hasFilePermission(none, R_OK)) return 4;
                  return 0;
              }));
}

// Each volume has its own longest link target (ext4 and tmpfs store 4095
// bytes, XFS 1023): what symlink() accepted decides what is expected.
TEST(Queries, ReadSymbolicLinkLimits) {
    fstest::LogCapture log;
    TempDir tmp;
    for (size_t const length : {size_t{1}, size_t{1023}, size_t{1024}, size_t{4095}}) {
        std::string const link = tmp / ("l" + std::to_string(length));
        std::string const stored(length, 'a');
        std::string target = "keep";
        if (symlink(stored.c_str(), link.c_str()) != 0) {
            EXPECT_EQ(ENAMETOOLONG, errno) << length;
            EXPECT_EQ(-1, FSReadSymbolicLink(link, target)) << length;
        } else if (length < 1024) {
            EXPECT_EQ(0, FSReadSymbolicLink(link, target)) << length;
            EXPECT_EQ(stored, target);
        } else {
            EXPECT_EQ(-1, FSReadSymbolicLink(link, target)) << length;
            EXPECT_TRUE(log.has("FSReadSymbolicLink: path of '" + link + "' is more than 1024\n"));
        }
    }
    std::string target;
    EXPECT_EQ(-1, FSReadSymbolicLink(tmp / "none", target));
    EXPECT_TRUE(log.has("FSReadSymbolicLink: Failed to read symbolic link '" + (tmp / "none") +
                        "' (code: 2, msg: No such file or directory)\n"));
}

namespace {
std::string g_probe_type;
int g_probe_errno = 0;
int FakeProbe(std::string const&, std::string& name) {
    if (g_probe_errno != 0) {
        errno = g_probe_errno;
        return -1;
    }
    name = g_probe_type;
    return 0;
}
struct ProbeGuard {
    ProbeGuard() { fsplatform::SetFsTypeProbe(&FakeProbe); }
    ~ProbeGuard() { fsplatform::SetFsTypeProbe(nullptr); }
};
}  // namespace

TEST(Queries, VolumeKindsThroughTheTypeName) {
    fstest::LogCapture log;
    {
        ProbeGuard guard;
        g_probe_errno = 0;
        for (char const* t : {"nfs", "smbfs", "afpfs"}) {
            g_probe_type = t;
            EXPECT_TRUE(isMountPoint("/x")) << t;
            EXPECT_FALSE(IsMSDOS("/x")) << t;
        }
        for (char const* t : {"nfs4", "apfs", "msdos", ""}) {
            g_probe_type = t;
            EXPECT_FALSE(isMountPoint("/x")) << t;
        }
        g_probe_type = "msdos";
        EXPECT_TRUE(IsMSDOS("/Volumes/STICK"));
        EXPECT_TRUE(log.has("[WARNING] file-op(") &&
                    log.has("Detect a MSDOS platform for path '/Volumes/STICK'.\n"));
        g_probe_errno = EIO;
        EXPECT_FALSE(isMountPoint("/y"));
        EXPECT_FALSE(IsMSDOS("/y"));
        EXPECT_TRUE(
            log.has("isMountPoint: Failed to get file system info '/y'. Input/output error\n"));
        EXPECT_TRUE(log.has(
            "IsSupportLargeFile: Failed to get file system info '/y'. Input/output error\n"));
    }
    // The real probe on this machine's volumes.
    TempDir tmp;
    EXPECT_FALSE(isMountPoint(tmp.path()));
    EXPECT_FALSE(IsMSDOS(tmp.path()));
    EXPECT_FALSE(isMountPoint(tmp / "none"));
    EXPECT_TRUE(log.has("isMountPoint: Failed to get file system info '" + (tmp / "none") +
                        "'. No such file or directory\n"));
}

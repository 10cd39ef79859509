#pragma once
// File-system layer: free functions over UTF-8 byte-string paths. Every
// operation reports by return code (0 success, negative failure unless noted)
// and logs its failures under the component "file_op_debug"; nothing throws.
// A path's information always describes a link itself, never its target.

#include <dirent.h>

#include <cstdint>
#include <string>

// File type codes; 4 is never produced.
constexpr int FILE_TYPE_NONE = 0;  // absent, or a kind not listed here
constexpr int FILE_TYPE_REGULAR = 1;
constexpr int FILE_TYPE_DIR = 2;
constexpr int FILE_TYPE_LINK = 3;    // the link itself
constexpr int FILE_TYPE_DEVICE = 5;  // character or block device
constexpr int FILE_TYPE_FIFO = 6;
constexpr int FILE_TYPE_SOCKET = 7;

struct _FILE_INFO_tag {
    std::string path;  // as the file system stores it; the given path when absent
    std::string name;  // last component of path
    int type = FILE_TYPE_NONE;
    int32_t mtime = 0;    // seconds since the epoch, low 32 bits
    int64_t size = 0;     // of the link itself for a link
    bool exists = false;  // a dangling link exists
    uint32_t uid = 0;
    uint32_t gid = 0;
    uint32_t mode = 0;  // type and permission bits
    int64_t dev = 0;

    // Compares exists, size, mtime, type, path and name only: owner, group,
    // mode and device do not take part.
    bool operator==(_FILE_INFO_tag const& other) const;
    bool operator!=(_FILE_INFO_tag const& other) const { return !(*this == other); }
};
typedef _FILE_INFO_tag FILE_INFO;

// DIR_HANDLE::flags bit: FSReadDir fills mtime and size.
constexpr int DIR_READ_INFO = 1;

struct DIR_HANDLE {
    std::string path;
    int flags = 0;
    DIR* dir = nullptr;
};

struct DIR_ENTRY {
    std::string name;  // the entry's name only
    int type = FILE_TYPE_NONE;
    int32_t mtime = 0;
    int64_t size = 0;
};

// ---- File information and directory reading ----

// 0 (also for an absent path, with exists false); -1 on failure.
int GetFileInfo(std::string const& path, _FILE_INFO_tag& info);
// With exactName, the path must name the file exactly as stored (NFC-equal).
bool IsFileExist(std::string const& path, bool exactName);
// 0; -1 empty path; -2 information unreadable. An absent path sets only
// info.exists (false) and returns 0.
int FSStat(std::string const& path, _FILE_INFO_tag& info, bool exactName);
std::string FSParentPath(std::string const& path);
std::string FSBaseName(std::string const& path);
bool FSIsParentFolder(std::string const& parent, std::string const& path);
// 0 or -1 (handle untouched on failure).
int FSOpenDir(std::string const& path, int flags, DIR_HANDLE& handle);
// 1 an entry was read ("." and ".." included); 0 no more entries; -1 failure.
int FSReadDir(DIR_HANDLE& handle, DIR_ENTRY& entry);
void FSCloseDir(DIR_HANDLE& handle);
bool FSTimeEqual(long a, long b);
// Resolves every link and gives the stored spelling: 0 (path replaced) or -1
// (path unchanged).
int FSGetRealPath(std::string& path);
// True when the path lies on a network file system (nfs, smbfs, afpfs).
bool isMountPoint(std::string const& path);
// True when the path lies on a FAT ("msdos") file system.
bool IsMSDOS(std::string const& path);
// Access tests with the POSIX access modes; only EACCES/EPERM count as denial.
bool isFileLocked(std::string const& path, int mode);
bool hasFilePermission(std::string const& path, int mode);
// 0 or -1; targets of 1024 bytes or more are refused.
int FSReadSymbolicLink(std::string const& path, std::string& target);

// ---- Mutation ----

// 0 created or already a folder; -1 empty path, information unreadable, or the
// path exists and is not a folder (a link is never followed); -2 creation
// failed (errno is the creation's error).
int FSMKDir(std::string const& path, bool recursive);
// Creates the levels between root and target top down: 0, or -1.
int FSMKDirFromRoot(std::string const& target, std::string const& root);
// Copies one regular file's content: 0; -1 any failure; -2 destination volume
// full or over quota.
int FSCopy(std::string const& src, std::string const& dst, bool removeSource, bool keepMode);
// 0; -1 empty path; -2 source absent or unreadable; -3 failed (the source is
// left untouched); -100 name too long. Moves across volumes copy the tree
// beside dst first and remove the source only after the copy is complete.
int FSRename(std::string const& src, std::string const& dst, bool exactName);
// 0 removed or absent; -1 empty path or information unreadable; -3 a removal
// failed. Links are removed themselves. The bool has no effect; callers may
// leave it out.
int FSRemove(std::string const& path, bool unused = false);
// Creates a unique file (mode 0644) in dir: 0 or -1.
int FSMktemp(std::string const& dir, std::string& out);
// A fresh random path in dir; nothing is created: 0 or -1.
int FSCreateTempPath(std::string const& dir, std::string& out);
// 0; 1 the file does not exist; -1 failure.
int FSFsync(std::string const& path);
// Sets times without following a final link: 0 or -1.
int FSUTime(std::string const& path, long atime, long mtime);
int FSCreateSymbolicLink(std::string const& target, std::string const& link);
// Does not follow a final link: 0 or -1.
int FSChown(std::string const& path, unsigned uid, unsigned gid);
// Follows links: 0 or -1.
int FSChmod(std::string const& path, unsigned short mode);

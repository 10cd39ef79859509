// macOS: CoreServices gives a path as the file system stores it.

#include <CoreServices/CoreServices.h>
#include <sys/mount.h>
#include <sys/param.h>

#include <cstring>
#include <string>

#include "fs/file-op-platform.h"

namespace fsplatform {

int StoredPath(std::string const& path, bool followFinal, std::string& out) {
    FSRef ref;
    OSStatus status;
    UInt8 const* p = reinterpret_cast<UInt8 const*>(path.c_str());
    if (followFinal)
        status = FSPathMakeRef(p, &ref, nullptr);
    else
        status = FSPathMakeRefWithOptions(p, kFSPathMakeRefDoNotFollowLeafSymlink, &ref, nullptr);
    if (status != noErr) return static_cast<int>(status);
    UInt8 buf[4096];
    std::memset(buf, 0, sizeof(buf));
    status = FSRefMakePath(&ref, buf, sizeof(buf));
    if (status != noErr) return static_cast<int>(status);
    out = reinterpret_cast<char const*>(buf);
    return 0;
}

char const* FsTypeNameForMagic(unsigned long) { return ""; }

int PlatformFsTypeName(std::string const& path, std::string& name) {
    struct statfs sfs;
    if (statfs(path.c_str(), &sfs) != 0) return -1;
    name = sfs.f_fstypename;
    return 0;
}

}  // namespace fsplatform

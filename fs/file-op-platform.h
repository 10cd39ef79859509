#pragma once
// The platform seam of the file-system layer: the path as the file system
// stores it, and the file-system type name. One implementation per platform
// (file-op-platform-mac.cpp, file-op-platform-linux.cpp); the shared logic
// in file-op*.cpp calls only these.

#include <string>

namespace fsplatform {

// The path of the same file with each component spelled as its directory
// stores it and links in the parent components resolved; with followFinal a
// link in the last component is resolved too. 0 on success, else a nonzero
// platform status (an OSStatus on macOS, a negated errno elsewhere).
int StoredPath(std::string const& path, bool followFinal, std::string& out);

// The type name of the file system holding path ("nfs", "smbfs", "msdos",
// "tmpfs", ...). 0, or -1 with errno set.
int PlatformFsTypeName(std::string const& path, std::string& name);

// What isMountPoint and IsMSDOS ask. Tests replace it to stand in for volume
// kinds this machine can't mount; nullptr restores PlatformFsTypeName.
using FsTypeProbe = int (*)(std::string const& path, std::string& name);
void SetFsTypeProbe(FsTypeProbe probe);
int FsTypeName(std::string const& path, std::string& name);

// Linux: statfs f_type to the names macOS reports; "" when unknown.
char const* FsTypeNameForMagic(unsigned long magic);

}  // namespace fsplatform

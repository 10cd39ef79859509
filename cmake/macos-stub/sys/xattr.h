// Stand-in for <sys/xattr.h>, which zig's macOS headers lack, for the macOS
// compile check on Linux only (scripts/mac-compile-check.sh). It declares
// exactly what extract/quarantine-mac.cpp, extract/file-clone-mac.cpp and
// pack/mac-metadata-mac.cpp use, as Apple documents it; a real macOS build
// uses the SDK's header and never sees this folder.
#pragma once

#include <sys/types.h>

#ifdef __cplusplus
extern "C" {
#endif

#define XATTR_NOFOLLOW 0x0001

int removexattr(const char* path, const char* name, int options);
ssize_t listxattr(const char* path, char* namebuff, size_t size, int options);
ssize_t flistxattr(int fd, char* namebuff, size_t size, int options);
int fremovexattr(int fd, const char* name, int options);

#ifdef __cplusplus
}
#endif

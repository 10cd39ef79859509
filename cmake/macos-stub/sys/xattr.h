// Stand-in for <sys/xattr.h>, which zig's macOS headers lack, for the macOS
// compile check on Linux only (scripts/mac-compile-check.sh). It declares
// exactly what extract/quarantine-mac.cpp uses, as Apple documents it; a real
// macOS build uses the SDK's header and never sees this folder.
#pragma once

#ifdef __cplusplus
extern "C" {
#endif

#define XATTR_NOFOLLOW 0x0001

int removexattr(const char* path, const char* name, int options);

#ifdef __cplusplus
}
#endif

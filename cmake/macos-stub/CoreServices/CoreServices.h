// Stand-in for the one framework header our sources include, for the macOS
// compile check on Linux only (scripts/mac-compile-check.sh). It declares
// exactly the calls and types fs/file-op-platform-mac.cpp uses, as Apple
// documents them; a real macOS build uses the SDK's framework and never sees
// this folder.
#pragma once

#ifdef __cplusplus
extern "C" {
#endif

typedef unsigned char UInt8;
typedef unsigned int UInt32;
typedef signed int SInt32;
typedef SInt32 OSStatus;
typedef unsigned char Boolean;
typedef UInt32 OptionBits;

enum { noErr = 0 };

enum { kFSPathMakeRefDoNotFollowLeafSymlink = 0x01 };

struct FSRef {
    UInt8 hidden[80];
};
typedef struct FSRef FSRef;

OSStatus FSPathMakeRef(const UInt8* path, FSRef* ref, Boolean* isDirectory);
OSStatus FSPathMakeRefWithOptions(const UInt8* path, OptionBits options, FSRef* ref,
                                  Boolean* isDirectory);
OSStatus FSRefMakePath(const FSRef* ref, UInt8* path, UInt32 pathBufferSize);

#ifdef __cplusplus
}
#endif

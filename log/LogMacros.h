#pragma once
// One guarded log line with the system's prefix:
//   "(%5d:%5d) [LEVEL] <source>(%d): " message
// A source file defines KLOG_SOURCE (its name without extension, e.g.
// "file-op") and KLOG_COMPONENT (e.g. "file_op_debug") before including this,
// then writes KLOG(Error, "text %s\n", arg). The arguments are evaluated only
// when the component's threshold lets the line through.

#include <pthread.h>
#include <stdint.h>
#include <unistd.h>

#include "log/Logger.h"

#define KLOG_TAG_Error "ERROR"
#define KLOG_TAG_Warning "WARNING"
#define KLOG_TAG_Note "NOTE"
#define KLOG_TAG_Info "INFO"
#define KLOG_TAG_Debug "DEBUG"

// pthread_t is an integer on Linux and a pointer on macOS: the C-style cast
// takes both to uintptr_t (no single C++ cast does); %5d needs an int.
#define KLOG_THREAD_NO() (static_cast<int>((uintptr_t)pthread_self() % 100000U))

#define KLOG(level, fmt, ...)                                                                      \
    do {                                                                                           \
        if (Logger::IsNeedToLog(Logger::level, KLOG_COMPONENT)) {                                  \
            Logger::LogMsg(Logger::level, KLOG_COMPONENT,                                          \
                           "(%5d:%5d) [" KLOG_TAG_##level "] " KLOG_SOURCE "(%d): " fmt,           \
                           static_cast<int>(getpid()), KLOG_THREAD_NO(), __LINE__, ##__VA_ARGS__); \
        }                                                                                          \
    } while (0)

#pragma once
// The one logging facility: static state only, so any code can log without
// holding an object. Thresholds per component come from the level file.

#include <pthread.h>

#include <cstdarg>
#include <cstdint>
#include <cstdio>
#include <map>
#include <sstream>
#include <string>

class Logger {
public:
    // Fixed underlying type: callers pass plain ints (LogMSG_c, "2 and above"
    // scopes), which must stay valid values of the enum.
    enum Type : int { Syslog = 0, Stdout = 1, Stderr = 2, File = 3 };
    enum Level : int { Error = 3, Warning = 4, Note = 5, Info = 6, Debug = 7 };
    enum SafetyScope : int { NoLock = 0, ThreadLock = 1, ProcessShared = 2 };
    enum ConfigFlag : int { EndLine = 2, AppendErrno = 4 };

    struct InitConfig {
        Type type = Stdout;
        std::string log_path;
        std::string conf_path;
        int32_t rotate_count = 50;
        SafetyScope safety_scope = ThreadLock;
    };

    // A File logger whose file cannot be opened returns -1 but stays on,
    // writing to standard error and the system log; its first line there
    // names the file and why.
    static int Initialize(InitConfig const& cfg);
    static int Initialize(Type type, std::string const& log_path, std::string const& conf_path,
                          int rotate_count, SafetyScope scope);
    static void Destroy();

    static bool IsNeedToLog(Level level, std::string const& component);
    static int GetCompLevel(std::string const& component);

    static void LogMsg(Level level, std::string const& component, char const* format, ...)
        __attribute__((format(printf, 3, 4)));
    static void LogMsg2(Level level, std::string const& component, char const* format, va_list args)
        __attribute__((format(printf, 3, 0)));
    static void LogMsg3(Level level, std::string const& component, std::stringstream& stream,
                        ConfigFlag flags);

    static int PrintToFilePointer(char const* format, ...) __attribute__((format(printf, 1, 2)));
    static int PrintToFilePointerV(char const* format, va_list args)
        __attribute__((format(printf, 1, 0)));
    static int FlushFileStream(long unused);

    static void InitializeLock();
    static void DestroyLock();
    static void Lock();
    static void Unlock();
    static void InitializeFileLock();
    static void DestroyFileLock();

    // Rotation and the level file.
    static int Rotate();
    static int RotateIfFileBig(int written);
    static void ReloadLogFile();
    static int GetFileSize(std::string const& path);
    static uint64_t* InitializeSharedData();
    static void DestroySharedData();

    // Rotation threshold in counted bytes; a test may lower it to exercise
    // rotation without writing 5 MiB. Not part of the normal configuration.
    static int32_t rotate_threshold_for_test;

    static InitConfig config;
    static FILE* log_fp;
    static std::string log_path;
    static std::map<std::string, int> log_level;
    static int32_t* log_size;
    static uint64_t* log_rotated_count_shared;
    static uint64_t log_rotated_count_private;
    static pthread_mutex_t* log_lock;
    static bool log_initialized;
    static int log_flock;
};

// Free function for C-style callers: the component as a C string.
void LogMSG_c(int level, char const* component, char const* format, va_list args)
    __attribute__((format(printf, 3, 0)));

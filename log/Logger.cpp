#define KLOG_SOURCE "Logger"
#define KLOG_COMPONENT "default_component"
#include "log/Logger.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <syslog.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstring>
#include <ctime>
#include <new>
#include <vector>

#include "log/LogMacros.h"
#include "utils/Config.h"
#include "utils/ErrnoText.h"

namespace {

constexpr int kDefaultLevel = 4;
constexpr int32_t kRotateThreshold = 5242881;  // more than 5 MiB

// The log file must not leak into the processes the launcher starts.
FILE* OpenAppend(std::string const& path) {
    FILE* fp = fopen(path.c_str(), "a");
    if (fp != nullptr) fcntl(fileno(fp), F_SETFD, FD_CLOEXEC);
    return fp;
}

bool IsStdStream(FILE* fp) { return fp == stdout || fp == stderr || fp == stdin; }

void CloseLogStream() {
    if (Logger::log_fp != nullptr && !IsStdStream(Logger::log_fp)) fclose(Logger::log_fp);
    Logger::log_fp = nullptr;
}

std::string RotatedName(std::string const& path, int index) {
    return path + "_" + std::to_string(index);
}

// The reopen check, with the lock held when there is one.
void ReloadLocked() {
    if (Logger::config.type != Logger::File || Logger::config.safety_scope < Logger::ProcessShared)
        return;
    if (Logger::log_rotated_count_shared == nullptr ||
        *Logger::log_rotated_count_shared == Logger::log_rotated_count_private)
        return;
    CloseLogStream();
    FILE* fp = OpenAppend(Logger::log_path);
    if (fp == nullptr) return;
    Logger::log_fp = fp;
    if (Logger::log_size) *Logger::log_size = Logger::GetFileSize(Logger::log_path);
    Logger::log_rotated_count_private = *Logger::log_rotated_count_shared;
}

// A file logger that lost its stream (the folder vanished, a reopen failed)
// tries the path again before each line instead of going silent for good.
void ReopenIfLost() {
    if (Logger::config.type != Logger::File || Logger::log_fp != nullptr ||
        Logger::log_path.empty())
        return;
    FILE* fp = OpenAppend(Logger::log_path);
    if (fp == nullptr) return;
    Logger::log_fp = fp;
    if (Logger::log_size) *Logger::log_size = Logger::GetFileSize(Logger::log_path);
}

// A file logger whose file could not be opened writes to standard error and
// the system log both: a run must leave a trace somewhere.
bool g_fallback = false;

void LineElsewhere(char const* format, va_list args) {
    va_list copy;
    va_copy(copy, args);
    vsyslog(LOG_ERR, format, copy);
    va_end(copy);
    FILE* const file = Logger::log_fp;
    Logger::log_fp = stderr;
    Logger::PrintToFilePointerV(format, args);
    Logger::log_fp = file;
}

}  // namespace

int32_t Logger::rotate_threshold_for_test = kRotateThreshold;

Logger::InitConfig Logger::config;
FILE* Logger::log_fp = stderr;
std::string Logger::log_path;
std::map<std::string, int> Logger::log_level;
int32_t* Logger::log_size = nullptr;
uint64_t* Logger::log_rotated_count_shared = nullptr;
uint64_t Logger::log_rotated_count_private = 0;
pthread_mutex_t* Logger::log_lock = nullptr;
bool Logger::log_initialized = true;
int Logger::log_flock = -1;

int Logger::Initialize(Type type, std::string const& path, std::string const& conf_path,
                       int rotate_count, SafetyScope scope) {
    InitConfig cfg;
    cfg.type = type;
    cfg.log_path = path;
    cfg.conf_path = conf_path;
    cfg.rotate_count = rotate_count;
    cfg.safety_scope = scope;
    return Initialize(cfg);
}

int Logger::Initialize(InitConfig const& cfg) {
    Destroy();

    config = cfg;
    log_path = cfg.log_path;
    if (config.type != File)
        config.safety_scope = NoLock;
    else
        InitializeLock();

    if (log_size == nullptr || log_rotated_count_shared == nullptr) {
        if (InitializeSharedData() == nullptr) return -1;
    }

    log_level["default_component"] = kDefaultLevel;

    if (!config.conf_path.empty()) {
        Config levels;
        levels.read(config.conf_path);  // nothing is added on failure
        for (auto const& entry : levels.entries)
            log_level[entry.first] = levels.get_int(entry.first);
    }

    tzset();

    switch (config.type) {
        case Stderr:
        case Stdout:
        case Syslog:
            log_fp = config.type == Stderr ? stderr : config.type == Stdout ? stdout : nullptr;
            log_path.clear();
            *log_size = -1;
            *log_rotated_count_shared = 0;
            log_rotated_count_private = 0;
            log_initialized = true;
            return 0;
        case File: break;
        default:
            // No output of its own; lines go to stderr without a timestamp.
            log_fp = stderr;
            log_path.clear();
            *log_size = -1;
            log_initialized = true;
            return 0;
    }

    if (log_path.empty()) return -1;
    FILE* fp = OpenAppend(log_path);
    if (fp == nullptr) {
        int const err = errno;
        std::string const path = log_path;
        DestroyLock();
        config.type = Stderr;
        config.safety_scope = NoLock;
        log_fp = stderr;
        log_path.clear();
        *log_size = -1;
        *log_rotated_count_shared = 0;
        log_rotated_count_private = 0;
        log_initialized = true;
        g_fallback = true;
        KLOG(Error,
             "log file '%s' cannot be opened: %s; logging to standard error and the system log\n",
             path.c_str(), korvane::utils::ErrnoText(err).c_str());
        return -1;
    }
    log_fp = fp;
    *log_rotated_count_shared = 0;
    log_rotated_count_private = 0;
    *log_size = GetFileSize(log_path);
    log_initialized = true;
    return 0;
}

void Logger::Destroy() {
    log_initialized = false;
    g_fallback = false;
    if (config.type == File) {
        CloseLogStream();
        log_fp = stdout;
        config.type = Stderr;
        log_path.clear();
    }
    DestroySharedData();
    DestroyLock();
}

int Logger::GetCompLevel(std::string const& component) {
    // find, not operator[]: this runs unlocked on several threads.
    auto it = log_level.find(component);
    return it == log_level.end() ? kDefaultLevel : it->second;
}

bool Logger::IsNeedToLog(Level level, std::string const& component) {
    if (!log_initialized) return false;
    return static_cast<int>(level) <= GetCompLevel(component);
}

void Logger::LogMsg(Level level, std::string const& component, char const* format, ...) {
    va_list args;
    va_start(args, format);
    LogMsg2(level, component, format, args);
    va_end(args);
}

void Logger::LogMsg2(Level level, std::string const& component, char const* format, va_list args) {
    if (!log_initialized) return;
    if (static_cast<int>(level) > GetCompLevel(component)) return;

    Lock();
    // The stream is checked under the lock: another thread may be between
    // closing and reopening it during a rotation.
    ReloadLocked();
    ReopenIfLost();
    if (config.type != Syslog && log_fp == nullptr) {
        Unlock();
        return;
    }

    if (g_fallback) {
        va_list copy;
        va_copy(copy, args);
        vsyslog(LOG_ERR, format, copy);
        va_end(copy);
    }
    int written;
    switch (config.type) {
        case Stdout:
        case Stderr: written = PrintToFilePointerV(format, args); break;
        case File: {
            va_list again;
            va_copy(again, args);
            written = PrintToFilePointerV(format, args);
            // A line the file refuses (a full volume) is often the one that
            // says why a run failed: it goes to the other outputs instead.
            if (written < 0) LineElsewhere(format, again);
            va_end(again);
            break;
        }
        case Syslog:
            vsyslog(LOG_ERR, format, args);
            written = 0;
            break;
        default:
            vfprintf(stderr, format, args);
            written = 0;
            break;
    }

    if (written >= 0 && config.type == File) RotateIfFileBig(written);
    Unlock();
}

void Logger::LogMsg3(Level level, std::string const& component, std::stringstream& stream,
                     ConfigFlag flags) {
    // Captured first: the stream operations below may change errno.
    int const err = errno;
    bool const with_errno = (flags & AppendErrno) != 0 && err != 0;
    bool const end_line = (flags & EndLine) != 0;

    if (with_errno) {
        stream << ", err=" << err << ":";
        // %m is not portable outside syslog, so the text is expanded here.
        std::string text = stream.str();
        std::string msg = korvane::utils::ErrnoText(err);
        if (end_line)
            LogMsg(level, component, "%s%s\n", text.c_str(), msg.c_str());
        else
            LogMsg(level, component, "%s%s", text.c_str(), msg.c_str());
    } else {
        std::string text = stream.str();
        if (end_line)
            LogMsg(level, component, "%s\n", text.c_str());
        else
            LogMsg(level, component, "%s", text.c_str());
    }
}

void LogMSG_c(int level, char const* component, char const* format, va_list args) {
    Logger::LogMsg2(static_cast<Logger::Level>(level), std::string(component ? component : ""),
                    format, args);
}

int Logger::PrintToFilePointer(char const* format, ...) {
    va_list args;
    va_start(args, format);
    int r = PrintToFilePointerV(format, args);
    va_end(args);
    return r;
}

int Logger::PrintToFilePointerV(char const* format, va_list args) {
    if (log_fp == nullptr) return 0;
    // Callers log a failure and then return with its errno still current.
    struct KeepErrno {
        int saved = errno;
        ~KeepErrno() { errno = saved; }
    } keep_errno;

    char stamp[512];
    stamp[0] = '\0';
    time_t now = time(nullptr);
    struct tm local;
    // localtime_r: unlocked loggers (stdout, stderr) format times concurrently.
    if (localtime_r(&now, &local) == nullptr ||
        strftime(stamp, sizeof stamp, "%Y-%m-%dT%H:%M:%S ", &local) == 0)
        stamp[0] = '\0';

    va_list measure;
    va_copy(measure, args);
    int const n = vsnprintf(nullptr, 0, format, measure);
    va_end(measure);
    if (n < 0) return -1;
    std::string line(stamp);
    size_t const head = line.size();
    line.resize(head + static_cast<size_t>(n) + 1);
    vsnprintf(&line[head], static_cast<size_t>(n) + 1, format, args);
    line.resize(head + static_cast<size_t>(n));

    int const fd = IsStdStream(log_fp) ? -1 : fileno(log_fp);
    if (fd < 0) {
        // One stdio lock keeps the timestamp with its text for the outputs
        // that have no mutex of ours.
        flockfile(log_fp);
        size_t const put = fwrite(line.data(), 1, line.size(), log_fp);
        int const flushed = fflush(log_fp);
        funlockfile(log_fp);
        return (put == line.size() && flushed == 0) ? static_cast<int>(line.size()) : -1;
    }

    // A log file gets each line in one write(2), so other processes appending
    // to the same file never split it. A line cut short (a full volume) is
    // taken back, so the file holds only whole lines.
    fflush(log_fp);
    struct stat st;
    off_t const before = fstat(fd, &st) == 0 ? st.st_size : -1;
    size_t done = 0;
    while (done < line.size()) {
        ssize_t const w = write(fd, line.data() + done, line.size() - done);
        if (w < 0 && errno == EINTR) continue;
        if (w <= 0) break;
        done += static_cast<size_t>(w);
    }
    if (done < line.size()) {
        if (done > 0 && before >= 0) {
            int const cut = ftruncate(fd, before);
            (void)cut;  // if even that fails, the next line starts on the fragment
        }
        return -1;
    }
    return static_cast<int>(line.size());
}

int Logger::FlushFileStream(long) { return log_fp ? fflush(log_fp) : 0; }

void Logger::InitializeLock() {
    if (config.safety_scope < ThreadLock || log_lock != nullptr) return;
    pthread_mutex_t* m = new (std::nothrow) pthread_mutex_t;
    if (m == nullptr) return;
    if (pthread_mutex_init(m, nullptr) != 0) {
        delete m;
        return;
    }
    log_lock = m;
}

void Logger::DestroyLock() {
    if (log_lock == nullptr) return;
    pthread_mutex_destroy(log_lock);
    delete log_lock;
    log_lock = nullptr;
}

void Logger::Lock() {
    if (log_lock) pthread_mutex_lock(log_lock);
}

void Logger::Unlock() {
    if (log_lock) pthread_mutex_unlock(log_lock);
}

void Logger::InitializeFileLock() {}

void Logger::DestroyFileLock() {}

int Logger::Rotate() {
    if (log_path.empty()) return -1;
    int const n = config.rotate_count < 1 ? 1 : config.rotate_count;
    std::string const& p = log_path;

    for (int i = n - 2; i >= 0; --i)
        rename(RotatedName(p, i).c_str(), RotatedName(p, i + 1).c_str());
    unlink(RotatedName(p, n - 1).c_str());

    CloseLogStream();
    if (rename(p.c_str(), RotatedName(p, 0).c_str()) != 0) {
        // Keep writing to the same file rather than going silent.
        log_fp = OpenAppend(p);
        return -1;
    }
    FILE* fp = OpenAppend(p);
    if (fp == nullptr) return -1;
    log_fp = fp;
    if (log_rotated_count_shared) ++*log_rotated_count_shared;
    ++log_rotated_count_private;
    return 0;
}

int Logger::RotateIfFileBig(int written) {
    if (written < 0 || config.type != File || log_size == nullptr) return 0;
    // 64-bit sum, saturated: a file of 2-4 GiB must still rotate.
    int64_t sum = static_cast<int64_t>(*log_size) + written;
    if (sum > INT32_MAX) sum = INT32_MAX;
    if (sum >= rotate_threshold_for_test) {
        int r = Rotate();
        *log_size = 0;
        return r;
    }
    *log_size = static_cast<int32_t>(sum);
    return 0;
}

void Logger::ReloadLogFile() {
    Lock();
    ReloadLocked();
    Unlock();
}

int Logger::GetFileSize(std::string const& path) {
    struct stat st;
    if (stat(path.c_str(), &st) != 0) {
        int err = errno;
        PrintToFilePointer("stat(%s): %s (%d)\n", path.c_str(),
                           korvane::utils::ErrnoText(err).c_str(), err);
        return 0;
    }
    if (st.st_size > INT32_MAX) return INT32_MAX;
    return static_cast<int>(st.st_size);
}

uint64_t* Logger::InitializeSharedData() {
    if (log_size != nullptr && log_rotated_count_shared != nullptr) return log_rotated_count_shared;
    DestroySharedData();
    int32_t* size = new (std::nothrow) int32_t(0);
    uint64_t* count = new (std::nothrow) uint64_t(0);
    if (size == nullptr || count == nullptr) {
        delete size;
        delete count;
        return nullptr;
    }
    log_size = size;
    log_rotated_count_shared = count;
    return count;
}

void Logger::DestroySharedData() {
    delete log_size;
    delete log_rotated_count_shared;
    log_size = nullptr;
    log_rotated_count_shared = nullptr;
}

#include "extract/extractor.h"

#include <archive.h>
#include <archive_entry.h>
#include <dirent.h>
#include <errno.h>
#include <locale.h>
#include <sys/stat.h>
#if defined(__APPLE__)
#include <xlocale.h>
#endif

#include <cstdio>
#include <memory>
#include <mutex>
#include <thread>

#include "app/Notify_Adapter.h"
#include "app/StrTable.h"
#include "extract/backup-reuse.h"
#include "extract/deferred-name.h"
#include "extract/link-guard.h"
#include "extract/package-source.h"
#include "extract/quarantine.h"
#include "utils/ErrnoText.h"

#define KLOG_SOURCE "extractor"
#define KLOG_COMPONENT "extractor_debug"
#include "log/LogMacros.h"

namespace {

// libarchive's error text may be null; printf must never see that.
char const* ErrText(struct archive* a) {
    char const* s = archive_error_string(a);
    return s ? s : "";
}

// libarchive's own numbers for a damaged archive and a misuse, no system
// errors (its private header defines them so).
#ifdef EFTYPE
constexpr int kFormatErrno = EFTYPE;
#else
constexpr int kFormatErrno = EILSEQ;
#endif

// A write that fails says why: libarchive keeps the system's error number
// beside its own text ("Write failed", "Can't create '...'").
std::string WithSystemText(struct archive* a) {
    std::string text = ErrText(a);
    int const err = archive_errno(a);
    if (err <= 0 || err == kFormatErrno || err == EINVAL) return text;
    std::string const why = korvane::utils::ErrnoText(err);
    if (text.empty() || why.empty() || text.find(why) != std::string::npos) return text;
    return text + ": " + why;
}

struct ReadFree {
    void operator()(struct archive* a) const { archive_read_free(a); }
};
struct WriteFree {
    void operator()(struct archive* a) const { archive_write_free(a); }
};
using ReadHandle = std::unique_ptr<struct archive, ReadFree>;
using WriteHandle = std::unique_ptr<struct archive, WriteFree>;

constexpr size_t kBlockSize = 10240;
constexpr int kDiskOptions =
    ARCHIVE_EXTRACT_UNLINK | ARCHIVE_EXTRACT_SECURE_NODOTDOT | ARCHIVE_EXTRACT_MAC_METADATA;
static_assert(kDiskOptions == 0x2210, "disk-write options changed");

// A launcher started from the Finder runs in the C locale, where libarchive
// cannot convert UTF-8 entry names and reports every one as a warning. Give
// this thread a UTF-8 LC_CTYPE for the duration of one operation and put the
// previous locale back afterwards.
class ScopedUtf8Ctype {
public:
    ScopedUtf8Ctype() {
        for (char const* name : {"C.UTF-8", "en_US.UTF-8", "UTF-8"}) {
            utf8_ = newlocale(LC_CTYPE_MASK, name, static_cast<locale_t>(nullptr));
            if (utf8_) break;
        }
        if (!utf8_) {
            KLOG(Warning, "No UTF-8 locale available, entry names may not convert\n");
            return;
        }
        previous_ = uselocale(utf8_);
    }
    ~ScopedUtf8Ctype() {
        if (!utf8_) return;
        uselocale(previous_);
        freelocale(utf8_);
    }
    ScopedUtf8Ctype(ScopedUtf8Ctype const&) = delete;
    ScopedUtf8Ctype& operator=(ScopedUtf8Ctype const&) = delete;

private:
    locale_t utf8_ = static_cast<locale_t>(nullptr);
    locale_t previous_ = static_cast<locale_t>(nullptr);
};

// Opens archive_path for reading with every filter and format, or logs
// `fmt` with the handle's error text and returns null.
ReadHandle OpenReader(std::string const& path, struct archive* reader) {
    ReadHandle r(reader);
    archive_read_support_filter_all(reader);
    archive_read_support_format_all(reader);
    if (archive_read_open_filename(reader, path.c_str(), kBlockSize) != ARCHIVE_OK) {
        KLOG(Error, "archive_read_open_filename failed: '%s'\n", ErrText(reader));
        return nullptr;
    }
    return r;
}

// True for a folder that is missing or empty: then nothing below it can be
// in an entry's way but what the extraction itself wrote.
bool MissingOrEmpty(std::string const& dir) {
    DIR* d = opendir(dir.c_str());
    if (!d) return errno == ENOENT;
    bool empty = true;
    for (;;) {
        errno = 0;
        // NOLINTNEXTLINE(concurrency-mt-unsafe): no other thread reads this stream
        struct dirent* e = readdir(d);
        if (!e) {
            empty = empty && errno == 0;  // a failed read proves nothing
            break;
        }
        std::string const name = e->d_name;
        if (name != "." && name != "..") {
            empty = false;
            break;
        }
    }
    closedir(d);
    return empty;
}

// The text a failure reports: the gzip check's verdict where the reader met
// the damage it found (when `source` is given), else libarchive's text for
// `a`, else for `fallback`.
std::string FailureText(PackageSource const* source, struct archive* a,
                        struct archive* fallback = nullptr) {
    std::string text = source ? source->Damage() : std::string();
    if (text.empty()) text = WithSystemText(a);
    if (text.empty() && fallback) text = WithSystemText(fallback);
    return text;
}

Extractor::Hooks g_hooks;  // set by tests before they extract

// Counts the entries on a thread of its own, with a reader of its own, while
// the caller extracts. Reports for entries already on disk wait until the
// total is known and then go out in order, from whichever thread learns of
// the total or the entry last; the lock keeps them in sequence.
class SideCount {
public:
    SideCount(Extractor counter, Extractor::Hooks hooks)
        : thread_([this, counter, hooks]() mutable {
              if (hooks.count_starts) hooks.count_starts();
              int const n = counter.Count();
              std::lock_guard<std::mutex> lock(mu_);
              total_ = n;
              Flush();
          }) {}
    ~SideCount() { Wait(); }
    SideCount(SideCount const&) = delete;
    SideCount& operator=(SideCount const&) = delete;

    // Entry `done` is on disk: its report goes out now or with the total.
    void EntryDone(int done) {
        std::lock_guard<std::mutex> lock(mu_);
        done_ = done;
        Flush();
    }
    // True once the count has ended below 1: the extraction must fail.
    bool Failed() {
        std::lock_guard<std::mutex> lock(mu_);
        return total_ != kCounting && total_ < 1;
    }
    // The count's result, once it has ended.
    int Wait() {
        if (thread_.joinable()) thread_.join();
        std::lock_guard<std::mutex> lock(mu_);
        return total_;
    }

private:
    static constexpr int kCounting = -2;

    // With mu_ held. Never past the total: a disagreement fails at the end.
    void Flush() {
        if (total_ < 1) return;
        while (reported_ < done_ && reported_ < total_)
            Notify_Adapter::GetInstance()->UpdateProgress(total_, ++reported_);
    }

    std::mutex mu_;
    int total_ = kCounting;
    int done_ = 0;
    int reported_ = 0;
    std::thread thread_;  // last: it starts once the members above exist
};

}  // namespace

void Extractor::SetHooks(Hooks hooks) { g_hooks = hooks; }

int Extractor::Count() {
    if (dest_dir.empty() || archive_path.empty()) {
        KLOG(Error, "Invalid argument\n");
        return -1;
    }
    ScopedUtf8Ctype utf8;
    PackageSource source;
    if (!source.Open(archive_path, true)) {
        if (source.allocation_failed())
            KLOG(Error, "Allocate archive failed\n");
        else
            KLOG(Error, "archive_read_open_filename failed: '%s'\n", source.error().c_str());
        return -1;
    }
    // Ends silently at the end or at the first damaged header: a damaged
    // package yields the entries before the damage. Judging the package's
    // bytes is the extraction's business.
    int n = 0;
    struct archive_entry* entry = nullptr;
    while (archive_read_next_header(source.reader(), &entry) == ARCHIVE_OK) {
        ++n;
        archive_read_data_skip(source.reader());
    }
    return n;
}

int Extractor::List() {
    if (dest_dir.empty() || archive_path.empty()) {
        KLOG(Error, "Invalid argument\n");
        return -1;
    }
    ScopedUtf8Ctype utf8;
    struct archive* raw = archive_read_new();
    if (!raw) {
        KLOG(Error, "Allocate archive failed\n");
        return -1;
    }
    ReadHandle reader = OpenReader(archive_path, raw);
    if (!reader) return -1;
    struct archive_entry* entry = nullptr;
    while (archive_read_next_header(reader.get(), &entry) == ARCHIVE_OK) {
        char const* name = archive_entry_pathname(entry);
        std::printf("%s\n", name ? name : "");
        std::fflush(stdout);
        archive_read_data_skip(reader.get());
    }
    archive_read_close(reader.get());
    return 0;
}

int Extractor::Extract() {
    if (archive_path.empty() || dest_dir.empty()) {
        KLOG(Error, "Invalid Argument\n");
        return -1;
    }
    KLOG(Debug, "decompress from '%s' to '%s'\n", archive_path.c_str(), dest_dir.c_str());
    // Mac metadata is written through temporary files, which releases before
    // 3.8.3 put in the working folder: "/" and read-only for a Finder start.
    // Asked once: each call of archive_version_details() leaks its previous
    // string in the releases that Debian 12 ships.
    static std::string const details = archive_version_details();
    KLOG(Debug, "libarchive: %s\n", details.c_str());
    QString label = StrTable::LoadStr(542);
    if (label.contains(QLatin1String("%1")))  // a translation may drop it; arg() would warn
        label = label.arg(StrTable::LoadStr(866));
    Notify_Adapter::GetInstance()->UpdateDialogText(label);

    ScopedUtf8Ctype utf8;
    // The disk writer reads the umask the same way when it is made.
    mode_t const mask = umask(022);
    umask(mask);
    BackupReuse reuse(g_hooks.reuse_backup ? reuse_dir : std::string(), mask);
    // A package that says how many entries it holds is read once; otherwise
    // the entries are counted beside the extraction. An archive whose first
    // header is unreadable fails in the first read below, before anything is
    // written.
    int const declared = declared_entries;
    std::unique_ptr<SideCount> count;
    if (declared < 1)
        count = std::make_unique<SideCount>(*this, g_hooks);
    else
        KLOG(Debug, "the package's description names %d entries: no count\n", declared);
    // Every failure waits for the count. A count that could not open the
    // package or found no entry is the failure, as though it had come first
    // and nothing had been extracted; otherwise the caller logs its own, so
    // that each failure is logged once.
    auto const count_failed = [&count, &reuse] {
        reuse.LogTotals();
        int const total = count ? count->Wait() : 1;
        if (total >= 1) return false;
        KLOG(Error, "Failed to calculate total file numbers, ret: %d\n", total);
        return true;
    };

    PackageSource source;
    if (!source.Open(archive_path)) {
        if (!count_failed()) {
            if (source.allocation_failed())
                KLOG(Error, "Allocate extractor failed\n");
            else
                KLOG(Error, "Failed to read file '%s' ('%s')\n", archive_path.c_str(),
                     source.error().c_str());
        }
        return -1;
    }
    struct archive* const reader = source.reader();
    WriteHandle writer(archive_write_disk_new());
    if (!writer) {
        if (!count_failed()) KLOG(Error, "Allocate extractor failed\n");
        return -1;
    }

    LinkGuard guard(dest_dir, MissingOrEmpty(dest_dir));
    DeferredName last(dest_dir, named_last);
    int done = 1;
    for (;;) {
        if (stop_requested && stop_requested()) {
            reuse.LogTotals();
            KLOG(Warning, "extraction stopped before entry %d: the launcher is asked to end\n",
                 done);
            return -1;
        }
        struct archive_entry* entry = nullptr;
        int r = archive_read_next_header(reader, &entry);
        // Damage that only the gzip check finds at the end (a CRC or length
        // trailer) is met where the next header is looked for.
        if (r == ARCHIVE_EOF && !source.Finish()) r = ARCHIVE_FATAL;
        if (r == ARCHIVE_EOF) {
            // Nothing is installed before the package has ended, sound and in
            // agreement with its count or description.
            if (!count && done - 1 != declared) {
                KLOG(Error, "The package's description names %d entries, the package holds %d\n",
                     declared, done - 1);
                reuse.LogTotals();
                return -1;
            }
            if (count_failed()) return -1;
            int const total = count ? count->Wait() : declared;
            if (total != done - 1) {
                KLOG(Error, "The count found %d entries and the extraction %d\n", total, done - 1);
                return -1;
            }
            if (g_hooks.before_named_last) g_hooks.before_named_last();
            std::string why;
            if (!last.Finish(&why)) {
                KLOG(Error, "failed to name '%s/%s': %s\n", dest_dir.c_str(), named_last.c_str(),
                     why.c_str());
                return -1;
            }
            return 0;
        }
        if (r != ARCHIVE_OK) {
            if (!count_failed())
                KLOG(Error, "archive_read_next_header failed: '%s'\n",
                     FailureText(&source, reader).c_str());
            return -1;
        }
        if (!count && done > declared) {
            KLOG(Error,
                 "The package's description names %d entries, the package holds at least %d\n",
                 declared, done);
            reuse.LogTotals();
            return -1;
        }
        char const* name = archive_entry_pathname(entry);
        if (!name) {
            if (!count_failed()) KLOG(Error, "archive_entry_pathname failed");
            return -1;
        }
        std::string const relative = name;  // `name` goes with the next call
        bool const is_dir = archive_entry_filetype(entry) == AE_IFDIR;
        std::string const path = last.PathFor(relative, is_dir);
        archive_entry_set_pathname(entry, path.c_str());

        // Hard-link targets are archive-relative like the names; left alone,
        // they would resolve against the working directory, or for an
        // absolute target, link to (and with pax data overwrite) a file
        // outside dest_dir.
        std::string link_path;
        if (char const* link = archive_entry_hardlink(entry)) {
            link_path = last.LinkTargetFor(link);
            archive_entry_set_hardlink(entry, link_path.c_str());
        }

        // A symlink stored earlier in the archive must not carry later
        // entries outside dest_dir.
        std::string via = guard.FindLink(path, is_dir);
        if (!via.empty()) {
            if (!count_failed())
                KLOG(Error, "Refusing to extract '%s': '%s' is a symbolic link\n", path.c_str(),
                     via.c_str());
            return -1;
        }
        if (!link_path.empty()) {
            via = guard.FindLink(link_path, true);
            if (!via.empty()) {
                if (!count_failed())
                    KLOG(Error,
                         "Refusing to extract '%s': its link target passes through the symbolic "
                         "link '%s'\n",
                         path.c_str(), via.c_str());
                return -1;
            }
        }
        if (!is_dir) guard.BeforeNonDirectory(path);

        // Unlinking first never writes through what is already there; where
        // nothing can be, it is a failed call per entry.
        archive_write_disk_set_options(writer.get(), guard.MayExist(path)
                                                         ? kDiskOptions
                                                         : kDiskOptions & ~ARCHIVE_EXTRACT_UNLINK);
        quarantine::DropFromEntry(entry);
        if (!link_path.empty() && archive_entry_size(entry) > 0 && !reuse.Unshare(link_path)) {
            count_failed();  // Unshare logged why
            return -1;
        }
        using Outcome = BackupReuse::Outcome;
        Outcome const placed = reuse.Place(reader, entry, relative, path, writer.get());
        bool const on_disk = placed == Outcome::NotTried
                                 ? archive_read_extract2(reader, entry, writer.get()) == ARCHIVE_OK
                                 : placed == Outcome::Reused || placed == Outcome::Written;
        if (!on_disk) {
            // A read failure inside the entry's data is the reader's to tell
            // (archive_read_extract2 hands it a failed write's text too).
            std::string const text = placed == Outcome::NotTried || placed == Outcome::ReadFailed
                                         ? FailureText(&source, reader)
                                         : FailureText(nullptr, writer.get(), reader);
            if (!count_failed()) KLOG(Error, "archive_read_extract2 failed: '%s'\n", text.c_str());
            return -1;
        }
        guard.Wrote(path);
        if (g_hooks.entry_on_disk) g_hooks.entry_on_disk(done);
        if (count) {
            count->EntryDone(done);
            if (count->Failed()) {
                count_failed();
                return -1;
            }
        } else {
            Notify_Adapter::GetInstance()->UpdateProgress(declared, done);
        }
        r = archive_write_finish_entry(writer.get());
        if (r != ARCHIVE_OK) {
            if (!count_failed())
                KLOG(Error, "archive_write_finish_entry failed: '%s'\n",
                     WithSystemText(writer.get()).c_str());
            return -1;
        }
        quarantine::RemoveFromPath(path);
        ++done;
    }
}

int Extractor::copy_data(struct archive* reader, struct archive* writer) {
    if (!reader || !writer) {
        KLOG(Error, "Invalid Argument\n");
        return -1;
    }
    for (;;) {
        void const* buffer = nullptr;
        size_t size = 0;
        la_int64_t offset = 0;
        int r = archive_read_data_block(reader, &buffer, &size, &offset);
        if (r == ARCHIVE_EOF) return 0;
        if (r != ARCHIVE_OK) {
            KLOG(Error, "archive_read_data_block failed: '%s'\n", ErrText(reader));
            return -1;
        }
        if (archive_write_data_block(writer, buffer, size, offset) != ARCHIVE_OK) {
            KLOG(Error, "archive_write_data_block failed: '%s'\n", WithSystemText(writer).c_str());
            return -1;
        }
    }
}

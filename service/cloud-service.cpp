#define KLOG_SOURCE "cloud-service"
#define KLOG_COMPONENT "service_debug"

#include "service/cloud-service.h"

#include <sys/stat.h>
#include <sys/statvfs.h>
#include <unistd.h>

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QSettings>
#include <QTemporaryFile>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>

#include "deskui/UIPathManager.h"
#include "extract/extractor.h"
#include "extract/package-room.h"
#include "fs/file-op-sync.h"
#include "fs/file-op.h"
#include "log/LogMacros.h"
#include "service/deployment-signals.h"
#include "service/install-mark.h"
#include "service/upgrade-room.h"
#include "utils/ErrnoText.h"

namespace {

std::string RegistryPath(char const* key) {
    return UIPathManager::getInstance()->getPath(QString::fromLatin1(key)).toUtf8().toStdString();
}

std::string NativeRegistryPath(char const* key, char const* suffix = "") {
    QString const path = UIPathManager::getInstance()->getPath(QString::fromLatin1(key)) +
                         QString::fromLatin1(suffix);
    return QDir::toNativeSeparators(path).toUtf8().toStdString();
}

constexpr char const* kVersionKeys[] = {"major_version", "minor_version", "build_version",
                                        "icon_overlay_version"};

// The INI reader turns "@Variant(...)" into a Qt object of any registered
// type, GUI types included, and that on the worker thread, for every key of
// a section it parses, also when the text only spells it through escapes
// ("\x40Variant("). Version values are plain text: a version key holding
// such a value voids the file. The reader only ever sees the [Version]
// section as this scan rebuilds it: the version keys whose values hold no
// '@' and no backslash, nothing else. Where the reader and the scan would
// split lines or name sections differently, it can thus see less than the
// file holds, never more.
bool IsVersionKey(QByteArray const& key) {
    for (char const* k : kVersionKeys)
        if (key == k) return true;
    return false;
}

// The [Version] section of an INI text as the reader may see it: `kept`
// receives its header and the plain version key lines. False when a version
// key holds a serialized value.
bool ScanVersionSection(QByteArray text, QByteArray* kept) {
    bool in_version = false;
    bool continued = false;
    // The reader ends a line at a CR as well as at an LF.
    text.replace("\r\n", "\n");
    text.replace('\r', '\n');
    for (QByteArray const& raw : text.split('\n')) {
        QByteArray const line = raw.trimmed();
        bool const continuation = continued;  // of a line that was left out
        continued = line.endsWith('\\');
        if (continuation) continue;
        if (line.startsWith('[')) {
            in_version = line == "[Version]";
            if (in_version) *kept += "[Version]\n";
            continue;
        }
        if (!in_version || line.isEmpty() || line.startsWith(';') || line.startsWith('#')) continue;
        int const eq = line.indexOf('=');
        if (eq <= 0 || !IsVersionKey(line.left(eq).trimmed())) continue;
        QByteArray const value = line.mid(eq + 1);
        if (value.contains("@Variant(")) return false;
        // Escapes and '@' forms are no build number's: left out, not parsed.
        if (!value.contains('@') && !value.contains('\\')) *kept += line + '\n';
    }
    return true;
}

void ReadVersionSettings(QString const& path, VersionInfo& version) {
    QSettings settings(path, QSettings::IniFormat);
    settings.setIniCodec("UTF-8");
    settings.beginGroup(QStringLiteral("Version"));
    std::string* const fields[] = {&version.major_version, &version.minor_version,
                                   &version.build_version, &version.icon_overlay_version};
    for (size_t i = 0; i < 4; ++i) {
        QString const key = QString::fromLatin1(kVersionKeys[i]);
        if (settings.contains(key))
            *fields[i] = settings.value(key).toString().toUtf8().toStdString();
    }
}

void ReadVersionFile(std::string const& path, VersionInfo& version) {
    QString const qpath = QString::fromUtf8(path.c_str());
    QFile file(qpath);
    QByteArray text;
    if (file.open(QIODevice::ReadOnly)) text = file.readAll();
    if (!file.exists()) return;  // no keys, as the reader would find
    text.remove(0, static_cast<int>(packagedesc::Utf8BomLength(text.constData(),
                                                               static_cast<size_t>(text.size()))));
    QByteArray kept;
    if (!ScanVersionSection(text, &kept)) {
        KLOG(Error, "'%s' holds a serialized value, not read\n", path.c_str());
        return;
    }
    // Only the version keys reach the reader.
    QTemporaryFile copy;
    if (!copy.open() || copy.write(kept) != kept.size() || !copy.flush()) {
        KLOG(Error, "'%s' not read: no temporary copy of its [Version] section\n", path.c_str());
        return;
    }
    ReadVersionSettings(copy.fileName(), version);
}

}  // namespace

// Highest first: a crash leaves the lowest names, which the next
// deployment's own backup and clean-up cover.
static void RemoveBackups(std::string const& app, int highest) {
    for (int k = highest; k >= 0; --k) FSRemove(GetAppBackupDir(app, k));
}

std::string GetAppBackupDir(std::string const& app, int attempt) {
    std::string base = app + "_tmp";
    if (attempt == 0) return base;
    char postfix[16];  // room for any int
    int n = snprintf(postfix, sizeof postfix, "%d", attempt);
    if (n < 0 || static_cast<size_t>(n) >= sizeof postfix) {
        KLOG(Error, "snprintf failed (continuing without postfix)");
        return base;
    }
    return base + postfix;
}

namespace {

using installmark::kAtApp;
using installmark::kBackupAttempts;

// The backup that holds the old bundle during a deployment; no path when
// there is no old bundle to fall back on.
struct Backup {
    std::string path;
    int attempt = 0;
};

// Moves the complete bundle at A to the first free backup name, which the
// mark names before the move.
bool SetAside(std::string const& A, std::string const& mark, bool pending, Backup& backup) {
    std::string B;
    for (int n = 0; n < kBackupAttempts; ++n) {
        B = GetAppBackupDir(A, n);
        // An empty folder would be replaced by the rename anyway; a name
        // taken otherwise is tried without naming it in the mark.
        rmdir(B.c_str());
        struct stat st;
        bool const taken = lstat(B.c_str(), &st) == 0;
        if (!taken) {
            if (!installmark::Write(mark, FSBaseName(B))) {
                if (!pending) installmark::Clear(mark);
                return false;
            }
            if (FSRename(A, B, false) == 0) {
                backup = {B, n};
                return true;
            }
        }
        KLOG(Error, "failed to backup app from '%s' -> '%s'\n", A.c_str(), B.c_str());
    }
    KLOG(Error, "failed to backup app from '%s' -> '%s' at max retries, exiting\n", A.c_str(),
         B.c_str());
    // The bundle is still complete at A.
    if (!installmark::Clear(mark)) installmark::Write(mark, FSBaseName(A));
    return false;
}

// A holds no complete bundle: whatever lies there is a fragment of an
// interrupted extraction. The deployment goes on from the backup that holds
// the last complete bundle, or with a mark that says there is none.
bool ClearFragment(std::string const& A, std::string const& mark, installmark::State const& state,
                   Backup& backup) {
    if (state.pending && FSRemove(A) != 0) {
        KLOG(Error, "failed to remove the unfinished installation '%s'\n", A.c_str());
        return false;
    }
    if (state.complete >= 0) {
        backup = {GetAppBackupDir(A, state.complete), state.complete};
        return true;
    }
    if (state.pending && state.marked.empty()) return true;  // the mark says so already
    FSMKDir(FSParentPath(mark), true);  // a first install may find no ~/.Korvane yet
    return installmark::Write(mark, "");
}

// Always -1: the extraction failed.
int RollBack(std::string const& A, std::string const& mark, Backup const& backup) {
    if (backup.path.empty()) {
        KLOG(Error, "Failed to extract package, and no old installation to rollback\n");
        return -1;  // the mark stays: what lies at A is not a complete bundle
    }
    KLOG(Error, "Failed to extract package, rollback to old installation\n");
    if (FSRemove(A) != 0) KLOG(Error, "rollback: failed to remove '%s'\n", A.c_str());
    if (FSRename(backup.path, A, false) != 0) {
        // The mark still names the backup, so the next start restores from there.
        KLOG(Error, "rollback: failed to move '%s' back to '%s'\n", backup.path.c_str(), A.c_str());
        return -1;
    }
    if (!installmark::Clear(mark))
        KLOG(Error, "rollback: failed to remove install mark '%s'\n", mark.c_str());
    return -1;
}

// A signal stopped the deployment: the last complete bundle goes back in as
// few steps as keep the mark true. The part moves aside, for the next start
// to remove; the backup takes its place, and the mark, which names a backup
// that holds no bundle any more, then vouches for it. A first install has
// nothing to put back and stays marked. Always -1.
int PutBack(std::string const& A, std::string const& mark, Backup const& backup) {
    KLOG(Warning, "installation of '%s' stopped by signal %d\n", A.c_str(),
         DeploymentSignals::Caught());
    if (backup.path.empty()) return -1;
    std::string const part = installmark::PartPathFor(A);
    if (IsFileExist(A, false) && FSRename(A, part, false) != 0 && FSRemove(A) != 0) {
        KLOG(Error, "failed to move the unfinished installation '%s' aside\n", A.c_str());
        return -1;  // the mark still names the backup
    }
    if (FSRename(backup.path, A, false) != 0) {
        KLOG(Error, "failed to move '%s' back to '%s'\n", backup.path.c_str(), A.c_str());
        return -1;
    }
    installmark::Clear(mark);
    return -1;
}

// The new bundle is complete: flushed, then named by the mark, so that a
// backup half removed by a crash is never taken for one. The highest backup
// to remove after the launch, or -1 when none is left to remove.
int Commit(std::string const& A, std::string const& mark, Backup const& backup) {
    KLOG(Info, "user installation is ready, removing backup app\n");
    FSSyncTree(A);
    if (!backup.path.empty() && installmark::Write(mark, FSBaseName(A))) return backup.attempt;
    if (installmark::Clear(mark)) RemoveBackups(A, backup.attempt);
    installmark::Clear(mark);
    return -1;
}

}  // namespace

PackageInfo::PackageInfo() {
    std::string const app_dir = QCoreApplication::applicationDirPath().toUtf8().toStdString();
    std::string const home = QDir::homePath().toUtf8().toStdString();
    image_dir = app_dir + "/images";
    log_dir = home + "/.Korvane_log";
    debug_conf_path = app_dir + "/log/launcher.debug";
    package_path = app_dir + "/package/tarnwick.pkv";
    conf_dir = app_dir + "/conf";
}

Service::Service() : timeout(10000) {}

Service::~Service() = default;

void Service::SetTimeout(int value) { timeout = value; }

QString Service::GetUserInstallPath() { return QDir::homePath(); }

std::string Service::InstallMarkPath() const { return installmark::PathFor(app_path); }

void Service::FinishInterruptedCleanup() {
    std::string marked;
    std::string const mark = InstallMarkPath();
    if (!installmark::ReadText(mark, marked) || marked != FSBaseName(app_path)) return;
    // The mark names the bundle only once it is complete: a crash came
    // during the removal of the backups, so finish that instead of
    // reinstalling and stopping the client again.
    if (!IsFileExist(app_path, false)) return;
    KLOG(Warning, "finishing the clean-up of the installation of '%s'\n", app_path.c_str());
    for (int k = kBackupAttempts - 1; k >= 0; --k) FSRemove(GetAppBackupDir(app_path, k));
    installmark::Clear(mark);
}

void Service::RestoreInterruptedDeployment() {
    installmark::State const state = installmark::Read(app_path);
    if (!state.pending || state.complete < 0) return;  // nothing lies in a backup
    std::string const backup = GetAppBackupDir(app_path, state.complete);
    KLOG(Warning, "putting back '%s' from '%s'\n", app_path.c_str(), backup.c_str());
    // The mark names the backup until it is back at its place.
    if (FSRemove(app_path) != 0 || FSRename(backup, app_path, false) != 0) {
        KLOG(Error, "failed to move '%s' back to '%s'\n", backup.c_str(), app_path.c_str());
        return;
    }
    installmark::Clear(InstallMarkPath());
}

bool Service::IsDeploymentPending() const {
    struct stat st;
    return lstat(InstallMarkPath().c_str(), &st) == 0;
}

bool Service::IsBundleComplete() const { return installmark::Read(app_path).vouches_for_app; }

void Service::LoadSourceVersion() {
    std::string const path = RegistryPath("user_korvane_resource_path") + "/INFO";
    if (!IsFileExist(path, false)) {
        KLOG(Info, "source does not exist\n");
        return;
    }
    ReadVersionFile(path, source_version);
    KLOG(Info, "source_version = (%s, %s, %s, %s)\n", source_version.major_version.c_str(),
         source_version.minor_version.c_str(), source_version.build_version.c_str(),
         source_version.icon_overlay_version.c_str());
}

VersionInfo Service::ReadInstalledVersion() const {
    VersionInfo installed;
    ReadVersionFile(RegistryPath("user_korvane_resource_path") + "/INFO", installed);
    return installed;
}

void Service::LoadTargetVersion() {
    std::string const path = RegistryPath("root_resource_path") + "/INFO";
    description_read_ = false;  // the bundle may have changed since the last run
    ReadVersionFile(path, target_version);
    // Such a bundle never upgrades anyone: its vendor must see it.
    if (target_version.build_version.empty())
        KLOG(Error, "'%s' holds no build_version: no upgrade is possible\n", path.c_str());
    KLOG(Info, "target_version = (%s, %s, %s, %s)\n", target_version.major_version.c_str(),
         target_version.minor_version.c_str(), target_version.build_version.c_str(),
         target_version.icon_overlay_version.c_str());
}

int Service::PrepareUserEnv() {
    int r = -1;
    {
        DeploymentSignals const catching;
        r = Deploy();
    }
    DeploymentSignals::EndIfCaught();
    return r;
}

int Service::Deploy() {
    std::string const A = app_path;
    std::string const mark = InstallMarkPath();
    // One deployment as a sequence of states, each recorded by the mark
    // before the folders change:
    //   last complete bundle at A         -> SetAside: to a backup the mark names
    //   ... in a backup (an earlier crash) -> ClearFragment: A removed, backup kept
    //   ... nowhere (a first install)      -> ClearFragment: A removed, mark says none
    //   extracted                          -> Commit: mark names A until the backups go
    //   extraction failed                  -> RollBack: backup back to A, mark cleared
    installmark::State const state = installmark::Read(A);
    if (state.pending) KLOG(Warning, "resuming the unfinished installation of '%s'\n", A.c_str());
    Backup backup;
    bool const ready = state.complete == kAtApp ? SetAside(A, mark, state.pending, backup)
                                                : ClearFragment(A, mark, state, backup);
    if (!ready) return -1;
    old_copy_ = backup.path;
    int const extracted = ExtractPackage();
    old_copy_.clear();
    if (DeploymentSignals::Caught() != 0) return PutBack(A, mark, backup);
    if (extracted != 0) return RollBack(A, mark, backup);
    int const later = Commit(A, mark, backup);
    if (later >= 0) backups_to_remove_ = later;  // after the launch
    return 0;
}

void Service::FinishDeployment() {
    // What a deployment stopped by a signal moved aside, whenever that was.
    std::string const part = installmark::PartPathFor(app_path);
    struct stat st;
    if (lstat(part.c_str(), &st) == 0) {
        KLOG(Warning, "removing '%s', left by an interrupted installation\n", part.c_str());
        FSRemove(part);
    }
    if (backups_to_remove_ < 0) return;
    RemoveBackups(app_path, backups_to_remove_);
    backups_to_remove_ = -1;
    if (!installmark::Clear(InstallMarkPath()))
        KLOG(Error, "failed to remove install mark '%s'\n", InstallMarkPath().c_str());
}

int Service::ExtractPackage() {
    std::string const P = RegistryPath("root_resource_path") + "/package/tarnwick.pkv";
    std::string const D = RegistryPath("user_korvane_app_path");
    if (FSMKDir(D, true) < 0) {
        KLOG(Error, "failed to create folder: '%s'\n", D.c_str());
        return -1;
    }
    KLOG(Info, "extract package: '%s' -> '%s'\n", P.c_str(), D.c_str());
    Extractor extractor;
    extractor.dest_dir = D;
    extractor.archive_path = P;
    extractor.reuse_dir = old_copy_;
    extractor.stop_requested = [] { return DeploymentSignals::Caught() != 0; };
    std::string const ui = RegistryPath("user_korvane_ui_path");
    if (ui.compare(0, D.size() + 1, D + "/") == 0) extractor.named_last = ui.substr(D.size() + 1);
    PackageDescription described;
    if (DescribedPackage(&described))
        extractor.declared_entries = static_cast<int>(described.entries);
    if (extractor.Extract() != 0) return -1;
    // A package without the client would replace a working client with one
    // that can't start: count it as a failed extraction, so the old bundle
    // comes back.
    if (access(ui.c_str(), F_OK) != 0) {
        KLOG(Error, "package '%s' holds no client executable '%s'\n", P.c_str(), ui.c_str());
        return -1;
    }
    return 0;
}

bool Service::PackageFits() {
    std::string const P = RegistryPath("root_resource_path") + "/package/tarnwick.pkv";
    // A description names the bytes already: walking thousands of headers
    // of an uncompressed package would only delay the install.
    PackageDescription described;
    bool const has_description = DescribedPackage(&described);
    packageroom::Measure const m = packageroom::MeasurePackage(P, !has_description);
    if (!m.opened) {
        KLOG(Error, "package '%s' cannot be opened: %s\n", P.c_str(), m.error.c_str());
        return false;
    }
    // The nearest existing folder on the way to the bundle tells the volume.
    std::string folder = FSParentPath(app_path);
    struct statvfs vfs;
    while (statvfs(folder.c_str(), &vfs) != 0) {
        std::string const up = FSParentPath(folder);
        if (up.empty() || up == folder) {
            KLOG(Warning, "free space of '%s' unknown, installing anyway\n", app_path.c_str());
            return true;
        }
        folder = up;
    }
    // Where the package's measure is no bound (xz, a padded gzip stream, or
    // headers left unwalked), its description gives the bytes.
    uint64_t bytes = m.bytes;
    bool const from_description = !m.bound && has_description;
    if (from_description && described.bytes > bytes) bytes = described.bytes;
    uint64_t needed = packageroom::WithMargin(bytes);
    uint64_t const free_bytes = uint64_t{vfs.f_bavail} * uint64_t{vfs.f_frsize};
    KLOG(Debug, "package needs %llu bytes (%s), %llu bytes free in '%s'\n",
         static_cast<unsigned long long>(needed),
         m.bound            ? "bound"
         : from_description ? "described"
                            : "estimate",
         static_cast<unsigned long long>(free_bytes), folder.c_str());
    // Only an upgrade the plain bound refuses pays for reading the package
    // through: the installed client's unchanged files are linked, not written.
    upgraderoom::Walk walk;
    if (needed > free_bytes) RoomAfterReuse(P, folder, vfs, &needed, &walk);
    if (needed > free_bytes) {
        KLOG(Error, "not enough room for the client in '%s': %llu bytes needed, %llu bytes free\n",
             folder.c_str(), static_cast<unsigned long long>(needed),
             static_cast<unsigned long long>(free_bytes));
        refusal_ = Refusal::NoRoom;
        return false;
    }
    // Without a description, a bounded stream bounds its entries too.
    struct stat pst;
    uint64_t const stream =
        !m.bound ? 0 : std::max<uint64_t>(m.bytes, stat(P.c_str(), &pst) == 0 ? pst.st_size : 0);
    uint64_t const entry_bound = has_description ? described.entries
                                 : stream > 0    ? stream / m.least_entry_bytes + 1
                                                 : 0;
    return InodesFit(P, entry_bound, has_description, folder, vfs, &walk);
}

int Service::FSCopyPath(std::string const& src, std::string const& dst) {
    KLOG(Debug, "copy from '%s' to '%s'\n", src.c_str(), dst.c_str());
    _FILE_INFO_tag info;
    if (FSStat(src, info, false) < 0) {
        KLOG(Error, "FSCopyPath: failed to stat source '%s'\n", src.c_str());
        return -1;
    }
    if (!info.exists) {
        KLOG(Error, "FSCopyPath: source path '%s' does not exist\n", src.c_str());
        return -1;
    }
    if (info.type != FILE_TYPE_DIR) return FSCopy(src, dst, false, false) < 0 ? -1 : 0;

    if (FSMKDir(dst, true) < 0) {
        KLOG(Error, "FSCopyPath: failed to create dest folder '%s'\n", dst.c_str());
        return -1;
    }
    DIR_HANDLE handle;
    if (FSOpenDir(src, 0, handle) != 0) {
        // An empty copy of an unreadable folder is no copy: -1, not success.
        KLOG(Warning, "FSCopyPath: failed to create handle  for src '%s' failed\n", src.c_str());
        return -1;
    }
    DIR_ENTRY entry;
    int r;
    while ((r = FSReadDir(handle, entry)) == 1) {
        if (entry.name == "." || entry.name == "..") continue;
        std::string const s = src + "/" + entry.name;
        std::string const d = dst + "/" + entry.name;
        int type = entry.type;
        if (type == FILE_TYPE_NONE) {  // the folder did not say; ask the entry itself
            _FILE_INFO_tag entry_info;
            if (FSStat(s, entry_info, false) == 0) type = entry_info.type;
        }
        int const c = type == FILE_TYPE_DIR ? FSCopyPath(s, d) : FSCopy(s, d, false, false);
        if (c < 0) {
            KLOG(Error, "FSCopyPath: failed to copy from '%s' to '%s'\n", s.c_str(), d.c_str());
            FSCloseDir(handle);
            return -1;
        }
    }
    FSCloseDir(handle);
    if (r < 0) {
        KLOG(Error, "FSCopyPath: failed to read folder '%s'\n", src.c_str());
        return -1;
    }
    return 0;
}

void Service::MigrateService() {
    std::string const O = NativeRegistryPath("user_tarnwick_path");
    std::string const N = NativeRegistryPath("user_korvane_path");
    if (!IsFileExist(N, true) && FSMKDir(N, true) < 0) {
        KLOG(Error, "Failed to create Korvane folder\n");
        return;
    }
    // The data of a predecessor folder stored under another spelling is not
    // the predecessor's to carry over.
    if (!IsFileExist(O, true)) return;
    std::string const OD = NativeRegistryPath("user_tarnwick_path", "/data");
    std::string const ND = NativeRegistryPath("user_korvane_path", "/data");

    if (IsFileExist(OD, true)) {
        if (FSRename(OD, ND, true) < 0) {
            KLOG(Error, "Failed to move data to Korvane folder\n");
            return;  // the data is still there only
        }
    } else if (IsFileExist(OD, false)) {
        // Stored under another spelling ("Data" on a case-insensitive volume):
        // it is not carried over, so it must not go with the folder either.
        KLOG(Warning, "keeping '%s': its data folder is not named '%s'\n", O.c_str(), OD.c_str());
        return;
    }
    if (IsFileExist(O, true) && FSRemove(O) < 0)
        KLOG(Error, "Failed to remove old .Tarnwick folder\n");
}

void Service::RemoveAgedFolders() {
    std::string const OA = RegistryPath("user_tarnwick_path") + "/app";
    KLOG(Info, "removing aged app folder %s\n", OA.c_str());
    FSRemove(OA);
}

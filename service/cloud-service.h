#pragma once
// The upgrade service: version records read from INFO files, deployment of
// the package with backup and rollback, migration of the predecessor's data
// folder and removal of its app folder. Platform services derive from
// Service and supply the upgrade decision, stop and launch.

#include <QString>

#include <cstdint>
#include <string>

#include "extract/package-description.h"

struct statvfs;
namespace upgraderoom {
struct Walk;
}

// Versions from one INFO file ([Version] section), kept as UTF-8 text.
struct VersionInfo {
    std::string major_version;
    std::string minor_version;
    std::string build_version;
    std::string icon_overlay_version;
};

// Fixed locations inside the running launcher's bundle (needs a Qt
// application object for the executable's folder).
struct PackageInfo {
    PackageInfo();

    std::string image_dir;
    std::string log_dir;
    std::string debug_conf_path;
    std::string package_path;
    std::string conf_dir;
};

class Service {
public:
    Service();
    // Virtual operations; the order below is the order of their slots.
    virtual ~Service();
    virtual void StopService() = 0;
    virtual void SetTimeout(int value);
    virtual int HandlePackageUpgrade() = 0;  // 0 success, -1 failure
    virtual void PostUpgrade() = 0;
    virtual void PreUpgrade() = 0;
    virtual bool IsNeedUpgrade() = 0;
    virtual int ExtractPackage();  // 0, or -1
    virtual void LoadSourceVersion();
    virtual void LoadTargetVersion();
    virtual int PrepareUserEnv();  // 0, or -1
    virtual void MigrateService();
    // Whether the last PostUpgrade started a client. A service that cannot
    // tell says it did.
    virtual bool ClientStarted() const { return true; }

    // The user's home folder, on which the per-user paths are built.
    static QString GetUserInstallPath();
    // Recursive copy of a file or folder tree: 0, or -1.
    int FSCopyPath(std::string const& src, std::string const& dst);
    // True when the package opens and the client it holds fits on the
    // volume of the per-user folder; otherwise logs why. Checked before
    // anything is stopped or moved.
    bool PackageFits();
    // False, logged, when the per-user folder cannot be written: checked
    // before anything is stopped, like the room.
    bool CanWriteUserFolder();
    // Why the last upgrade was refused before the stop, where the user can
    // be told: no room (bytes or inodes), or no write access.
    enum class Refusal { None, NoRoom, NoPermission };
    Refusal refusal() const { return refusal_; }
    // The launcher INFO's [Package] section, when it describes the package
    // as it is; otherwise false, with one Warning a run saying why.
    bool DescribedPackage(PackageDescription* out);
    // True when the package may be installed: it fits (PackageFits, when
    // `check_room`) and, when the description names a SHA-256, has it;
    // otherwise logs why. Checked before anything is stopped or moved.
    bool PackageReady(bool check_room);
    // The installed client's versions, read without a log line.
    VersionInfo ReadInstalledVersion() const;
    // Removes the predecessor's app folder; run after every upgrade attempt.
    void RemoveAgedFolders();

    // The file beside the bundle that marks a deployment as unfinished:
    // app_path + ".installing". While it exists the bundle is not to be
    // trusted, whatever its INFO says.
    std::string InstallMarkPath() const;
    bool IsDeploymentPending() const;
    // False while the mark says that the last complete bundle lies in a
    // backup or nowhere: what lies at app_path is then a fragment of an
    // unfinished deployment, never to be started.
    bool IsBundleComplete() const;
    // An unfinished deployment that cannot go on (its package is refused):
    // the last complete bundle goes back from its backup, if it lies in one.
    void RestoreInterruptedDeployment();
    // A crash during the backup clean-up leaves a mark naming the complete
    // bundle: remove the backups and the mark.
    void FinishInterruptedCleanup();
    // Removes the backups of a deployment that PrepareUserEnv completed, and
    // its mark, and the part of a bundle that a deployment stopped by a
    // signal left. Run once the client has been launched: the user need not
    // wait for the old copy to go. The mark names the complete bundle until
    // then, so a crash before the end leaves nothing a later start misreads.
    void FinishDeployment();
    // True while FinishDeployment has an old copy to remove.
    bool HasOldCopy() const { return backups_to_remove_ >= 0; }

    int32_t timeout;
    std::string app_path;  // ~/.Korvane/Korvane.app, UTF-8
    VersionInfo target_version;
    VersionInfo source_version;

    Service(Service const&) = delete;
    Service& operator=(Service const&) = delete;

protected:
    Refusal refusal_ = Refusal::None;

private:
    // PrepareUserEnv's work, while the signals that end a session only ask
    // it to stop.
    int Deploy();
    // The room an upgrade over the installed bundle writes, its unchanged
    // files reused: false when there is no installed bundle or the package
    // cannot be compared.
    bool RoomAfterReuse(std::string const& package, std::string const& folder,
                        struct statvfs const& vfs, uint64_t* needed, upgraderoom::Walk* walk);
    // The entries' inodes, where the volume counts them. `entry_bound` is
    // the entries counted (`exact`) or an upper bound of them, 0 for none.
    bool InodesFit(std::string const& package, uint64_t entry_bound, bool exact,
                   std::string const& folder, struct statvfs const& vfs, upgraderoom::Walk* walk);

    int backups_to_remove_ = -1;  // highest backup index FinishDeployment removes
    std::string old_copy_;        // the backup ExtractPackage may reuse files of
    // DescribedPackage's verdict for a package of description_package_size_.
    bool description_read_ = false;
    bool description_valid_ = false;
    uint64_t description_package_size_ = 0;
    PackageDescription description_;
};

// Backup name for an attempt: app + "_tmp", then app + "_tmp<attempt>" from
// attempt 1 on (all digits, however many).
std::string GetAppBackupDir(std::string const& app, int attempt);

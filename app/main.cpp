// The launcher executable: prepares the process-wide state (locale, plug-in
// path, path registry, log), leaves at once when another launcher of the user
// runs, then starts the UI and lets the Launcher do the upgrade and the launch.

#include <sys/stat.h>
#include <QCoreApplication>
#include <QDir>
#include <QStringList>
#include <QTranslator>

#include <cerrno>
#include <clocale>
#include <cstdio>
#include <string>

#include "app/Startup.h"
#include "app/StrTable.h"
#include "app/launcher.h"
#include "deskui/QtSingleApplication.h"
#include "deskui/UIPathManager.h"
#include "deskui/VeltraneLocale.h"

#define KLOG_SOURCE "main"
#define KLOG_COMPONENT "launcher_debug"
#include "log/LogMacros.h"
#include "utils/ErrnoText.h"

namespace {

QByteArray RegistryUtf8(const char* key) {
    return UIPathManager::getInstance()->getPath(QString::fromLatin1(key)).toUtf8();
}

// mkdir -p: 0, or the error that stopped it.
int MakeFolders(std::string const& path) {
    if (mkdir(path.c_str(), 0777) == 0 || errno == EEXIST) return 0;
    if (errno != ENOENT) return errno;
    size_t const slash = path.find_last_of('/');
    if (slash == std::string::npos || slash == 0) return ENOENT;
    int const up = MakeFolders(path.substr(0, slash));
    if (up != 0) return up;
    return mkdir(path.c_str(), 0777) == 0 || errno == EEXIST ? 0 : errno;
}

}  // namespace

int main(int argc, char** argv) {
    // NOLINTNEXTLINE(concurrency-mt-unsafe): before the first thread starts
    setlocale(LC_ALL, "");
    qInitResources_texts();

    QString const plugin_dir = startup::PluginFolder(argv[0]);
    QCoreApplication::setLibraryPaths(QStringList() << plugin_dir);
    printf("lib path = '%s'\n", plugin_dir.toUtf8().constData());
    fflush(stdout);

    QtSingleApplication app(argc, argv, true);

    startup::RegisterPaths(QDir::homePath(), QCoreApplication::applicationDirPath());

    UIPathManager* paths = UIPathManager::getInstance();
    QString const level_file = paths->getPath(QStringLiteral("root_resource_path")) +
                               QStringLiteral("/log/launcher.debug");
    QString const log_dir =
        paths->getPath(QStringLiteral("user_korvane_path")) + QStringLiteral("/log");
    // Without a log folder the logger says so on standard error and in the
    // system log, and writes there instead.
    std::string const log_folder = log_dir.toUtf8().toStdString();
    int const folder_error = MakeFolders(log_folder);
    Logger::Initialize(Logger::File, log_folder + "/launcher.log",
                       level_file.toUtf8().toStdString(), 50, Logger::ThreadLock);
    if (folder_error != 0)
        KLOG(Warning, "log folder '%s' cannot be made: %s\n", log_folder.c_str(),
             korvane::utils::ErrnoText(folder_error).c_str());
    KLOG(Info, ">>> user_tarnwick_path = %s\n", RegistryUtf8("user_tarnwick_path").constData());
    KLOG(Info, ">>> user_tarnwick_app_path = %s\n",
         RegistryUtf8("user_tarnwick_app_path").constData());
    KLOG(Info, ">>> user_tarnwick_resource_path = %s\n",
         RegistryUtf8("user_tarnwick_resource_path").constData());
    KLOG(Info, ">>> user_tarnwick_data_path = %s\n",
         RegistryUtf8("user_tarnwick_data_path").constData());
    KLOG(Info, ">>> user_tarnwick_working_dir_path = %s\n",
         RegistryUtf8("user_tarnwick_working_dir_path").constData());
    KLOG(Info, ">>> user_tarnwick_korvane_ui_path = %s\n",
         RegistryUtf8("user_tarnwick_korvane_ui_path").constData());
    KLOG(Info, ">>> root_resource_path = %s\n", RegistryUtf8("root_resource_path").constData());

    if (app.isRunning()) {
        KLOG(Debug, "app has already launched, return\n");
        return 0;
    }
    // Without the lock in the per-user folder a stand-in guards the run; with
    // no lock at all the run goes on, the install mark keeping a crash safe.
    QString const lock = QtSingleApplication::lockFilePath(QDir::homePath());
    if (!app.guardError().isEmpty() && app.isGuarded())
        KLOG(Warning, "single-instance lock '%s' unavailable (%s), using '%s'\n",
             lock.toUtf8().constData(), app.guardError().toUtf8().constData(),
             app.lockPath().toUtf8().constData());
    else if (!app.isGuarded())
        KLOG(Warning, "single-instance lock '%s' unavailable (%s), and '%s' too (%s): no guard\n",
             lock.toUtf8().constData(), app.guardError().toUtf8().constData(),
             QtSingleApplication::fallbackLockFilePath(QDir::homePath()).toUtf8().constData(),
             app.fallbackError().toUtf8().constData());
    startup::UiStart const ui =
        startup::StartUserInterface(VeltraneLocale::getInstance()->getDefaultLanguage());
    KLOG(Debug, "ui language = %s, translated = %d, font = %s\n", ui.language.toUtf8().constData(),
         ui.translated ? 1 : 0, ui.font_family.toUtf8().constData());

    auto* launcher = new Launcher;
    launcher->Run();
    launcher->Start();
    int const code = app.exec();
    delete launcher;
    // Installed for the whole run; gone with the application object.
    delete ui.translator;
    return code;
}

#include "app/Startup.h"

#include <QApplication>
#include <QDir>
#include <QFont>
#include <QTranslator>

#include "app/StrTable.h"
#include "deskui/UIPathManager.h"

namespace startup {

QString PluginFolder(const char* argv0) {
    return QDir::cleanPath(QString::fromLocal8Bit(argv0) +
                           QStringLiteral("/../../Frameworks/plugins"));
}

void RegisterPaths(const QString& home, const QString& appdir) {
    struct Entry {
        const char* key;
        const QString& base;
        const char* suffix;
    };
    Entry const entries[] = {
        {"user_korvane_path", home, "/.Korvane"},
        {"user_korvane_app_path", home, "/.Korvane/Korvane.app"},
        {"user_korvane_resource_path", home, "/.Korvane/Korvane.app/Contents/Resources"},
        {"user_korvane_data_path", home, "/.Korvane/data"},
        {"user_korvane_working_dir_path", home, "/.Korvane/Korvane.app/Contents/MacOS"},
        {"user_korvane_ui_path", home, "/.Korvane/Korvane.app/Contents/MacOS/korvane-ui"},
        {"user_tarnwick_path", home, "/.Tarnwick"},
        {"user_tarnwick_resource_path", home, "/.Tarnwick/Tarnwick.app/Contents/Resources"},
        {"root_resource_path", appdir, "/../Resources"},
    };
    UIPathManager* paths = UIPathManager::getInstance();
    for (Entry const& e : entries)
        paths->setPath(QString::fromLatin1(e.key),
                       QDir::cleanPath(e.base + QString::fromLatin1(e.suffix)));
}

UiStart StartUserInterface(const QString& language) {
    UiStart result{language, false, QString(), nullptr};
    // Lives until the process ends once installed.
    auto* translator = new QTranslator(nullptr);
    translator->load(QStringLiteral(":/") + language + QStringLiteral(".qm"), QString(), QString(),
                     QString());
    if (translator->isEmpty()) {
        // No translation for this code: the English source texts show.
        delete translator;
    } else {
        QCoreApplication::installTranslator(translator);
        result.translated = true;
        result.translator = translator;
    }
    StrTable::InitStrTable();
    result.font_family = language == QLatin1String("tha") ? QStringLiteral("Microsoft Sans Serif")
                                                          : QStringLiteral("Arial");
    QApplication::setFont(QFont(result.font_family, 12, -1, false));
    return result;
}

}  // namespace startup

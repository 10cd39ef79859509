#pragma once
// The pieces of the launcher's start-up that hold no logging, split out of
// main so they can be exercised on their own.

#include <QString>

class QTranslator;

namespace startup {

// argv[0] + "/../../Frameworks/plugins", cleaned: <bundle>/Contents/Frameworks/plugins.
QString PluginFolder(const char* argv0);

// Registers the nine per-user and bundle path keys, in their fixed order.
// home: the user's home folder; appdir: the bundle's Contents/MacOS.
void RegisterPaths(const QString& home, const QString& appdir);

struct UiStart {
    QString language;         // the three-letter code asked for
    bool translated;          // a non-empty translator was installed
    QString font_family;      // the application font's family
    QTranslator* translator;  // the installed translator, or nullptr
};

// Translator for `language` (from the compiled-in texts), the string table and
// the application font. Returns what was chosen.
UiStart StartUserInterface(const QString& language);

}  // namespace startup

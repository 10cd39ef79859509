#include "deskui/VeltraneLocale.h"

#include <QStringList>

VeltraneLocale* VeltraneLocale::getInstance() {
    static VeltraneLocale instance;
    return &instance;
}

namespace {

// "" for a language that has no translation file.
QString codeFor(const QLocale& loc) {
    switch (loc.language()) {
        case QLocale::Chinese: {
            if (loc.script() == QLocale::TraditionalHanScript) return QStringLiteral("cht");
            if (loc.script() == QLocale::SimplifiedHanScript) return QStringLiteral("chs");
            switch (loc.country()) {
                case QLocale::Taiwan:
                case QLocale::HongKong:
                case QLocale::Macau: return QStringLiteral("cht");
                default: return QStringLiteral("chs");
            }
        }
        case QLocale::Czech: return QStringLiteral("csy");
        case QLocale::Danish: return QStringLiteral("dan");
        case QLocale::English: return QStringLiteral("enu");
        case QLocale::French: return QStringLiteral("fre");
        case QLocale::German: return QStringLiteral("ger");
        case QLocale::Hungarian: return QStringLiteral("hun");
        case QLocale::Italian: return QStringLiteral("ita");
        case QLocale::Japanese: return QStringLiteral("jpn");
        case QLocale::Korean: return QStringLiteral("krn");
        case QLocale::Dutch: return QStringLiteral("nld");
        // Nynorsk readers are served by the Bokmål translation.
        case QLocale::NorwegianBokmal:
        case QLocale::NorwegianNynorsk: return QStringLiteral("nor");
        case QLocale::Polish: return QStringLiteral("plk");
        case QLocale::Portuguese:
            return loc.country() == QLocale::Brazil ? QStringLiteral("ptb") : QStringLiteral("ptg");
        case QLocale::Russian: return QStringLiteral("rus");
        case QLocale::Spanish: return QStringLiteral("spn");
        case QLocale::Swedish: return QStringLiteral("sve");
        case QLocale::Thai: return QStringLiteral("tha");
        case QLocale::Turkish: return QStringLiteral("trk");
        default: return QString();
    }
}

}  // namespace

QString VeltraneLocale::languageCode(const QLocale& locale) {
    QString const code = codeFor(locale);
    return code.isEmpty() ? QStringLiteral("enu") : code;
}

QString VeltraneLocale::getDefaultLanguage() const {
    // The user's ordered UI languages first (macOS preferences, LANGUAGE on
    // Linux): the first one we have a translation for wins.
    QLocale const sys = QLocale::system();
    for (QString const& name : sys.uiLanguages()) {
        QString const code = codeFor(QLocale(name));
        if (!code.isEmpty()) return code;
    }
    return languageCode(sys);
}

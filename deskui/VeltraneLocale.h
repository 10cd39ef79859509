#pragma once
// The user's UI language as one of the three-letter codes that name the
// compiled-in translation files ("enu", "ger", "chs", ...).

#include <QLocale>
#include <QString>

class VeltraneLocale {
public:
    static VeltraneLocale* getInstance();

    // Code for QLocale::system(); "enu" for any language without a translation.
    QString getDefaultLanguage() const;

    // The mapping itself, for a given locale.
    static QString languageCode(const QLocale& locale);

private:
    VeltraneLocale() = default;
};

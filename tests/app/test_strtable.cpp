#include "app/StrTable.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QFile>
#include <QTranslator>

#include <climits>
#include <cstdlib>
#include <map>

namespace {

struct Row {
    int id;
    const char* key;
    const char* text;
};

// The table as written, to check what InitStrTable builds from it.
const Row kRows[] = {
#define STR(id, key, text) {id, #key, text},
#include "app/strings/strtable.def"
#undef STR
};

const char kReady[] = "%1 is ready.";
const char kInitializing[] = "%1 is initializing...";
const char kClient[] = "Korvane Client";

// What each language shows for the three launcher texts (526, 542; 866 is the
// product name and stays as it is).
const std::map<QString, std::pair<QString, QString>>& Expected() {
    static const std::map<QString, std::pair<QString, QString>> m = {
        {"chs", {"%1 已就绪。", "%1 正在初始化..."}},
        {"cht", {"%1 已就緒。", "%1 正在初始化..."}},
        {"csy", {"%1 je připraven.", "%1 se inicializuje..."}},
        {"dan", {"%1 er klar.", "%1 initialiseres..."}},
        {"enu", {"%1 is ready.", "%1 is initializing..."}},
        {"fre", {"%1 est prêt.", "Initialisation de %1..."}},
        {"ger", {"%1 ist bereit.", "%1 wird initialisiert..."}},
        {"hun", {"%1 készen áll.", "%1 inicializálása folyamatban..."}},
        {"ita", {"%1 è pronto.", "Inizializzazione di %1 in corso..."}},
        {"jpn", {"%1 の準備ができました。", "%1 を初期化しています..."}},
        {"krn", {"%1 준비가 완료되었습니다.", "%1 초기화 중..."}},
        {"nld", {"%1 is gereed.", "%1 wordt geïnitialiseerd..."}},
        {"nor", {"%1 er klar.", "%1 initialiseres..."}},
        {"plk", {"Aplikacja %1 jest gotowa.", "Trwa inicjowanie aplikacji %1..."}},
        {"ptb", {"O %1 está pronto.", "Inicializando o %1..."}},
        {"ptg", {"O %1 está pronto.", "A inicializar o %1..."}},
        {"rus", {"%1 готов к работе.", "Инициализация %1..."}},
        {"spn", {"%1 está listo.", "Inicializando %1..."}},
        {"sve", {"%1 är klar.", "%1 initieras..."}},
        {"tha", {"%1 พร้อมใช้งานแล้ว", "กำลังเริ่มต้น %1..."}},
        {"trk", {"%1 hazır.", "%1 başlatılıyor..."}},
    };
    return m;
}

// Installing a translator needs an application object.
class StrTableTranslated : public ::testing::Test {
protected:
    void SetUp() override { StrTable::InitStrTable(); }
    int argc_ = 1;
    char arg0_[8] = "strtest";
    char* argv_[2] = {arg0_, nullptr};
    QCoreApplication app_{argc_, argv_};
};

// Hands back fixed texts, as a translation file with escapes would.
class FixedTranslator : public QTranslator {
public:
    QString translate(const char* context, const char* source, const char*, int) const override {
        if (qstrcmp(context, "global") == 0 && qstrcmp(source, kInitializing) == 0)
            return QStringLiteral("Zeile eins\\nZeile zwei\\tEnde");
        return QString();
    }
    bool isEmpty() const override { return false; }
};

}  // namespace

TEST(StrTable, EnglishTextsWithoutTranslator) {
    StrTable::InitStrTable();
    EXPECT_EQ(StrTable::LoadStr(866), kClient);
    EXPECT_EQ(StrTable::LoadStr(542), kInitializing);
    EXPECT_EQ(StrTable::LoadStr(526), kReady);
    EXPECT_EQ(StrTable::LoadStr(542).arg(StrTable::LoadStr(866), 0, QLatin1Char(' ')),
              "Korvane Client is initializing...");
}

TEST(StrTable, EveryRowLoadsAndIsFoundByItsKey) {
    StrTable::InitStrTable();
    ASSERT_EQ(sizeof(kRows) / sizeof(kRows[0]), size_t(StrTable::kCount));
    for (const Row& row : kRows) {
        SCOPED_TRACE(row.key);
        QString text = QString::fromUtf8(row.text);
        EXPECT_FALSE(text.isEmpty());
        text.replace("\\n", "\n").replace("\\t", "\t");
        EXPECT_EQ(StrTable::LoadStr(row.id), text);
        // A second key equal up to case would shadow this one.
        EXPECT_EQ(StrTable::LookupStrID(row.key), row.id);
        EXPECT_EQ(StrTable::LookupStrID(QString(row.key).toUpper()), row.id);
    }
}

TEST(StrTable, LookupMatchesWholeKeysIgnoringCase) {
    StrTable::InitStrTable();
    EXPECT_EQ(StrTable::LookupStrID("app_name_korvane_client"), 866);
    EXPECT_EQ(StrTable::LookupStrID("APP_NAME_KORVANE_CLIENT"), 866);
    EXPECT_EQ(StrTable::LookupStrID("nsis_korvane_installed_newer"), 534);
    EXPECT_EQ(StrTable::LookupStrID(""), -1);
    EXPECT_EQ(StrTable::LookupStrID("app_name_korvane"), 630);
    EXPECT_EQ(StrTable::LookupStrID("app_name_korvane_clien"), -1);
    EXPECT_EQ(StrTable::LookupStrID("app_name_korvane_client "), -1);
    EXPECT_EQ(StrTable::LookupStrID("no_such_key"), -1);
}

TEST(StrTable, IdsOutsideTheTableGiveEmptyText) {
    StrTable::InitStrTable();
    for (int id : {-1, StrTable::kCount, StrTable::kCount + 1, INT_MAX, INT_MIN})
        EXPECT_TRUE(StrTable::LoadStr(id).isEmpty()) << id;
    EXPECT_FALSE(StrTable::LoadStr(0).isEmpty());
    EXPECT_FALSE(StrTable::LoadStr(StrTable::kCount - 1).isEmpty());
}

// Runs in a freshly started copy of this program, where nothing has built
// the table yet.
TEST(StrTableDeathTest, NothingIsFoundBeforeInit) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(
        {
            const bool empty = StrTable::LoadStr(866).isEmpty() && StrTable::LoadStr(0).isEmpty() &&
                               StrTable::LookupStrID("app_name_korvane_client") == -1;
            std::exit(empty ? 0 : 1);
        },
        ::testing::ExitedWithCode(0), "");
}

// The resource registers itself: nothing here calls qInitResources_texts().
TEST(TextsResource, EveryLanguageLoadsAndTranslatesTheLauncherTexts) {
    ASSERT_EQ(Expected().size(), 21u);
    for (const auto& lang : Expected()) {
        SCOPED_TRACE(lang.first.toStdString());
        const QString file = ":/" + lang.first + ".qm";
        ASSERT_TRUE(QFile::exists(file));
        QTranslator tr;
        ASSERT_TRUE(tr.load(file, "", "", ""));
        EXPECT_FALSE(tr.isEmpty());
        EXPECT_EQ(tr.translate("global", kReady), lang.second.first);
        EXPECT_EQ(tr.translate("global", kInitializing), lang.second.second);
        EXPECT_EQ(tr.translate("global", kClient), kClient);
        // Rows left untranslated come back empty, so Qt shows the English.
        EXPECT_TRUE(tr.translate("global", "Exit").isEmpty());
    }
    QTranslator unknown;
    EXPECT_FALSE(unknown.load(":/xyz.qm", "", "", ""));
    EXPECT_TRUE(unknown.isEmpty());
}

TEST(TextsResource, ExplicitRegistrationIsHarmless) {
    EXPECT_EQ(qInitResources_texts(), 1);
    QTranslator tr;
    EXPECT_TRUE(tr.load(":/tha.qm", "", "", ""));
}

TEST_F(StrTableTranslated, InstalledTranslatorIsUsed) {
    QTranslator tr;
    ASSERT_TRUE(tr.load(":/ger.qm", "", "", ""));
    ASSERT_TRUE(QCoreApplication::installTranslator(&tr));
    EXPECT_EQ(StrTable::LoadStr(542), QString("%1 wird initialisiert..."));
    EXPECT_EQ(StrTable::LoadStr(866), kClient);
    EXPECT_EQ(StrTable::LoadStr(27), "Exit");  // untranslated row: English
    QCoreApplication::removeTranslator(&tr);
    EXPECT_EQ(StrTable::LoadStr(542), kInitializing);
}

TEST_F(StrTableTranslated, EscapesInTranslationsBecomeLineBreaksAndTabs) {
    FixedTranslator tr;
    ASSERT_TRUE(QCoreApplication::installTranslator(&tr));
    EXPECT_EQ(StrTable::LoadStr(542), "Zeile eins\nZeile zwei\tEnde");
    QCoreApplication::removeTranslator(&tr);
}

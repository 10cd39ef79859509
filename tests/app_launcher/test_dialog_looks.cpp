// The dialog as it is drawn, in a light and in a dark system appearance and
// in every language: its texts stay readable on its face, whole, and in
// glyphs the machine's fonts have. What it drew is saved to the build folder
// (dialog-renderings/) for a person to look at.

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <QApplication>
#include <QGlyphRun>
#include <QImage>
#include <QLabel>
#include <QProgressBar>
#include <QRawFont>
#include <QTextLayout>
#include <QTranslator>
#include <QtTest/QTest>

#include <algorithm>
#include <cmath>
#include <iostream>
#include <map>
#include <string>
#include <vector>

#include "app/Notify_Adapter.h"
#include "app/ProcessingProgressDialog.h"
#include "app/Startup.h"
#include "app/StrTable.h"
#include "app/launcher.h"
#include "deskui/UIPathManager.h"
#include "service/cloud-service.h"
#include "tests/app_launcher/QtTestApp.h"
#include "tests/support/TestSupport.h"

namespace {

using launchertest::App;
using launchertest::BuildDir;

// Only the launcher's dialog is used here; the worker is never started.
class IdleService : public Service {
public:
    void StopService() override {}
    int HandlePackageUpgrade() override { return 0; }
    void PostUpgrade() override {}
    void PreUpgrade() override {}
    bool IsNeedUpgrade() override { return false; }
};

// WCAG 2 relative luminance and contrast ratio.
double Luminance(QRgb c) {
    auto channel = [](int v) {
        double const s = v / 255.0;
        return s <= 0.03928 ? s / 12.92 : std::pow((s + 0.055) / 1.055, 2.4);
    };
    return 0.2126 * channel(qRed(c)) + 0.7152 * channel(qGreen(c)) + 0.0722 * channel(qBlue(c));
}
double Contrast(QRgb a, QRgb b) {
    double const la = Luminance(a), lb = Luminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

// The system palettes of macOS's two appearances, as Qt's Cocoa theme builds
// them (control text is white or black at 85 % over the window colour).
QPalette MacPalette(bool dark) {
    QPalette p(dark ? QColor(50, 50, 50) : QColor(236, 236, 236));
    auto all = [&p](QPalette::ColorRole role, QColor const& c) {
        for (auto g : {QPalette::Active, QPalette::Inactive}) p.setColor(g, role, c);
    };
    all(QPalette::Window, dark ? QColor(50, 50, 50) : QColor(236, 236, 236));
    all(QPalette::WindowText, dark ? QColor(223, 223, 223) : QColor(38, 38, 38));
    all(QPalette::Button, dark ? QColor(50, 50, 50) : QColor(236, 236, 236));
    all(QPalette::ButtonText, dark ? QColor(223, 223, 223) : QColor(38, 38, 38));
    all(QPalette::Base, dark ? QColor(30, 30, 30) : QColor(255, 255, 255));
    all(QPalette::Text, dark ? QColor(255, 255, 255) : QColor(0, 0, 0));
    all(QPalette::Highlight, dark ? QColor(63, 99, 139) : QColor(179, 215, 255));
    all(QPalette::HighlightedText, dark ? QColor(255, 255, 255) : QColor(0, 0, 0));
    p.setColor(QPalette::Disabled, QPalette::WindowText,
               dark ? QColor(110, 110, 110) : QColor(160, 160, 160));
    return p;
}

// The colour that covers most of `area`: the face the text is drawn on.
QRgb Face(QImage const& img, QRect const& area) {
    std::map<QRgb, int> count;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x) ++count[img.pixel(x, y)];
    return std::max_element(count.begin(), count.end(),
                            [](auto const& a, auto const& b) { return a.second < b.second; })
        ->first;
}

struct Ink {
    double contrast = 1.0;  // of the strongest text pixel against the face
    int pixels = 0;         // that differ from the face
    QRect box;              // around them, in `area`'s coordinates
};
Ink MeasureInk(QImage const& img, QRect const& area, QRgb face) {
    Ink ink;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x) {
            QRgb const c = img.pixel(x, y);
            if (c == face) continue;
            ++ink.pixels;
            ink.contrast = std::max(ink.contrast, Contrast(c, face));
            ink.box |= QRect(x - area.left(), y - area.top(), 1, 1);
        }
    return ink;
}

// Characters the label's font and its fallbacks have no glyph for: they
// would show as boxes.
int MissingGlyphs(QString const& text, QFont const& font) {
    QTextLayout layout(text, font);
    layout.beginLayout();
    layout.createLine();
    layout.endLayout();
    int missing = 0;
    for (QGlyphRun const& run : layout.glyphRuns())
        for (quint32 const index : run.glyphIndexes())
            if (index == 0) ++missing;
    return missing;
}

// The label's text laid out in the label's own way fits its rectangle.
bool Fits(QLabel const* label) {
    QRect const room = label->contentsRect();
    int const flags = static_cast<int>(label->alignment()) |
                      (label->wordWrap() ? static_cast<int>(Qt::TextWordWrap) : 0);
    QRect const need = label->fontMetrics().boundingRect(room, flags, label->text());
    return room.contains(need);
}

TEST(DialogLooks, ReadableAndWholeInBothAppearancesAndEveryLanguage) {
    App();
    qInitResources_texts();
    testsupport::TempDir tmp("korvane-looks");
    // The icon is not drawn inside the window: none is needed.
    UIPathManager::getInstance()->setPath(QStringLiteral("root_resource_path"),
                                          QString::fromStdString(tmp / "Resources"));
    Notify_Adapter::GetInstance();
    std::string const out = BuildDir() + "/dialog-renderings";
    ASSERT_TRUE(testsupport::MakeDirs(out));

    char const* codes[] = {"chs", "cht", "csy", "dan", "enu", "fre", "ger",
                           "hun", "ita", "jpn", "krn", "nld", "nor", "plk",
                           "ptb", "ptg", "rus", "spn", "sve", "tha", "trk"};
    QString const saved[] = {"enu", "ger", "jpn", "chs", "krn", "tha"};
    QPalette const before = QApplication::palette();
    for (bool const dark : {false, true}) {
        char const* appearance = dark ? "dark" : "light";
        QApplication::setPalette(MacPalette(dark));
        double lowest = 1e9, lowest_bar = 1e9;
        std::string lowest_code;
        for (char const* code : codes) {
            SCOPED_TRACE(std::string(appearance) + " " + code);
            QString const c = QString::fromLatin1(code);
            QTranslator reference;
            ASSERT_TRUE(reference.load(":/" + c + ".qm", "", "", ""));
            QString const title = reference.translate("global", "Korvane Client");
            ASSERT_FALSE(title.isEmpty());
            QString const labels[] = {
                reference.translate("global", "%1 is initializing...").arg(title),
                reference.translate("global", "%1 is ready.").arg(title)};

            startup::UiStart const ui = startup::StartUserInterface(c);
            ASSERT_NE(ui.translator, nullptr);
            if (c != "tha") {
                // Measuring means nothing in a font of other widths.
                EXPECT_EQ(QFontInfo(QApplication::font()).family(), "Liberation Sans")
                    << "no Arial-metric font (Debian package fonts-liberation, scripts/setup.sh)";
            }
            {
                Launcher launcher(new Worker(new IdleService));
                ProcessingProgressDialog* d = launcher.dialog();
                EXPECT_EQ(d->windowTitle(), title);
                EXPECT_EQ(d->size(), QSize(400, 80));
                d->show();
                ASSERT_TRUE(QTest::qWaitForWindowExposed(d));
                auto* label = d->findChild<QLabel*>();
                auto* bar = d->findChild<QProgressBar*>();
                ASSERT_NE(label, nullptr);
                ASSERT_NE(bar, nullptr);
                struct Row {
                    QString text;
                    int value;
                } const rows[] = {{labels[0], 0}, {labels[1], 100}};
                for (Row const& row : rows) {
                    SCOPED_TRACE(row.text.toStdString());
                    d->setLabelText(row.text);
                    d->setValue(row.value);
                    QCoreApplication::processEvents();
                    EXPECT_EQ(label->text(), row.text);
                    EXPECT_EQ(MissingGlyphs(row.text, label->font()), 0) << "characters as boxes";
                    EXPECT_TRUE(Fits(label))
                        << "cut in " << label->width() << "x" << label->height();

                    QImage const img = d->grab().toImage();
                    QRect const area = label->geometry();
                    QRgb const face = Face(img, area);
                    EXPECT_EQ(face, QColor("WhiteSmoke").rgb()) << "the sheet's face";
                    Ink const ink = MeasureInk(img, area, face);
                    EXPECT_GT(ink.pixels, 40) << "no text drawn";
                    EXPECT_GE(ink.contrast, 4.5);
                    // Nothing drawn reaches an edge of the label's rectangle.
                    EXPECT_TRUE(QRect(1, 1, area.width() - 2, area.height() - 2).contains(ink.box))
                        << "text at the label's edge";
                    if (ink.contrast < lowest) {
                        lowest = ink.contrast;
                        lowest_code = code;
                    }
                    if (row.value == 0) {
                        // The bar's "0%", inside its groove's border.
                        QRect const groove = bar->geometry().adjusted(3, 3, -3, -3);
                        Ink const percent = MeasureInk(img, groove, Face(img, groove));
                        EXPECT_GT(percent.pixels, 10) << "the bar draws no text";
                        EXPECT_GE(percent.contrast, 4.5) << "the bar's text";
                        lowest_bar = std::min(lowest_bar, percent.contrast);
                    }
                }
                if (std::find(std::begin(saved), std::end(saved), c) != std::end(saved)) {
                    d->setLabelText(labels[0]);
                    d->setValue(37);
                    QCoreApplication::processEvents();
                    std::string const png = out + "/dialog-" + appearance + "-" + code + ".png";
                    EXPECT_TRUE(d->grab().save(QString::fromStdString(png))) << png;
                }
                d->hide();
            }
            QCoreApplication::removeTranslator(ui.translator);
            delete ui.translator;
        }
        RecordProperty(std::string("lowest_contrast_") + appearance, std::to_string(lowest));
        RecordProperty(std::string("lowest_bar_contrast_") + appearance,
                       std::to_string(lowest_bar));
        std::cout << appearance << " appearance: lowest contrast of the label " << lowest
                  << " : 1 (" << lowest_code << "), of the bar's text " << lowest_bar << " : 1\n";
    }
    QApplication::setPalette(before);
}

}  // namespace

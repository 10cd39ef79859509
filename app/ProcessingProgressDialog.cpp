#include "app/ProcessingProgressDialog.h"

#include <QApplication>
#include <QIcon>
#include <QPalette>
#include <QWidget>

#include "app/StrTable.h"
#include "deskui/DPIinfo.h"
#include "deskui/UIPathManager.h"

namespace {
const char kStyleSheet[] =
    "QProgressDialog { background-color: WhiteSmoke; vertical-align: middle; }";

// The sheet paints the face WhiteSmoke in every appearance, but in Dark Mode
// the system's text colours are light and all but vanish on it. The texts
// take the colours of a light face instead (dark text, light bar groove);
// only the accent pair stays the system's.
QPalette FacePalette(QPalette const& system) {
    QPalette face(QColor(QStringLiteral("WhiteSmoke")));
    for (QPalette::ColorGroup const group :
         {QPalette::Active, QPalette::Inactive, QPalette::Disabled})
        for (QPalette::ColorRole const role : {QPalette::Highlight, QPalette::HighlightedText})
            face.setBrush(group, role, system.brush(group, role));
    return face;
}
}  // namespace

ProcessingProgressDialog::ProcessingProgressDialog() : QProgressDialog(nullptr, Qt::WindowFlags()) {
    QFont const font = QApplication::font();
    QString const icon_path =
        UIPathManager::getInstance()->getPath(QStringLiteral("root_resource_path")) +
        QStringLiteral("/images/ico_72_tarnwick.png");

    setWindowTitle(StrTable::LoadStr(866));
    // A missing icon file gives an empty icon; the dialog opens without one.
    setWindowIcon(QIcon(icon_path));
    setWindowFlags(Qt::WindowTitleHint | Qt::WindowSystemMenuHint);
    setValue(0);
    setRange(0, 100);
    setLabelText(StrTable::LoadStr(542).arg(StrTable::LoadStr(866), 0, QLatin1Char(' ')));
    setFont(font);
    setModal(true);
    setWindowModality(Qt::WindowModal);
    setFixedSize(static_cast<int>(DPIinfo::getInstance()->getDPI() * 400.0),
                 static_cast<int>(DPIinfo::getInstance()->getDPI() * 80.0));
    // Under a style sheet a palette is not handed down to child widgets:
    // the label and the bar take it themselves.
    QPalette const face = FacePalette(palette());
    setPalette(face);
    for (QWidget* part : findChildren<QWidget*>()) part->setPalette(face);
    setStyleSheet(DPIinfo::getInstance()->getScaledStyleSheet(QString::fromLatin1(kStyleSheet)));
}

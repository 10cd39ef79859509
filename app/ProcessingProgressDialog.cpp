#include "app/ProcessingProgressDialog.h"

#include <QApplication>
#include <QIcon>

#include "app/StrTable.h"
#include "deskui/DPIinfo.h"
#include "deskui/UIPathManager.h"

namespace {
const char kStyleSheet[] =
    "QProgressDialog { background-color: WhiteSmoke; vertical-align: middle; }";
}

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
    setStyleSheet(DPIinfo::getInstance()->getScaledStyleSheet(QString::fromLatin1(kStyleSheet)));
}

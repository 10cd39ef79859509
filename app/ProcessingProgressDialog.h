#pragma once
// The launcher's only window: a fixed-size progress dialog with a title, an
// icon, one label and a bar from 0 to 100, shown while the per-user client is
// installed or upgraded.

#include <QProgressDialog>

class ProcessingProgressDialog : public QProgressDialog {
    Q_OBJECT
public:
    ProcessingProgressDialog();
};

#pragma once
// The scaling that widgets sized in fixed pixels need beyond what Qt does.

#include <QString>

class DPIinfo {
public:
    static DPIinfo* getInstance();

    // 1.0: Qt already scales widget units to the screen's pixels.
    double getDPI() const;
    // The sheet adjusted to the scale factor. Our sheets hold no sizes, so
    // this returns it unchanged.
    QString getScaledStyleSheet(QString sheet) const;

private:
    DPIinfo() = default;
};

#pragma once
// Scale factor of the primary screen, for widgets sized in fixed pixels.

#include <QString>

class DPIinfo {
public:
    static DPIinfo* getInstance();

    // Device pixel ratio of the primary screen; 1.0 when no screen is known.
    double getDPI() const;
    // The sheet adjusted to the scale factor. Our sheets hold no sizes, so
    // this returns it unchanged.
    QString getScaledStyleSheet(QString sheet) const;

private:
    DPIinfo() = default;
};

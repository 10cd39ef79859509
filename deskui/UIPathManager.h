#pragma once
// Process-wide table of named paths. Filled at start-up before any other
// thread runs, then only read; reads from several threads are safe.

#include <QHash>
#include <QReadWriteLock>
#include <QString>

class UIPathManager {
public:
    static UIPathManager* getInstance();

    // Stores or replaces the path registered under key.
    void setPath(const QString& key, const QString& path);
    // The path last stored under key, or "" for an unregistered key.
    QString getPath(const QString& key) const;

private:
    UIPathManager() = default;
    UIPathManager(const UIPathManager&) = delete;
    UIPathManager& operator=(const UIPathManager&) = delete;

    mutable QReadWriteLock lock_;
    QHash<QString, QString> paths_;
};

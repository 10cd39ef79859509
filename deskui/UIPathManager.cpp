#include "deskui/UIPathManager.h"

#include <QReadLocker>
#include <QWriteLocker>

UIPathManager* UIPathManager::getInstance() {
    static UIPathManager instance;
    return &instance;
}

void UIPathManager::setPath(const QString& key, const QString& path) {
    QWriteLocker guard(&lock_);
    paths_.insert(key, path);
}

QString UIPathManager::getPath(const QString& key) const {
    QReadLocker guard(&lock_);
    return paths_.value(key);
}

#include "app/Notify_Adapter.h"

Notify_Adapter* Notify_Adapter::GetInstance() {
    static Notify_Adapter instance;  // thread-safe init, destroyed at exit
    return &instance;
}

void Notify_Adapter::UpdateProgress(int total, int current) {
    emit sigUpdateProgress(total, current);
}

void Notify_Adapter::UpdateDialogText(QString text) { emit sigUpdateDialogText(text); }

#include "dbus/copy_service.h"

#include <QPointer>
#include <QTimer>

#include "dbus/app_id.h"
#include "window/main_window.h"

namespace bbcolour::desktop {

CopyService::CopyService(NotificationLabel* label, int hotkeyId, QObject* parent)
    : QObject(parent), label_(label), hotkeyId_(hotkeyId) {}

bool CopyService::Publish(QDBusConnection bus) {
    return bus.isConnected() && bus.registerObject(kCopyObjectPath, this, QDBusConnection::ExportScriptableSlots) &&
           bus.registerService(kAppId);
}

void CopyService::Copy() {
    // The confirmation box is modal: shown from here it would hold the
    // caller's reply until the user closes it.
    QTimer::singleShot(0, this, [label = QPointer<NotificationLabel>(label_), id = hotkeyId_] {
        if (label) label->Notify(id, 0);
    });
}

}  // namespace bbcolour::desktop

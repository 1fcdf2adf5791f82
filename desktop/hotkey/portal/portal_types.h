// D-Bus types of the desktop portal's GlobalShortcuts interface.
#pragma once

#include <QDBusArgument>
#include <QDBusMetaType>
#include <QList>
#include <QMetaType>
#include <QString>
#include <QVariantMap>

namespace bbcolour::desktop {

inline constexpr char kPortalService[] = "org.freedesktop.portal.Desktop";
inline constexpr char kPortalPath[] = "/org/freedesktop/portal/desktop";
inline constexpr char kGlobalShortcuts[] = "org.freedesktop.portal.GlobalShortcuts";
inline constexpr char kPortalRequest[] = "org.freedesktop.portal.Request";

// One entry of a(sa{sv}): a shortcut's id and its properties
// (description, preferred_trigger, trigger_description).
struct PortalShortcut {
    QString id;
    QVariantMap properties;
};
using PortalShortcutList = QList<PortalShortcut>;

inline QDBusArgument& operator<<(QDBusArgument& out, const PortalShortcut& shortcut) {
    out.beginStructure();
    out << shortcut.id << shortcut.properties;
    out.endStructure();
    return out;
}

inline const QDBusArgument& operator>>(const QDBusArgument& in, PortalShortcut& shortcut) {
    in.beginStructure();
    in >> shortcut.id >> shortcut.properties;
    in.endStructure();
    return in;
}

// The object path of the request that `sender` (a unique bus name) makes
// with `token`, as the portal names it.
inline QString PortalRequestPath(QString sender, const QString& token) {
    sender.remove(0, sender.startsWith(':') ? 1 : 0).replace('.', '_');
    return QStringLiteral("/org/freedesktop/portal/desktop/request/%1/%2").arg(sender, token);
}

}  // namespace bbcolour::desktop

Q_DECLARE_METATYPE(bbcolour::desktop::PortalShortcut)
Q_DECLARE_METATYPE(bbcolour::desktop::PortalShortcutList)

namespace bbcolour::desktop {
inline void RegisterPortalTypes() {
    qDBusRegisterMetaType<PortalShortcut>();
    qDBusRegisterMetaType<PortalShortcutList>();
}
}  // namespace bbcolour::desktop

// F2 through the desktop portal's GlobalShortcuts interface, for Wayland
// sessions (also when the window itself runs through XWayland).
#pragma once

#include <QDBusConnection>
#include <QDBusObjectPath>
#include <QObject>

#include "hotkey/hotkey_backend.h"
#include "hotkey/portal/portal_types.h"

namespace bbcolour::desktop {

class PortalHotkey : public QObject, public HotkeyBackend {
    Q_OBJECT
public:
    explicit PortalHotkey(QDBusConnection bus);
    // True when the portal answers and opens the session request; the user
    // then approves the shortcut in the desktop's own dialog. A portal that
    // is missing, fails or stays silent gives false.
    bool Register(unsigned keysym, std::function<void()> pressed) override;

private slots:
    void OnSessionCreated(uint response, const QVariantMap& results);
    void OnShortcutsListed(uint response, const QVariantMap& results);
    void OnActivated(const QDBusObjectPath& session, const QString& shortcut, qulonglong timestamp,
                     const QVariantMap& options);

private:
    // Asks the portal to bind F2, once per session.
    void BindShortcuts();
    PortalShortcutList Shortcuts() const;

    QDBusConnection bus_;
    QString trigger_;
    QString session_;
    std::function<void()> pressed_;
    bool bindAsked_ = false;
};

}  // namespace bbcolour::desktop

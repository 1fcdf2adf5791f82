#include "hotkey/portal/portal_hotkey.h"

#include <QDBusMessage>
#include <QDBusMetaType>
#include <QDBusPendingCallWatcher>
#include <QDBusReply>

#include "hotkey/portal/portal_types.h"

namespace bbcolour::desktop {

namespace {
constexpr char kShortcutId[] = "copy";
constexpr int kPortalTimeoutMs = 3000;  // a silent portal must not hold up start-up

// X keysyms of the function keys, as the portal's trigger names them.
QString TriggerName(unsigned keysym) {
    if (keysym >= 0xFFBE && keysym <= 0xFFD5) return QStringLiteral("F%1").arg(keysym - 0xFFBE + 1);
    return {};
}
}  // namespace

PortalHotkey::PortalHotkey(QDBusConnection bus) : bus_(std::move(bus)) { RegisterPortalTypes(); }

bool PortalHotkey::Register(unsigned keysym, std::function<void()> pressed) {
    trigger_ = TriggerName(keysym);
    if (!bus_.isConnected() || trigger_.isEmpty()) return false;
    pressed_ = std::move(pressed);
    // Listen for the answer before asking: it may come at once.
    const QString token = QStringLiteral("bbcolour_session");
    bus_.connect(kPortalService, PortalRequestPath(bus_.baseService(), token), kPortalRequest, "Response", this,
                 SLOT(OnSessionCreated(uint, QVariantMap)));
    QDBusMessage call = QDBusMessage::createMethodCall(kPortalService, kPortalPath, kGlobalShortcuts, "CreateSession");
    // KDE's backend of Plasma 5.27 binds only what CreateSession names; the
    // backends that follow the documented portal interface ignore it and bind through
    // BindShortcuts below.
    call << QVariantMap{{"handle_token", token},
                        {"session_handle_token", QStringLiteral("bbcolour")},
                        {"shortcuts", QVariant::fromValue(Shortcuts())}};
    const QDBusMessage reply = bus_.call(call, QDBus::Block, kPortalTimeoutMs);
    return reply.type() == QDBusMessage::ReplyMessage;
}

void PortalHotkey::OnSessionCreated(uint response, const QVariantMap& results) {
    if (response != 0 || !session_.isEmpty()) return;
    session_ = results.value("session_handle").value<QString>();
    if (session_.isEmpty()) session_ = results.value("session_handle").value<QDBusObjectPath>().path();
    if (session_.isEmpty()) return;
    bus_.connect(kPortalService, kPortalPath, kGlobalShortcuts, "Activated", this,
                 SLOT(OnActivated(QDBusObjectPath, QString, qulonglong, QVariantMap)));
    // Ask what the session already has: binding what is bound would only
    // make a desktop open its shortcut settings (KDE 5.27 does, at every start).
    const QString token = QStringLiteral("bbcolour_list");
    bus_.connect(kPortalService, PortalRequestPath(bus_.baseService(), token), kPortalRequest, "Response", this,
                 SLOT(OnShortcutsListed(uint, QVariantMap)));
    QDBusMessage call = QDBusMessage::createMethodCall(kPortalService, kPortalPath, kGlobalShortcuts, "ListShortcuts");
    call << QVariant::fromValue(QDBusObjectPath(session_)) << QVariantMap{{"handle_token", token}};
    auto* watcher = new QDBusPendingCallWatcher(bus_.asyncCall(call), this);
    connect(watcher, &QDBusPendingCallWatcher::finished, this, [this](QDBusPendingCallWatcher* w) {
        if (w->isError()) BindShortcuts();  // a portal without ListShortcuts
        w->deleteLater();
    });
}

void PortalHotkey::OnShortcutsListed(uint response, const QVariantMap& results) {
    if (bindAsked_) return;
    if (response == 0) {
        PortalShortcutList listed;
        const QVariant value = results.value("shortcuts");
        if (value.canConvert<QDBusArgument>()) listed = qdbus_cast<PortalShortcutList>(value.value<QDBusArgument>());
        for (const PortalShortcut& shortcut : listed)
            if (shortcut.id == QLatin1String(kShortcutId)) return;  // bound already
    }
    BindShortcuts();
}

void PortalHotkey::BindShortcuts() {
    if (bindAsked_) return;
    bindAsked_ = true;
    QDBusMessage call = QDBusMessage::createMethodCall(kPortalService, kPortalPath, kGlobalShortcuts, "BindShortcuts");
    call << QVariant::fromValue(QDBusObjectPath(session_)) << QVariant::fromValue(Shortcuts()) << QString()
         << QVariantMap{{"handle_token", QStringLiteral("bbcolour_bind")}};
    bus_.asyncCall(call);  // the user may take a while to approve; a refusal is silent
}

PortalShortcutList PortalHotkey::Shortcuts() const {
    return {{kShortcutId,
             {{"description", QStringLiteral("Copy the colour code (复制彩色代码)")}, {"preferred_trigger", trigger_}}}};
}

void PortalHotkey::OnActivated(const QDBusObjectPath& session, const QString& shortcut, qulonglong,
                               const QVariantMap&) {
    if (session.path() == session_ && shortcut == QLatin1String(kShortcutId) && pressed_) pressed_();
}

}  // namespace bbcolour::desktop

// Test helper: a stand-in desktop portal with GlobalShortcuts on the session
// bus it is given, as the documented portal interface describes it (the "shortcuts"
// option of CreateSession is not part of it and is ignored). Mode "ok"
// answers like a portal whose user approves,
// "error" fails every call, "silent" never answers. Prints "ready" once on
// the bus. The test drives it on /control: Trigger() tells the preferred
// trigger asked for, Press() sends Activated for it.
#include <QCoreApplication>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusObjectPath>
#include <QTimer>
#include <cstdio>

#include "hotkey/portal/portal_types.h"

using namespace bbcolour::desktop;

class Portal : public QObject {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.portal.GlobalShortcuts")
public:
    explicit Portal(QString mode) : mode_(std::move(mode)) {}
    QString session, trigger, shortcutId;

public slots:
    QDBusObjectPath CreateSession(const QVariantMap& options, const QDBusMessage& call) {
        if (!Answer(call)) return {};
        session = "/org/freedesktop/portal/desktop/session/" + QString(call.service()).remove(':').replace('.', '_') +
                  "/" + options.value("session_handle_token").toString();
        return Respond(call, options, {{"session_handle", session}});
    }
    QDBusObjectPath BindShortcuts(const QDBusObjectPath&, const QList<bbcolour::desktop::PortalShortcut>& shortcuts,
                                  const QString&,
                                  const QVariantMap& options, const QDBusMessage& call) {
        if (!Answer(call)) return {};
        if (!shortcuts.isEmpty()) {
            shortcutId = shortcuts.first().id;
            trigger = shortcuts.first().properties.value("preferred_trigger").toString();
        }
        return Respond(call, options, {});
    }

    // What documented backends answer: the shortcuts bound so far.
    QDBusObjectPath ListShortcuts(const QDBusObjectPath&, const QVariantMap& options, const QDBusMessage& call) {
        if (!Answer(call)) return {};
        PortalShortcutList bound;
        if (!shortcutId.isEmpty()) bound.append({shortcutId, {{"trigger_description", trigger}}});
        return Respond(call, options, {{"shortcuts", QVariant::fromValue(bound)}});
    }

private:
    // False (after replying with an error, or not at all) unless in mode "ok".
    bool Answer(const QDBusMessage& call) {
        if (mode_ == "ok") return true;
        call.setDelayedReply(true);
        if (mode_ == "error")
            QDBusConnection::sessionBus().send(call.createErrorReply("org.freedesktop.portal.Error.Failed", "no"));
        return false;
    }
    // The request handle, and its Response signal right after the reply.
    QDBusObjectPath Respond(const QDBusMessage& call, const QVariantMap& options, QVariantMap results) {
        const QString path = PortalRequestPath(call.service(), options.value("handle_token").toString());
        QTimer::singleShot(0, [path, results] {
            QDBusMessage response = QDBusMessage::createSignal(path, kPortalRequest, "Response");
            response << 0u << results;
            QDBusConnection::sessionBus().send(response);
        });
        return QDBusObjectPath(path);
    }
    QString mode_;
};

class Control : public QObject {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.bbcolour.test.FakePortal")
public:
    explicit Control(Portal& portal) : portal_(portal) {}
public slots:
    QString Trigger() { return portal_.trigger; }
    void Press() {
        QDBusMessage activated = QDBusMessage::createSignal(kPortalPath, kGlobalShortcuts, "Activated");
        activated << QVariant::fromValue(QDBusObjectPath(portal_.session)) << portal_.shortcutId
                  << qulonglong(1) << QVariantMap();
        QDBusConnection::sessionBus().send(activated);
    }

private:
    Portal& portal_;
};

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    RegisterPortalTypes();
    Portal portal(argc > 1 ? argv[1] : "ok");
    Control control(portal);
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.registerObject(kPortalPath, &portal, QDBusConnection::ExportAllSlots) ||
        !bus.registerObject("/control", &control, QDBusConnection::ExportAllSlots) ||
        !bus.registerService(kPortalService))
        return 1;
    std::puts("ready");
    std::fflush(stdout);
    return app.exec();
}

#include "fake_portal.moc"

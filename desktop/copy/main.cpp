// bbcolour-copy: does what F2 does in the running bbcolour window. For
// desktops where bbcolour cannot take F2 itself: bind F2 to this command.
#include <QCoreApplication>
#include <QDBusConnection>
#include <QDBusMessage>
#include <cstdio>
#include <cstring>

#include "dbus/app_id.h"
#include "i18n.h"

int main(int argc, char** argv) {
    using namespace bbcolour::desktop;
    bbcolour::i18n::InitTranslations();
    if (argc > 1 && (std::strcmp(argv[1], "--help") == 0 || std::strcmp(argv[1], "-h") == 0)) {
        std::fputs(_("Usage: bbcolour-copy\n"
                     "Copies the colour code of the running bbcolour window to the clipboard,\n"
                     "as pressing F2 does. Exit status 0 when delivered, 1 when no window runs.\n"),
                   stdout);
        return 0;
    }
    if (argc > 1 && std::strcmp(argv[1], "--version") == 0) {
        std::printf("bbcolour-copy %s\n", BBCOLOUR_VERSION);
        return 0;
    }
    if (argc > 1) {
        std::fprintf(stderr, _("bbcolour-copy: unknown argument '%s'\nUsage: bbcolour-copy\n"), argv[1]);
        return 2;
    }
    // Its own messages are all it prints: Qt's warnings (the D-Bus layer can
    // warn while shutting down) would break the one-line error.
    qInstallMessageHandler([](QtMsgType, const QMessageLogContext&, const QString&) {});
    QCoreApplication app(argc, argv);
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected()) {
        std::fprintf(stderr, _("bbcolour-copy: no session bus: %s\n"), qPrintable(bus.lastError().message()));
        return 1;
    }
    const QDBusMessage reply =
        bus.call(QDBusMessage::createMethodCall(kAppId, kCopyObjectPath, kCopyInterface, "Copy"), QDBus::Block, 5000);
    if (reply.type() != QDBusMessage::ReplyMessage) {
        std::fprintf(stderr, _("bbcolour-copy: no bbcolour window is running (%s)\n"),
                     qPrintable(reply.errorMessage()));
        return 1;
    }
    return 0;
}

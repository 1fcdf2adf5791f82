// bbcolour: the desktop window. Start-up and shutdown, in order.
#include <xcb/xcb.h>

#include <QApplication>
#include <QDBusConnection>
#include <QLoggingCategory>
#include <QMessageBox>
#include <cstdio>
#include <cstdlib>
#include <exception>

#include "bbcolour/colour_code.h"
#include "dbus/app_id.h"
#include "dbus/copy_service.h"
#include "handlers/handlers.h"
#include "hotkey/hotkey_backend.h"
#include "preview/preview_view.h"
#include "window/main_window.h"
#include "window/services.h"

namespace {

constexpr int kFatalExitStatus = 255;  // -1 as the process sees it

// Qt aborts with a core dump when it cannot reach the X server; say so
// plainly instead, before it tries.
class DisplayProbe {
public:
    DisplayProbe() {
        const char* platform = std::getenv("QT_QPA_PLATFORM");
        if (platform && *platform && std::string_view(platform).substr(0, 3) != "xcb") return;
        connection_ = xcb_connect(nullptr, nullptr);
    }
    // The probe's connection stays open until Qt has its own: an X server
    // whose last client leaves resets, and a connection made during the
    // reset fails.
    ~DisplayProbe() { Close(); }
    void Close() {
        if (connection_) xcb_disconnect(connection_);
        connection_ = nullptr;
    }
    bool Reachable() const { return !connection_ || !xcb_connection_has_error(connection_); }

private:
    xcb_connection_t* connection_ = nullptr;
};

[[noreturn]] void FatalError(const char* what, bool canShowBox) {
    std::fprintf(stderr, "bbcolour: %s\n", what);
    if (canShowBox) {
        QMessageBox box(QMessageBox::Critical, QStringLiteral("bbcolour"), QString::fromUtf8(what),
                        QMessageBox::Ok);
        box.exec();
    }
    std::exit(kFatalExitStatus);
}

void EndRoutine() {}  // the program has nothing to release at the end

}  // namespace

int main(int argc, char** argv) {
    using namespace bbcolour::desktop;
    // 1. The window layer: what the web engine needs before the application
    //    object, nothing written to disk (Qt and Mesa cache shaders).
    DisplayProbe display;
    if (!display.Reachable())
        FatalError("cannot open the display: DISPLAY is not set or the X server does not answer", false);
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    QCoreApplication::setAttribute(Qt::AA_DisableShaderDiskCache);
    // Mesa keeps a shader cache of its own under XDG_CACHE_HOME or the
    // account's home; the web engine's processes inherit this too.
    qputenv("MESA_SHADER_CACHE_DISABLE", "true");
    PrepareWebEngine();
    QLoggingCategory::setFilterRules("qt.webenginecontext.info=false");  // start-up chatter
    QApplication app(argc, argv);
    display.Close();
    QApplication::setApplicationName("bbcolour");
    QApplication::setDesktopFileName(kAppId);
    QApplication::setWindowIcon(QIcon(":/bbcolour/bbcolour-32.png"));
    // 2. Global data: the program has none. 3. The end routine.
    QObject::connect(&app, &QCoreApplication::aboutToQuit, &EndRoutine);

    try {
        // 4. The window: created hidden and centred with all its controls,
        //    then the created event, then shown.
        MainWindow window(bbcolour::ProcessRandomGenerator(), CreatePlatformHotkeyBackend());
        BindHandlers(window);
        window.RaiseCreated();
        // Copy on the session bus, for desktops where F2 is bound to
        // bbcolour-copy; without a bus (or a second instance) it is simply absent.
        CopyService copyService(window.HotkeyLabel(), kFirstHotkeyId);
        copyService.Publish(QDBusConnection::sessionBus());
        window.show();
        // 5. The message loop, until the last window is closed; 6. status 0.
        return app.exec();
    } catch (const std::exception& e) {
        FatalError(e.what(), true);
    }
}

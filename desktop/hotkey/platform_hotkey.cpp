#include <QDBusConnection>
#include <QGuiApplication>

#include "hotkey/hotkey_backend.h"
#include "hotkey/portal/portal_hotkey.h"

namespace bbcolour::desktop {

std::unique_ptr<HotkeyBackend> CreateX11HotkeyBackend();

namespace {
bool IsWaylandSession() {
    return qEnvironmentVariable("XDG_SESSION_TYPE") == QLatin1String("wayland") ||
           !qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY");
}
}  // namespace

std::unique_ptr<HotkeyBackend> CreatePlatformHotkeyBackend() {
    // Under Wayland an X11 grab sees keys only while an X11 window has the
    // focus, so the portal is asked even when this window runs on XWayland.
    if (IsWaylandSession()) return std::make_unique<PortalHotkey>(QDBusConnection::sessionBus());
    if (QGuiApplication::platformName() == QLatin1String("xcb")) return CreateX11HotkeyBackend();
    return nullptr;  // no global hotkey on this platform: F2 simply does nothing
}

}  // namespace bbcolour::desktop

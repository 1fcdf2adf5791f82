#include <QGuiApplication>

#include "hotkey/hotkey_backend.h"

namespace bbcolour::desktop {

std::unique_ptr<HotkeyBackend> CreateX11HotkeyBackend();

std::unique_ptr<HotkeyBackend> CreatePlatformHotkeyBackend() {
    if (QGuiApplication::platformName() == QLatin1String("xcb")) return CreateX11HotkeyBackend();
    return nullptr;  // no global hotkey on this platform: F2 simply does nothing
}

}  // namespace bbcolour::desktop

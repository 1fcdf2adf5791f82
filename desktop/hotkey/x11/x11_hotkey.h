// F2 for the whole X11 session: a passive grab on the root window.
#pragma once

#include <QAbstractNativeEventFilter>

#include "hotkey/hotkey_backend.h"

struct xcb_connection_t;

namespace bbcolour::desktop {

class X11Hotkey : public HotkeyBackend, private QAbstractNativeEventFilter {
public:
    X11Hotkey(xcb_connection_t* connection, unsigned rootWindow);
    ~X11Hotkey() override;
    bool Register(unsigned keysym, std::function<void()> pressed) override;

private:
    bool nativeEventFilter(const QByteArray& eventType, void* message, qintptr* result) override;

    xcb_connection_t* connection_;
    unsigned root_;
    unsigned char keycode_ = 0;
    std::function<void()> pressed_;
};

}  // namespace bbcolour::desktop

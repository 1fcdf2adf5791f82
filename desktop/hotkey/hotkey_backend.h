// A global hotkey, behind one small interface with a backend per mechanism.
#pragma once

#include <functional>
#include <memory>

namespace bbcolour::desktop {

class HotkeyBackend {
public:
    virtual ~HotkeyBackend() = default;
    // Asks for `keysym` (an X keysym, such as F2) without modifiers, in
    // whatever application has the focus; `pressed` runs on every press, on
    // the GUI thread. False when the system refuses or cannot offer it.
    virtual bool Register(unsigned keysym, std::function<void()> pressed) = 0;
};

// The backend for the running desktop: the X11 grab under X11, none elsewhere.
std::unique_ptr<HotkeyBackend> CreatePlatformHotkeyBackend();

}  // namespace bbcolour::desktop

#include "hotkey/x11/x11_hotkey.h"

#include <xcb/xcb.h>

#include <QCoreApplication>
#include <QGuiApplication>
#include <cstdlib>
#include <vector>

namespace bbcolour::desktop {

namespace {

// The keycode that produces `keysym` in the current keyboard mapping, or 0.
xcb_keycode_t KeycodeFor(xcb_connection_t* c, xcb_keysym_t keysym) {
    const xcb_setup_t* setup = xcb_get_setup(c);
    const xcb_keycode_t first = setup->min_keycode;
    const int count = setup->max_keycode - first + 1;
    auto* reply = xcb_get_keyboard_mapping_reply(c, xcb_get_keyboard_mapping(c, first, count), nullptr);
    if (!reply) return 0;
    const xcb_keysym_t* syms = xcb_get_keyboard_mapping_keysyms(reply);
    const int perCode = reply->keysyms_per_keycode;
    xcb_keycode_t found = 0;
    for (int i = 0; i < count && !found; ++i)
        for (int j = 0; j < perCode; ++j)
            if (syms[i * perCode + j] == keysym) {
                found = static_cast<xcb_keycode_t>(first + i);
                break;
            }
    std::free(reply);
    return found;
}

// The modifier bit that Num Lock sets (usually Mod2), or 0.
uint16_t NumLockMask(xcb_connection_t* c) {
    const xcb_keycode_t numLock = KeycodeFor(c, 0xFF7F);  // XK_Num_Lock
    auto* reply = xcb_get_modifier_mapping_reply(c, xcb_get_modifier_mapping(c), nullptr);
    if (!reply || !numLock) {
        std::free(reply);
        return 0;
    }
    const xcb_keycode_t* codes = xcb_get_modifier_mapping_keycodes(reply);
    uint16_t mask = 0;
    for (int mod = 0; mod < 8 && !mask; ++mod)
        for (int k = 0; k < reply->keycodes_per_modifier; ++k)
            if (codes[mod * reply->keycodes_per_modifier + k] == numLock) mask = static_cast<uint16_t>(1u << mod);
    std::free(reply);
    return mask;
}

}  // namespace

X11Hotkey::X11Hotkey(xcb_connection_t* connection, unsigned rootWindow)
    : connection_(connection), root_(rootWindow) {}

X11Hotkey::~X11Hotkey() {
    if (pressed_) QCoreApplication::instance()->removeNativeEventFilter(this);
}

bool X11Hotkey::Register(unsigned keysym, std::function<void()> pressed) {
    keycode_ = KeycodeFor(connection_, keysym);
    if (!keycode_) return false;
    // Caps Lock and Num Lock are modifiers to X: grab the key with each
    // combination of them, so F2 works whichever lock is on.
    const uint16_t numLock = NumLockMask(connection_);
    std::vector<uint16_t> masks = {0, XCB_MOD_MASK_LOCK};
    if (numLock) masks.insert(masks.end(), {numLock, static_cast<uint16_t>(numLock | XCB_MOD_MASK_LOCK)});
    std::vector<xcb_void_cookie_t> cookies;
    for (uint16_t mask : masks)
        cookies.push_back(xcb_grab_key_checked(connection_, 1, root_, mask, keycode_, XCB_GRAB_MODE_ASYNC,
                                               XCB_GRAB_MODE_ASYNC));
    // The checked requests report BadAccess here, at once, when another
    // client already holds the key.
    bool refused = false;
    for (auto cookie : cookies)
        if (xcb_generic_error_t* error = xcb_request_check(connection_, cookie)) {
            refused = true;
            std::free(error);
        }
    if (refused) {
        for (uint16_t mask : masks) xcb_ungrab_key(connection_, keycode_, root_, mask);
        xcb_flush(connection_);
        return false;
    }
    pressed_ = std::move(pressed);
    QCoreApplication::instance()->installNativeEventFilter(this);
    return true;
}

bool X11Hotkey::nativeEventFilter(const QByteArray& eventType, void* message, qintptr*) {
    if (eventType != "xcb_generic_event_t") return false;
    auto* event = static_cast<xcb_generic_event_t*>(message);
    if ((event->response_type & 0x7F) != XCB_KEY_PRESS) return false;
    auto* key = reinterpret_cast<xcb_key_press_event_t*>(event);
    // Key presses for our own windows pass through here too: only the
    // grabbed key reported on the root window is the hotkey.
    if (key->detail != keycode_ || key->event != root_) return false;
    pressed_();
    return true;
}

std::unique_ptr<HotkeyBackend> CreateX11HotkeyBackend() {
    auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    if (!x11 || !x11->connection()) return nullptr;
    xcb_connection_t* c = x11->connection();
    const xcb_screen_t* screen = xcb_setup_roots_iterator(xcb_get_setup(c)).data;
    return std::make_unique<X11Hotkey>(c, screen->root);
}

}  // namespace bbcolour::desktop

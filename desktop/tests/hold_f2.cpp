// Test helper: another X client that holds F2 (a passive grab on the root
// window, no modifiers), prints "held" once it has it and "F2" for every
// press it receives, until it is killed.
#include <xcb/xcb.h>

#include <cstdio>
#include <cstdlib>

int main() {
    xcb_connection_t* c = xcb_connect(nullptr, nullptr);
    if (xcb_connection_has_error(c)) return 1;
    const xcb_setup_t* setup = xcb_get_setup(c);
    xcb_window_t root = xcb_setup_roots_iterator(setup).data->root;
    const int count = setup->max_keycode - setup->min_keycode + 1;
    auto* map = xcb_get_keyboard_mapping_reply(c, xcb_get_keyboard_mapping(c, setup->min_keycode, count), nullptr);
    const xcb_keysym_t* syms = xcb_get_keyboard_mapping_keysyms(map);
    xcb_keycode_t f2 = 0;
    for (int i = 0; i < count * map->keysyms_per_keycode && !f2; ++i)
        if (syms[i] == 0xFFBF) f2 = static_cast<xcb_keycode_t>(setup->min_keycode + i / map->keysyms_per_keycode);
    std::free(map);
    if (!f2) return 1;
    if (xcb_request_check(c, xcb_grab_key_checked(c, 1, root, 0, f2, XCB_GRAB_MODE_ASYNC, XCB_GRAB_MODE_ASYNC)))
        return 1;
    std::puts("held");
    std::fflush(stdout);
    while (xcb_generic_event_t* event = xcb_wait_for_event(c)) {
        if ((event->response_type & 0x7F) == XCB_KEY_PRESS) {
            std::puts("F2");
            std::fflush(stdout);
        }
        std::free(event);
    }
    return 0;
}

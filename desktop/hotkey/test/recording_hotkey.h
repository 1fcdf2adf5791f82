// A hotkey backend for tests: records what it was asked for, presses on demand.
#pragma once

#include <vector>

#include "hotkey/hotkey_backend.h"

namespace bbcolour::desktop {

class RecordingHotkey : public HotkeyBackend {
public:
    explicit RecordingHotkey(bool accept = true) : accept_(accept) {}
    bool Register(unsigned keysym, std::function<void()> pressed) override {
        requested.push_back(keysym);
        if (accept_) pressed_ = std::move(pressed);
        return accept_;
    }
    void Press() {
        if (pressed_) pressed_();
    }
    std::vector<unsigned> requested;

private:
    bool accept_;
    std::function<void()> pressed_;
};

}  // namespace bbcolour::desktop

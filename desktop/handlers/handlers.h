// What the program does at run time: three handlers bound to the window's events.
#pragma once

namespace bbcolour::desktop {

class MainWindow;

// Binds the events of `window` to the handlers below.
void BindHandlers(MainWindow& window);

// Input box changed: regenerate the whole code, show it and its preview.
void OnInputChanged(MainWindow& window);
// Window created: make F2 the global hotkey, notifying 标签1.
void OnWindowCreated(MainWindow& window);
// F2 pressed anywhere: copy the code box's text and confirm.
void OnCopyHotkey(MainWindow& window, int hotkeyId, int zero);

}  // namespace bbcolour::desktop

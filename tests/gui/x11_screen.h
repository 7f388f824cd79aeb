#pragma once

// What a person at an X display sees, read through a connection of the test's
// own: top-level windows by caption, their pixels, and a key press.

#include <X11/Xlib.h>

#include <chrono>
#include <functional>
#include <string>

#include "image.h"

namespace scenario::gui {

// A connection to $DISPLAY, closed when it goes out of scope.
class XScreen {
 public:
  XScreen();
  ~XScreen();
  XScreen(const XScreen&) = delete;
  XScreen& operator=(const XScreen&) = delete;

  Display* display() const { return display_; }

  // The top-level window whose caption is `caption`, or None.
  Window find_window(const std::string& caption) const;
  // Looks for the window until it appears, `give_up` returns true or `limit` passes.
  Window wait_for_window(const std::string& caption, std::chrono::milliseconds limit,
                         const std::function<bool()>& give_up) const;

  // The window's inside (its client area) as it is on the screen now.
  Image capture(Window window) const;
  Image capture_screen() const;

  // Gives `window` the keyboard and types one key on it, as a person would.
  void press_key_in(Window window, const char* key_name) const;

 private:
  Display* display_;
};

}  // namespace scenario::gui

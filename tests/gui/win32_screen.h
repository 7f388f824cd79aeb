#pragma once

// What a person sees of a Win32 window, read back through GDI.

#include <windows.h>

#include <string>
#include <vector>

#include "image.h"

namespace scenario::gui {

// The window's client area as its device context holds it now.
Image capture_client(HWND window);
// The window with its frame, as the screen shows it.
Image capture_on_screen(HWND window);

struct ChildWindow {
  std::wstring class_name;
  std::wstring text;
  LONG style = 0;
  bool visible = false;
  HWND handle = nullptr;
};

std::vector<ChildWindow> children_of(HWND window);

}  // namespace scenario::gui

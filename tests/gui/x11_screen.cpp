#include "x11_screen.h"

#include <X11/Xutil.h>
#include <X11/extensions/XTest.h>

#include <stdexcept>
#include <thread>

namespace scenario::gui {
namespace {

std::string caption_of(Display* display, Window window) {
  char* name = nullptr;
  std::string caption;
  if (XFetchName(display, window, &name) && name != nullptr) caption = name;
  if (name != nullptr) XFree(name);
  return caption;
}

// Depth-first over the tree: with a window manager the program's window sits
// inside a frame, without one it is a child of the root.
Window search(Display* display, Window window, const std::string& caption, int depth) {
  if (caption_of(display, window) == caption) return window;
  if (depth == 0) return None;
  Window root = None;
  Window parent = None;
  Window* children = nullptr;
  unsigned int count = 0;
  if (!XQueryTree(display, window, &root, &parent, &children, &count)) return None;
  Window found = None;
  for (unsigned int i = 0; i < count && found == None; ++i) found = search(display, children[i], caption, depth - 1);
  if (children != nullptr) XFree(children);
  return found;
}

// The share of a pixel that one colour mask holds, as 0 to 255.
uint8_t channel(unsigned long pixel, unsigned long mask) {
  if (mask == 0) return 0;
  int shift = 0;
  while (((mask >> shift) & 1) == 0) ++shift;
  const unsigned long value = (pixel & mask) >> shift;
  const unsigned long top = mask >> shift;
  return static_cast<uint8_t>(value * 255 / top);
}

Image to_image(XImage* shot) {
  Image image(shot->width, shot->height);
  for (int y = 0; y < shot->height; ++y) {
    for (int x = 0; x < shot->width; ++x) {
      const unsigned long pixel = XGetPixel(shot, x, y);
      image.at(x, y) = {channel(pixel, shot->red_mask), channel(pixel, shot->green_mask),
                        channel(pixel, shot->blue_mask)};
    }
  }
  return image;
}

Image grab(Display* display, Window window) {
  XWindowAttributes attributes{};
  if (!XGetWindowAttributes(display, window, &attributes)) throw std::runtime_error("window gone");
  XImage* shot = XGetImage(display, window, 0, 0, static_cast<unsigned>(attributes.width),
                           static_cast<unsigned>(attributes.height), AllPlanes, ZPixmap);
  if (shot == nullptr) throw std::runtime_error("the window's pixels cannot be read");
  Image image = to_image(shot);
  XDestroyImage(shot);
  return image;
}

}  // namespace

XScreen::XScreen() : display_(XOpenDisplay(nullptr)) {
  if (display_ == nullptr) throw std::runtime_error("no X display to look at ($DISPLAY)");
}

XScreen::~XScreen() { XCloseDisplay(display_); }

Window XScreen::find_window(const std::string& caption) const {
  return search(display_, DefaultRootWindow(display_), caption, 3);
}

Window XScreen::wait_for_window(const std::string& caption, std::chrono::milliseconds limit,
                                const std::function<bool()>& give_up) const {
  const auto end = std::chrono::steady_clock::now() + limit;
  for (;;) {
    const Window window = find_window(caption);
    if (window != None) return window;
    if (give_up() || std::chrono::steady_clock::now() > end) return None;
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
  }
}

Image XScreen::capture(Window window) const { return grab(display_, window); }

Image XScreen::capture_screen() const { return grab(display_, DefaultRootWindow(display_)); }

void XScreen::press_key_in(Window window, const char* key_name) const {
  XSetInputFocus(display_, window, RevertToPointerRoot, CurrentTime);
  const KeyCode key = XKeysymToKeycode(display_, XStringToKeysym(key_name));
  XTestFakeKeyEvent(display_, key, True, CurrentTime);
  XTestFakeKeyEvent(display_, key, False, CurrentTime);
  XSync(display_, False);
}

}  // namespace scenario::gui

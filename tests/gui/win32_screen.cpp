#include "win32_screen.h"

#include <stdexcept>

namespace scenario::gui {
namespace {

Image copy_from(HDC source, int left, int top, int width, int height) {
  BITMAPINFO format{};
  format.bmiHeader.biSize = sizeof format.bmiHeader;
  format.bmiHeader.biWidth = width;
  format.bmiHeader.biHeight = -height;  // top row first
  format.bmiHeader.biPlanes = 1;
  format.bmiHeader.biBitCount = 32;
  format.bmiHeader.biCompression = BI_RGB;
  void* bits = nullptr;
  const HDC memory = CreateCompatibleDC(source);
  const HBITMAP bitmap = CreateDIBSection(memory, &format, DIB_RGB_COLORS, &bits, nullptr, 0);
  if (memory == nullptr || bitmap == nullptr) throw std::runtime_error("no bitmap for the screenshot");
  const HGDIOBJ previous = SelectObject(memory, bitmap);
  BitBlt(memory, 0, 0, width, height, source, left, top, SRCCOPY);
  GdiFlush();

  Image image(width, height);
  const auto* bgrx = static_cast<const uint8_t*>(bits);
  for (size_t i = 0; i < image.pixels.size(); ++i) image.pixels[i] = {bgrx[4 * i + 2], bgrx[4 * i + 1], bgrx[4 * i]};
  SelectObject(memory, previous);
  DeleteObject(bitmap);
  DeleteDC(memory);
  return image;
}

BOOL CALLBACK add_child(HWND child, LPARAM list) {
  ChildWindow found;
  found.handle = child;
  wchar_t text[256] = {};
  GetClassNameW(child, text, 256);
  found.class_name = text;
  text[0] = L'\0';
  GetWindowTextW(child, text, 256);
  found.text = text;
  found.style = GetWindowLongW(child, GWL_STYLE);
  found.visible = IsWindowVisible(child) != 0;
  reinterpret_cast<std::vector<ChildWindow>*>(list)->push_back(found);
  return TRUE;
}

}  // namespace

Image capture_client(HWND window) {
  RECT client{};
  GetClientRect(window, &client);
  const HDC source = GetDC(window);
  Image image = copy_from(source, 0, 0, client.right, client.bottom);
  ReleaseDC(window, source);
  return image;
}

Image capture_on_screen(HWND window) {
  RECT frame{};
  GetWindowRect(window, &frame);
  const HDC screen = GetDC(nullptr);
  Image image = copy_from(screen, frame.left, frame.top, frame.right - frame.left, frame.bottom - frame.top);
  ReleaseDC(nullptr, screen);
  return image;
}

std::vector<ChildWindow> children_of(HWND window) {
  std::vector<ChildWindow> children;
  EnumChildWindows(window, add_child, reinterpret_cast<LPARAM>(&children));
  return children;
}

}  // namespace scenario::gui

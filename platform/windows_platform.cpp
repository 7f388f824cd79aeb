#include "platform/windows_platform.h"

#include <windows.h>

#include <cstdio>

#include "platform/application_title.h"
#include "platform/folder_lock.h"
#include "platform/start_folder.h"
#include "platform/terminal_lines.h"
#include "platform/waiting_window_layout.h"
#include "platform/windows_text.h"

namespace scenario {
namespace {

constexpr wchar_t kWindowClass[] = L"ScenarioBuilderForm";
constexpr DWORD kWindowStyle = WS_OVERLAPPEDWINDOW;

bool register_window_class(HINSTANCE instance) {
  WNDCLASSEXW window_class{};
  window_class.cbSize = sizeof window_class;
  window_class.lpfnWndProc = DefWindowProcW;
  window_class.hInstance = instance;
  window_class.hCursor = LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_WAIT));
  window_class.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  window_class.lpszClassName = kWindowClass;
  return RegisterClassExW(&window_class) != 0 || GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
}

}  // namespace

WindowsPlatform::~WindowsPlatform() {
  if (window_ != nullptr) DestroyWindow(static_cast<HWND>(window_));
  if (font_ != nullptr) DeleteObject(static_cast<HFONT>(font_));
}

std::string WindowsPlatform::start_folder() { return executable_folder(); }

std::unique_ptr<FolderHold> WindowsPlatform::hold_start_folder() {
  return std::make_unique<FolderLock>(start_folder());
}

void WindowsPlatform::show_waiting_window() {
  say_on_terminal(kWaitingText);
  const HINSTANCE instance = GetModuleHandleW(nullptr);
  if (!register_window_class(instance)) return;

  const HDC screen = GetDC(nullptr);
  const int horizontal_dpi = screen != nullptr ? GetDeviceCaps(screen, LOGPIXELSX) : 96;
  const int vertical_dpi = screen != nullptr ? GetDeviceCaps(screen, LOGPIXELSY) : 96;
  if (screen != nullptr) ReleaseDC(nullptr, screen);
  const WaitingWindowPixels px = waiting_window_pixels(horizontal_dpi, vertical_dpi);

  RECT frame{0, 0, px.client_width, px.client_height};
  AdjustWindowRectEx(&frame, kWindowStyle, FALSE, 0);
  const HWND window = CreateWindowExW(0, kWindowClass, utf8_to_wide(kWaitingWindowCaption).c_str(), kWindowStyle,
                                      CW_USEDEFAULT, CW_USEDEFAULT, frame.right - frame.left, frame.bottom - frame.top,
                                      nullptr, nullptr, instance, nullptr);
  if (window == nullptr) return;
  window_ = window;

  const HWND label =
      CreateWindowExW(0, L"STATIC", utf8_to_wide(kWaitingText).c_str(), WS_CHILD | WS_VISIBLE | SS_LEFT | SS_NOPREFIX,
                      px.label_left, px.label_top, px.label_width, px.label_height, window, nullptr, instance, nullptr);
  const HFONT font = CreateFontW(-px.font_height, 0, 0, 0, kWaitingFontWeight, FALSE, FALSE, FALSE, ANSI_CHARSET,
                                 OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH | FF_SWISS,
                                 utf8_to_wide(kWaitingFontFace).c_str());
  font_ = font;
  if (label != nullptr && font != nullptr) SendMessageW(label, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);

  ShowWindow(window, SW_SHOWNORMAL);
  // Paints the window and its label now, without a message loop.
  RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW | RDW_ALLCHILDREN);
  GdiFlush();
}

int WindowsPlatform::show_fatal_report(const std::string& message) {
  say_on_terminal(message);
  return MessageBoxW(static_cast<HWND>(window_), utf8_to_wide(message).c_str(), utf8_to_wide(kApplicationTitle).c_str(),
                     MB_OK);
}

void WindowsPlatform::end_process(int status) {
  std::fflush(nullptr);
  ExitProcess(static_cast<UINT>(status));
}

}  // namespace scenario

// The Windows backend on a desktop (under wine on a virtual X display in CI):
// the waiting window read back through Win32, and the fatal report box.
// Screenshots are written to the current folder for a person to look at.

#include <gtest/gtest.h>
#include <windows.h>

#include <filesystem>
#include <memory>

#include "image.h"
#include "platform/application_title.h"
#include "platform/platform_factory.h"
#include "platform/start_folder.h"
#include "platform/waiting_window_layout.h"
#include "platform/windows_platform.h"
#include "platform/windows_text.h"
#include "support/temp_folder.h"
#include "win32_screen.h"

namespace scenario::gui {
namespace {

namespace fs = std::filesystem;

WaitingWindowPixels expected_layout() {
  const HDC screen = GetDC(nullptr);
  const WaitingWindowPixels px =
      waiting_window_pixels(GetDeviceCaps(screen, LOGPIXELSX), GetDeviceCaps(screen, LOGPIXELSY));
  ReleaseDC(nullptr, screen);
  return px;
}

TEST(WindowsDesktop, WaitingWindowShowsAttendereInTheFormsLayoutAndFont) {
  auto platform = make_platform();
  ASSERT_NE(dynamic_cast<WindowsPlatform*>(platform.get()), nullptr);
  platform->show_waiting_window();
  const HWND form = FindWindowW(nullptr, L"Form1");
  ASSERT_NE(form, nullptr) << "no window captioned Form1";
  const WaitingWindowPixels px = expected_layout();

  RECT client{};
  GetClientRect(form, &client);
  EXPECT_EQ(client.right, px.client_width);
  EXPECT_EQ(client.bottom, px.client_height);

  const HWND label = FindWindowExW(form, nullptr, L"Static", nullptr);
  ASSERT_NE(label, nullptr) << "no label in the window";
  wchar_t text[64] = {};
  GetWindowTextW(label, text, 64);
  EXPECT_EQ(std::wstring(text), L"Attendere");
  RECT place{};
  GetWindowRect(label, &place);
  MapWindowPoints(nullptr, form, reinterpret_cast<POINT*>(&place), 2);
  EXPECT_EQ(place.left, px.label_left);
  EXPECT_EQ(place.top, px.label_top);
  EXPECT_EQ(place.right - place.left, px.label_width);
  EXPECT_EQ(place.bottom - place.top, px.label_height);

  const auto font = reinterpret_cast<HFONT>(SendMessageW(label, WM_GETFONT, 0, 0));
  ASSERT_NE(font, nullptr) << "the label keeps the system font";
  LOGFONTW asked{};
  ASSERT_NE(GetObjectW(font, sizeof asked, &asked), 0);
  EXPECT_EQ(std::wstring(asked.lfFaceName), L"MS Sans Serif");
  EXPECT_EQ(asked.lfHeight, -px.font_height);  // 24 points in character height
  EXPECT_EQ(asked.lfWeight, FW_BOLD);
  EXPECT_EQ(asked.lfItalic, 0);
  EXPECT_EQ(asked.lfUnderline, 0);
  EXPECT_EQ(asked.lfStrikeOut, 0);
  EXPECT_EQ(asked.lfCharSet, ANSI_CHARSET);
  {
    // Which installed face the desktop realised it with, for the person reading the log.
    const HDC dc = GetDC(label);
    const HGDIOBJ previous = SelectObject(dc, font);
    wchar_t face[LF_FACESIZE] = {};
    GetTextFaceW(dc, LF_FACESIZE, face);
    TEXTMETRICW metrics{};
    GetTextMetricsW(dc, &metrics);
    SelectObject(dc, previous);
    ReleaseDC(label, dc);
    std::printf("label font realised as \"%ls\", %ld pixels high, weight %ld\n", face, metrics.tmHeight,
                metrics.tmWeight);
  }

  // No message has been taken since the call: what the window shows, it drew.
  const Image shot = capture_client(form);
  write_png("wine_waiting_window.png", shot);
  write_png("wine_waiting_window_on_screen.png", capture_on_screen(form));
  const std::optional<Box> ink = ink_box(shot, shot.bounds(), shot.at(0, 0));
  ASSERT_TRUE(ink) << "the window is blank";
  const Box label_box{px.label_left, px.label_top, px.label_left + px.label_width, px.label_top + px.label_height};
  EXPECT_TRUE(label_box.contains(*ink)) << "drawn outside the label";
  // At 24 points "Attendere" spans most of the label; the system's 8 point
  // font would fill less than a third of it. (Wine draws its bitmap MS Sans
  // Serif small and widely spaced, so the height tells nothing here.)
  EXPECT_GE(ink->width(), px.label_width / 2);
}

TEST(WindowsDesktop, FatalReportIsAnOkBoxThatEndsTheProcess) {
  testing::TempFolder folder;
  const std::wstring probe = utf8_to_wide(executable_folder()) + L"\\fatal_report_probe.exe";
  std::wstring command = L"\"" + probe + L"\" \"" + folder.path().wstring() + L"\"";
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process{};
  ASSERT_TRUE(
      CreateProcessW(probe.c_str(), command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process));
  // A probe left waiting on its box by a failed check is ended with the test.
  const std::unique_ptr<PROCESS_INFORMATION, void (*)(PROCESS_INFORMATION*)> end_probe(&process, [](auto* p) {
    if (WaitForSingleObject(p->hProcess, 0) == WAIT_TIMEOUT) TerminateProcess(p->hProcess, 99);
    CloseHandle(p->hThread);
    CloseHandle(p->hProcess);
  });

  // The dialog exists before its controls do: look until it is up with its button.
  const std::wstring title = utf8_to_wide(kApplicationTitle);
  HWND box = nullptr;
  std::vector<std::wstring> texts;
  std::vector<std::wstring> buttons;
  int icons = 0;
  for (int tries = 0; tries < 400 && buttons.empty(); ++tries) {
    if (WaitForSingleObject(process.hProcess, 50) == WAIT_OBJECT_0) break;
    box = FindWindowW(L"#32770", title.c_str());  // the dialog class of message boxes
    if (box == nullptr || !IsWindowVisible(box)) continue;
    texts.clear();
    icons = 0;
    for (const ChildWindow& child : children_of(box)) {
      if (!child.visible) continue;
      if (_wcsicmp(child.class_name.c_str(), L"Button") == 0) buttons.push_back(child.text);
      if (_wcsicmp(child.class_name.c_str(), L"Static") != 0) continue;
      if ((child.style & SS_TYPEMASK) == SS_ICON) {
        if (SendMessageW(child.handle, STM_GETICON, 0, 0) != 0) ++icons;
      } else if (!child.text.empty()) {
        texts.push_back(child.text);
      }
    }
  }
  DWORD early_status = 0;
  GetExitCodeProcess(process.hProcess, &early_status);
  ASSERT_FALSE(buttons.empty()) << "no box captioned \"" << kApplicationTitle << "\" with a button; probe status "
                                << early_status;
  EXPECT_EQ(texts, std::vector<std::wstring>{L" Errore n. 1250"});
  EXPECT_EQ(buttons, std::vector<std::wstring>{L"OK"});
  EXPECT_EQ(icons, 0);
  Sleep(300);  // time to paint, for the person looking at the screenshot
  write_png("wine_fatal_report.png", capture_on_screen(box));

  EXPECT_EQ(WaitForSingleObject(process.hProcess, 0), WAIT_TIMEOUT) << "the process ended before OK was pressed";
  PostMessageW(box, WM_COMMAND, IDOK, 0);  // what pressing OK sends
  ASSERT_EQ(WaitForSingleObject(process.hProcess, 10000), WAIT_OBJECT_0) << "OK did not end the process";
  DWORD status = 0;
  GetExitCodeProcess(process.hProcess, &status);
  EXPECT_EQ(status, 1u);
  for (const char* compiled :
       {"ValdorenaC_Morlavesa_4721.dat", "ValdorenaC_Morlavesa_4721.sim", "ValdorenaC_Morlavesa_linea.dat"}) {
    EXPECT_FALSE(fs::exists(folder.path() / compiled)) << compiled << " written after a fatal report";
  }
}

}  // namespace
}  // namespace scenario::gui

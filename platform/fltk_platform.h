#pragma once

// The Linux desktop backend: the waiting window and the fatal report drawn by
// FLTK on an X display that the factory has already opened.

#include <memory>

#include "platform/posix_platform.h"

struct _XDisplay;  // Xlib's Display
class Fl_Window;

namespace scenario {

// The fatal report's text face and size (FLTK's Helvetica, mapped to the
// desktop's sans-serif); the GUI tests draw the expected text with them.
inline constexpr int kFatalReportTextFont = 0;
inline constexpr int kFatalReportTextSize = 14;

class FltkPlatform : public PosixPlatform {
 public:
  // Takes over the open display and hands it to FLTK.
  explicit FltkPlatform(_XDisplay* display);
  ~FltkPlatform() override;

  void show_waiting_window() override;
  int show_fatal_report(const std::string& message) override;

 private:
  _XDisplay* display_;
  std::unique_ptr<Fl_Window> waiting_window_;
};

}  // namespace scenario

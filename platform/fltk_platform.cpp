#include "platform/fltk_platform.h"

#include <FL/Fl.H>
#include <FL/Fl_Box.H>
#include <FL/Fl_Button.H>
#include <FL/Fl_Window.H>
#include <FL/fl_draw.H>
#include <FL/x.H>

#include <algorithm>
#include <chrono>

#include "platform/application_title.h"
#include "platform/terminal_lines.h"
#include "platform/waiting_window_layout.h"

namespace scenario {
namespace {

constexpr Fl_Font kWaitingFont = FL_FREE_FONT;
constexpr int kOkButtonCode = 1;

// A window that knows when it has been drawn, so that the build can start as
// soon as "Attendere" is on the screen and not before.
class WaitingWindow : public Fl_Window {
 public:
  using Fl_Window::Fl_Window;
  bool drawn() const { return drawn_; }

 protected:
  void draw() override {
    Fl_Window::draw();
    drawn_ = true;
  }

 private:
  bool drawn_ = false;
};

// Draws its text as it is: no '@' symbols, no '&' shortcuts.
class PlainText : public Fl_Box {
 public:
  using Fl_Box::Fl_Box;

 protected:
  void draw() override {
    draw_box();
    fl_font(labelfont(), labelsize());
    fl_color(labelcolor());
    fl_draw(label(), x(), y(), w(), h(), align(), nullptr, 0);
  }
};

struct Resolution {
  double horizontal;
  double vertical;
};

// Dots per inch from the size the X server reports for the screen in millimetres.
Resolution screen_resolution(Display* display) {
  const int screen = DefaultScreen(display);
  const auto dpi = [](int pixels, int millimetres) { return millimetres > 0 ? pixels * 25.4 / millimetres : 96.0; };
  return {dpi(DisplayWidth(display, screen), DisplayWidthMM(display, screen)),
          dpi(DisplayHeight(display, screen), DisplayHeightMM(display, screen))};
}

void close_box(Fl_Widget*, void* box) { static_cast<Fl_Window*>(box)->hide(); }

}  // namespace

FltkPlatform::FltkPlatform(Display* display) : display_(display) {
  fl_open_display(display_);
  // 'B' asks for bold; fontconfig takes the first family of the list that is
  // installed. Where the form's face is missing, a face of Arial's metrics keeps
  // "Attendere" within its label, which the wider default sans-serif overruns.
  static const std::string face = std::string("B") + kWaitingFontFace + "," + kWaitingFontFallbacks;
  Fl::set_font(kWaitingFont, face.c_str());
}

FltkPlatform::~FltkPlatform() {
  waiting_window_.reset();
  fl_close_display();
}

void FltkPlatform::show_waiting_window() {
  say_on_terminal(kWaitingText);
  const Resolution dpi = screen_resolution(display_);
  const WaitingWindowPixels px = waiting_window_pixels(dpi.horizontal, dpi.vertical);

  auto window = std::make_unique<WaitingWindow>(px.client_width, px.client_height, kWaitingWindowCaption);
  auto* label = new Fl_Box(px.label_left, px.label_top, px.label_width, px.label_height, kWaitingText);
  label->labelfont(kWaitingFont);
  label->labelsize(px.font_height);
  label->align(FL_ALIGN_TOP_LEFT | FL_ALIGN_INSIDE | FL_ALIGN_CLIP);
  window->end();
  window->show();

  // The window manager maps the window in its own time: take events only until
  // the first drawing, and never again while the build runs. A desktop that
  // never shows it must not hold the build up for long.
  const auto give_up = std::chrono::steady_clock::now() + std::chrono::seconds(5);
  while (!window->drawn() && std::chrono::steady_clock::now() < give_up) Fl::wait(0.05);
  XSync(display_, False);
  waiting_window_ = std::move(window);
}

int FltkPlatform::show_fatal_report(const std::string& message) {
  say_on_terminal(message);
  constexpr int margin = 16;
  constexpr int button_width = 80;
  constexpr int button_height = 26;
  fl_font(kFatalReportTextFont, kFatalReportTextSize);
  int text_width = 0;
  int text_height = 0;
  fl_measure(message.c_str(), text_width, text_height, 0);
  const int width = std::max(text_width + 2 * margin, 240);
  const int height = margin + text_height + margin + button_height + margin;

  Fl_Window box((Fl::w() - width) / 2, (Fl::h() - height) / 2, width, height, kApplicationTitle);
  PlainText text(margin, margin, width - 2 * margin, text_height, message.c_str());
  text.labelfont(kFatalReportTextFont);
  text.labelsize(kFatalReportTextSize);
  text.align(FL_ALIGN_LEFT | FL_ALIGN_INSIDE);
  Fl_Button ok((width - button_width) / 2, height - margin - button_height, button_width, button_height, "OK");
  ok.shortcut(FL_Enter);
  ok.callback(close_box, &box);
  box.end();
  box.set_modal();
  box.show();
  // Escape and the window's close button end the box as OK does: it has no other answer.
  while (box.shown()) Fl::wait();
  return kOkButtonCode;
}

}  // namespace scenario

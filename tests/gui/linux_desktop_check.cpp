// The Linux desktop backend on a real X display (run under Xvfb at 96 dpi):
// the waiting window, the builder with a display, and the fatal report box.
// Screenshots are written to the current folder for a person to look at.

// Before Xlib's headers: their macros (None, Bool, Status) would spoil GoogleTest's.
#include <gtest/gtest.h>
// clang-format off
#include <FL/Fl.H>
#include <FL/fl_draw.H>
#include <FL/x.H>
// clang-format on

#include "image.h"
#include "platform/application_title.h"
#include "platform/fltk_platform.h"
#include "platform/platform_factory.h"
#include "platform/waiting_window_layout.h"
#include "support/builder_runs.h"
#include "support/child_process.h"
#include "support/temp_folder.h"
#include "x11_screen.h"

namespace scenario::gui {
namespace {

namespace fs = std::filesystem;
using std::chrono::seconds;

// The test display's 96 dpi make 15 twips a pixel.
constexpr Box kLabel{64, 64, 64 + 177, 64 + 53};

// `text` as FLTK draws it on this display over `background`, cut to its ink.
Image rendering_of(const std::string& text, int font, int size, Rgb background) {
  fl_open_display();
  fl_font(font, size);
  int width = 0;
  int height = 0;
  fl_measure(text.c_str(), width, height, 0);
  const Fl_Offscreen offscreen =
      XCreatePixmap(fl_display, RootWindow(fl_display, fl_screen), static_cast<unsigned>(width),
                    static_cast<unsigned>(height), static_cast<unsigned>(fl_visual->depth));
  fl_begin_offscreen(offscreen);
  fl_color(background.red, background.green, background.blue);
  fl_rectf(0, 0, width, height);
  fl_color(FL_FOREGROUND_COLOR);
  fl_font(font, size);
  fl_draw(text.c_str(), 0, 0, width, height, FL_ALIGN_LEFT | FL_ALIGN_INSIDE, nullptr, 0);
  uchar* rgb = fl_read_image(nullptr, 0, 0, width, height);
  fl_end_offscreen();
  fl_delete_offscreen(offscreen);

  Image image(width, height);
  for (size_t i = 0; i < image.pixels.size(); ++i) image.pixels[i] = {rgb[3 * i], rgb[3 * i + 1], rgb[3 * i + 2]};
  delete[] rgb;
  const std::optional<Box> ink = ink_box(image, image.bounds(), background);
  return ink ? crop(image, *ink) : image;
}

TEST(LinuxDesktop, WaitingWindowShowsAttendereBeforeTheBuildStarts) {
  auto platform = make_platform();
  ASSERT_NE(dynamic_cast<FltkPlatform*>(platform.get()), nullptr) << "a display was there: the desktop backend";
  platform->show_waiting_window();
  // From here on nobody takes events: whatever is on the screen, the call drew.
  const XScreen eyes;
  const Window form = eyes.find_window(kWaitingWindowCaption);
  ASSERT_NE(form, None) << "no window captioned Form1";
  const Image shot = eyes.capture(form);
  write_png("linux_waiting_window.png", shot);

  EXPECT_EQ(shot.width, 280);
  EXPECT_EQ(shot.height, 179);
  const Rgb background = shot.at(0, 0);
  const std::optional<Box> ink = ink_box(shot, shot.bounds(), background);
  ASSERT_TRUE(ink) << "the window is blank";
  EXPECT_TRUE(kLabel.contains(*ink)) << "drawn outside the label: " << ink->left << "," << ink->top << " to "
                                     << ink->right << "," << ink->bottom;
  // "Attendere" at the label's top left, in a 24 point face (32 pixels here):
  // its capitals and ascenders stand about 23 pixels high where the default
  // 14 pixel face would give 10.
  EXPECT_LE(ink->left - kLabel.left, 4);
  EXPECT_LE(ink->top - kLabel.top, 12);
  EXPECT_GE(ink->height(), 20);
  EXPECT_GE(ink->width(), 140);
  // The whole word fits: the label keeps its text 3 pixels inside its edge, so a
  // word cut off by it inks right up to that inset.
  EXPECT_LT(ink->right, kLabel.right - 4) << "the label cuts its text off at " << ink->right;
}

TEST(LinuxDesktop, BuilderWithADisplayShowsAWindowAndBuildsAsWithout) {
  const testing::BuildOutcome reference =
      testing::build_in_empty_folder(SCENARIO_HEADLESS_REFERENCE_PATH, {"DISPLAY="});

  const XScreen eyes;
  const Window root = DefaultRootWindow(eyes.display());
  XSelectInput(eyes.display(), root, SubstructureNotifyMask);
  XSync(eyes.display(), False);
  const testing::BuildOutcome outcome = testing::build_in_empty_folder(SCENARIO_BUILDER_PATH, {});
  testing::expect_same_build(outcome, reference);

  int windows_shown = 0;
  XSync(eyes.display(), False);
  while (XPending(eyes.display()) > 0) {
    XEvent event;
    XNextEvent(eyes.display(), &event);
    if (event.type == MapNotify) ++windows_shown;
  }
  EXPECT_GE(windows_shown, 1) << "the builder showed no window while it worked";
}

TEST(LinuxDesktop, FatalReportWaitsForReturnThenEndsTheProcess) {
  testing::TempFolder folder;
  testing::TempFolder scratch;
  const std::string error_file = scratch.file("standard-error.txt");
  testing::ChildProcess probe(FATAL_REPORT_PROBE_PATH, {folder.path().string()}, error_file);

  const XScreen eyes;
  const Window box = eyes.wait_for_window(kApplicationTitle, seconds(20), [&] { return !probe.running(); });
  ASSERT_NE(box, None) << "no box captioned \"" << kApplicationTitle
                       << "\"; the probe said: " << testing::read_file(error_file);

  // The box draws itself once it is exposed: look until the text is there.
  Image shot;
  std::optional<Box> text;
  const auto end = std::chrono::steady_clock::now() + seconds(10);
  do {
    shot = eyes.capture(box);
    const Image expected = rendering_of(" Errore n. 1250", kFatalReportTextFont, kFatalReportTextSize, shot.at(1, 1));
    text = find_image(shot, expected, 8);
  } while (!text && std::chrono::steady_clock::now() < end);
  write_png("linux_fatal_report.png", shot);
  ASSERT_TRUE(text) << "the box does not show \" Errore n. 1250\"";

  const Image other_number = rendering_of(" Errore n. 1251", kFatalReportTextFont, kFatalReportTextSize, shot.at(1, 1));
  EXPECT_FALSE(find_image(shot, other_number, 8)) << "the text comparison does not tell numbers apart";
  const std::optional<Box> ok = find_image(shot, rendering_of("OK", FL_HELVETICA, FL_NORMAL_SIZE, shot.at(1, 1)), 8);
  EXPECT_TRUE(ok) << "no OK button";
  if (ok) {
    EXPECT_GT(ok->top, text->bottom) << "the button stands below the text";
  }
  // No icon before the text: the band the text stands in is empty to its left.
  EXPECT_FALSE(ink_box(shot, {0, text->top, text->left, text->bottom}, shot.at(1, 1)));

  EXPECT_TRUE(probe.running()) << "the process ended before OK was pressed";
  eyes.press_key_in(box, "Return");
  const std::optional<int> status = probe.wait_for(seconds(10));
  ASSERT_TRUE(status) << "Return did not close the box";
  EXPECT_EQ(*status, 1);
  EXPECT_EQ(testing::read_file(error_file), " Errore n. 1250\n");
  for (const char* compiled :
       {"ValdorenaC_Morlavesa_4721.dat", "ValdorenaC_Morlavesa_4721.sim", "ValdorenaC_Morlavesa_linea.dat"}) {
    EXPECT_FALSE(fs::exists(folder.path() / compiled)) << compiled << " written after a fatal report";
  }
}

}  // namespace
}  // namespace scenario::gui

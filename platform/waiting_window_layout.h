#pragma once

// The waiting window as the form was drawn: sizes in twips (1/1440 inch) and
// the label's font in points, turned into pixels with the screen's own
// resolution so that the window has the same physical size on every desktop.

namespace scenario {

inline constexpr char kWaitingWindowCaption[] = "Form1";
inline constexpr char kWaitingText[] = "Attendere";
// The face the form asks for; a desktop without it uses its closest sans-serif.
inline constexpr char kWaitingFontFace[] = "MS Sans Serif";
// Faces near it in width, in order of preference, for desktops without it.
inline constexpr char kWaitingFontFallbacks[] = "Liberation Sans,Arimo,Arial";
inline constexpr int kWaitingFontPoints = 24;
inline constexpr int kWaitingFontWeight = 700;  // bold

inline constexpr int kClientWidthTwips = 4200;
inline constexpr int kClientHeightTwips = 2688;
inline constexpr int kLabelLeftTwips = 960;
inline constexpr int kLabelTopTwips = 960;
inline constexpr int kLabelWidthTwips = 2652;
inline constexpr int kLabelHeightTwips = 792;

// Halves round away from zero, as the desktop's own scaling does (MulDiv).
int twips_to_pixels(int twips, double dots_per_inch);
int points_to_pixels(int points, double dots_per_inch);

struct WaitingWindowPixels {
  int client_width;
  int client_height;
  int label_left;
  int label_top;
  int label_width;
  int label_height;
  int font_height;  // the em height: the font's size in pixels, without internal leading
};

// Horizontal measures use the horizontal resolution, vertical ones and the
// font the vertical resolution.
WaitingWindowPixels waiting_window_pixels(double horizontal_dpi, double vertical_dpi);

}  // namespace scenario

// The frame background. Its panels and labels line up with where the editor places its controls.
#include <cmath>
#include <cstdint>
#include <string>

#include "SkinPainters.h"
#include "engine/Limits.h"

namespace skinart {
namespace {

using engine::kNoteNames;
constexpr double kColumnPitch = 63.0;

double ColumnLeft(int holder) { return 101.0 + kColumnPitch * holder; }
double KnobCentre(int holder) { return 130.0 + kColumnPitch * holder; }

// Fine horizontal grain, like brushed metal; the same every build.
void BrushedGrain(cairo_t* cairo) {
  uint32_t seed = 12345u;
  cairo_set_line_width(cairo, 1.0);
  for (int y = 0; y < kBackgroundHeight; ++y) {
    seed = seed * 1664525u + 1013904223u;
    const double alpha = ((seed >> 8) & 0xFF) / 255.0 * 0.045;
    cairo_set_source_rgba(cairo, (seed & 1u) ? 1.0 : 0.0, (seed & 1u) ? 1.0 : 0.0, (seed & 1u) ? 1.0 : 0.0, alpha);
    cairo_move_to(cairo, 0, y + 0.5);
    cairo_line_to(cairo, kBackgroundWidth, y + 0.5);
    cairo_stroke(cairo);
  }
}

// A lighter Plate that keys and knobs sit on; their bitmaps share its colour at the corners.
void Plate(cairo_t* cairo, double x, double y, double width, double height) {
  RoundedRect(cairo, x, y, width, height, 4.0);
  SetColor(cairo, kInsetLight);
  cairo_fill(cairo);
}

void KnobScale(cairo_t* cairo, double cx, double cy) {
  // Dots at the start, middle and end of the knob's travel.
  for (double position : {0.0, 0.5, 1.0}) {
    const double angle = 0.75 * M_PI + 1.5 * M_PI * position;
    cairo_arc(cairo, cx + std::cos(angle) * 17.5, cy + std::sin(angle) * 17.5, 1.1, 0.0, 2.0 * M_PI);
    SetColor(cairo, kDimLabel);
    cairo_fill(cairo);
  }
}

void Header(cairo_t* cairo) {
  // Emblem: a stylised wing in an amber ring.
  const double cx = 48.0;
  const double cy = 42.0;
  cairo_arc(cairo, cx, cy, 25.0, 0.0, 2.0 * M_PI);
  SetColor(cairo, kInset);
  cairo_fill_preserve(cairo);
  SetColor(cairo, kAmber);
  cairo_set_line_width(cairo, 2.5);
  cairo_stroke(cairo);
  cairo_move_to(cairo, cx - 15.0, cy + 8.0);
  cairo_curve_to(cairo, cx - 6.0, cy - 14.0, cx + 8.0, cy - 16.0, cx + 17.0, cy - 10.0);
  cairo_curve_to(cairo, cx + 6.0, cy - 8.0, cx + 1.0, cy - 2.0, cx - 2.0, cy + 4.0);
  cairo_curve_to(cairo, cx + 4.0, cy + 1.0, cx + 10.0, cy + 2.0, cx + 14.0, cy + 6.0);
  cairo_curve_to(cairo, cx + 4.0, cy + 6.0, cx - 6.0, cy + 10.0, cx - 15.0, cy + 8.0);
  cairo_close_path(cairo);
  SetColor(cairo, kAmber);
  cairo_fill(cairo);

  Label(cairo, "KESTRELHOLLOW", 88.0, 34.0, 30.0, {0.93, 0.94, 0.95}, Align::Left);
  Label(cairo, "SAMPLE DRUM MACHINE  \xC2\xB7  STEP SEQUENCER", 90.0, 60.0, 11.0, kAmber, Align::Left);
  // A row of small vents at the right.
  for (int i = 0; i < 14; ++i) {
    RoundedRect(cairo, 880.0 + i * 22.0, 26.0, 12.0, 32.0, 3.0);
    SetColor(cairo, kInset);
    cairo_fill(cairo);
  }
}

void HolderSection(cairo_t* cairo) {
  InsetPanel(cairo, 96.0, 84.0, 768.0, 316.0, 7.0);
  for (int holder = 0; holder < engine::kHolderCount; ++holder) {
    const double left = ColumnLeft(holder);
    Plate(cairo, left, 106.0, 60.0, 290.0);
    Label(cairo, kNoteNames[holder], KnobCentre(holder), 95.0, 11.0, kAmber);
    // The name display well.
    RoundedRect(cairo, left + 1.0, 158.0, 54.0, 16.0, 2.0);
    cairo_set_source_rgb(cairo, 0.0, 0.0, 0.0);
    cairo_fill(cairo);
    for (double knobTop : {189.0, 232.0, 275.0, 339.0}) KnobScale(cairo, KnobCentre(holder), knobTop + 15.0);
  }
  // Row captions in the margin, each level with its controls.
  const struct {
    const char* text;
    double middle;
  } rows[] = {{"SAMPLE", 119.0}, {"MUTE / SOLO", 142.5}, {"NAME", 166.0},   {"PAN", 204.0},   {"VOLUME", 247.0},
              {"PITCH", 290.0},  {"SWING", 317.0},       {"LENGTH", 354.0}, {"SELECT", 382.5}};
  for (const auto& row : rows) {
    Label(cairo, row.text, 90.0, row.middle, 9.0, kLabel, Align::Right);
    cairo_rectangle(cairo, 92.0, row.middle - 0.5, 6.0, 1.0);
    SetColor(cairo, kDimLabel);
    cairo_fill(cairo);
  }
}

void MasterSection(cairo_t* cairo) {
  InsetPanel(cairo, 872.0, 84.0, 326.0, 316.0, 7.0);
  Label(cairo, "MIX", 884.0, 100.0, 11.0, kAmber, Align::Left);
  Plate(cairo, 1056.0, 123.0, 42.0, 87.0);
  Label(cairo, "MASTER", 1050.0, 144.0, 10.0, kLabel, Align::Right);
  KnobScale(cairo, 1077.0, 144.0);
  Label(cairo, "SWING AMOUNT", 1050.0, 189.0, 10.0, kLabel, Align::Right);
  KnobScale(cairo, 1077.0, 189.0);
  // Divider between the level controls and the pattern controls.
  cairo_rectangle(cairo, 884.0, 232.0, 302.0, 1.0);
  cairo_set_source_rgba(cairo, 0.0, 0.0, 0.0, 0.6);
  cairo_fill(cairo);
  cairo_rectangle(cairo, 884.0, 233.0, 302.0, 1.0);
  cairo_set_source_rgba(cairo, 1.0, 1.0, 1.0, 0.08);
  cairo_fill(cairo);
  Label(cairo, "PATTERNS", 884.0, 246.0, 11.0, kAmber, Align::Left);
  Label(cairo, "BANK", 982.0, 264.0, 9.0, kLabel);
  Label(cairo, "STEPS / BAR", 1071.0, 264.0, 9.0, kLabel);
  Plate(cairo, 920.0, 269.0, 184.0, 127.0);
  Label(cairo, "RIGHT-CLICK", 1151.0, 336.0, 8.0, kDimLabel);
  Label(cairo, "TO COPY", 1151.0, 348.0, 8.0, kDimLabel);
  Label(cairo, "OR CLEAR", 1151.0, 360.0, 8.0, kDimLabel);
}

void SequencerSection(cairo_t* cairo) {
  InsetPanel(cairo, 96.0, 406.0, 1012.0, 128.0, 7.0);
  Label(cairo, "STEP SEQUENCER", 104.0, 420.0, 11.0, kAmber, Align::Left);
  for (int beat = 0; beat < 4; ++beat) {
    // A bracket over each beat of four steps.
    const double left = 104.0 + 63.0 * 4 * beat;
    const double right = left + 63.0 * 3 + 52.0;
    cairo_rectangle(cairo, left, 444.0, right - left, 1.5);
    SetColor(cairo, beat % 2 == 0 ? kAmber : kLabel, 0.55);
    cairo_fill(cairo);
    Label(cairo, "BEAT " + std::to_string(beat + 1), right, 436.0, 8.0, kDimLabel, Align::Right);
  }
  // The numbers under the step buttons follow the step group: the editor draws them.
  Plate(cairo, 100.0, 450.0, 1004.0, 66.0);
  Label(cairo, "STEPS", 90.0, 475.0, 9.0, kLabel, Align::Right);
  Label(cairo, "PLAYING", 90.0, 506.5, 9.0, kLabel, Align::Right);

  InsetPanel(cairo, 1112.0, 406.0, 86.0, 140.0, 7.0);
  Label(cairo, "GROUP", 1135.0, 420.0, 9.0, kLabel);
  Plate(cairo, 1114.0, 427.0, 42.0, 116.0);
}

void TransportSection(cairo_t* cairo) {
  InsetPanel(cairo, 96.0, 538.0, 1012.0, 52.0, 7.0);
  Label(cairo, "MODE", 90.0, 563.0, 9.0, kLabel, Align::Right);
  Plate(cairo, 100.0, 541.0, 250.0, 45.0);
  Label(cairo, "STOP  \xC2\xB7  RUN FREE  \xC2\xB7  FOLLOW HOST  \xC2\xB7  PLAY BY MIDI", 364.0, 556.0, 9.0, kDimLabel,
        Align::Left);
  Label(cairo, "NOTES 36-47 PLAY C-B  \xC2\xB7  NOTES 48-71 SELECT PATTERNS", 364.0, 571.0, 9.0, kDimLabel,
        Align::Left);
  Label(cairo, "RIGHT-CLICK THE PANEL FOR SIZE, DOWNMIX AND CLEAR ALL", 1100.0, 571.0, 8.0, kDimLabel, Align::Right);
}

}  // namespace

void PaintBackground(cairo_t* cairo) {
  cairo_rectangle(cairo, 0, 0, kBackgroundWidth, kBackgroundHeight);
  VerticalGradient(cairo, 0, kBackgroundHeight, kPanelTop, kPanelBottom);
  cairo_fill(cairo);
  BrushedGrain(cairo);
  // A bevel around the whole face.
  cairo_rectangle(cairo, 0.5, 0.5, kBackgroundWidth - 1.0, kBackgroundHeight - 1.0);
  cairo_set_source_rgba(cairo, 1.0, 1.0, 1.0, 0.12);
  cairo_set_line_width(cairo, 1.0);
  cairo_stroke(cairo);
  for (double x : {10.0, kBackgroundWidth - 10.0}) {
    for (double y : {10.0, kBackgroundHeight - 10.0}) Screw(cairo, x, y);
  }
  Header(cairo);
  HolderSection(cairo);
  MasterSection(cairo);
  SequencerSection(cairo);
  TransportSection(cairo);
}

}  // namespace skinart

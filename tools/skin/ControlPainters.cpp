#include <cmath>

#include "SkinPainters.h"

namespace skinart {
namespace {

constexpr double kKnobStart = 0.75 * M_PI;  // lower left
constexpr double kKnobSweep = 1.5 * M_PI;

void KnobFrame(cairo_t* cairo, double cx, double cy, double size, double value) {
  const double outer = size / 2.0 - 1.5;
  const double angle = kKnobStart + kKnobSweep * value;
  // Track and value arc.
  cairo_set_line_cap(cairo, CAIRO_LINE_CAP_ROUND);
  cairo_set_line_width(cairo, 2.2);
  cairo_arc(cairo, cx, cy, outer, kKnobStart, kKnobStart + kKnobSweep);
  cairo_set_source_rgb(cairo, 0.06, 0.065, 0.07);
  cairo_stroke(cairo);
  if (value > 0.0) {
    cairo_arc(cairo, cx, cy, outer, kKnobStart, angle);
    SetColor(cairo, kAmber);
    cairo_stroke(cairo);
  }
  // Body with a soft drop shadow and a metal cap.
  const double body = outer - 3.2;
  cairo_arc(cairo, cx, cy + 0.8, body + 0.6, 0.0, 2.0 * M_PI);
  cairo_set_source_rgba(cairo, 0.0, 0.0, 0.0, 0.6);
  cairo_fill(cairo);
  cairo_arc(cairo, cx, cy, body, 0.0, 2.0 * M_PI);
  cairo_pattern_t* shade = cairo_pattern_create_linear(0.0, cy - body, 0.0, cy + body);
  cairo_pattern_add_color_stop_rgb(shade, 0.0, 0.42, 0.44, 0.47);
  cairo_pattern_add_color_stop_rgb(shade, 1.0, 0.16, 0.17, 0.19);
  cairo_set_source(cairo, shade);
  cairo_fill(cairo);
  cairo_pattern_destroy(shade);
  cairo_arc(cairo, cx, cy, body - 2.0, 0.0, 2.0 * M_PI);
  cairo_pattern_t* cap = cairo_pattern_create_radial(cx - 2.0, cy - 3.0, 0.5, cx, cy, body - 2.0);
  cairo_pattern_add_color_stop_rgb(cap, 0.0, 0.50, 0.52, 0.55);
  cairo_pattern_add_color_stop_rgb(cap, 1.0, 0.24, 0.25, 0.27);
  cairo_set_source(cairo, cap);
  cairo_fill(cairo);
  cairo_pattern_destroy(cap);
  // Pointer.
  cairo_set_line_width(cairo, 2.0);
  cairo_move_to(cairo, cx + std::cos(angle) * 2.5, cy + std::sin(angle) * 2.5);
  cairo_line_to(cairo, cx + std::cos(angle) * (body - 0.5), cy + std::sin(angle) * (body - 0.5));
  cairo_set_source_rgb(cairo, 0.97, 0.97, 0.95);
  cairo_stroke(cairo);
  cairo_set_line_cap(cairo, CAIRO_LINE_CAP_BUTT);
}

void DrawGlyph(cairo_t* cairo, Glyph kind, double x, double y, double width, double height) {
  const double cx = x + width / 2.0;
  const double cy = y + height / 2.0;
  const double s = std::min(width, height);
  switch (kind) {
    case Glyph::Previous:
    case Glyph::Next: {
      const double dx = kind == Glyph::Next ? 1.0 : -1.0;
      cairo_move_to(cairo, cx - dx * s * 0.22, cy - s * 0.28);
      cairo_line_to(cairo, cx + dx * s * 0.26, cy);
      cairo_line_to(cairo, cx - dx * s * 0.22, cy + s * 0.28);
      cairo_close_path(cairo);
      cairo_fill(cairo);
      break;
    }
    case Glyph::Play:
      cairo_move_to(cairo, cx - s * 0.2, cy - s * 0.3);
      cairo_line_to(cairo, cx + s * 0.28, cy);
      cairo_line_to(cairo, cx - s * 0.2, cy + s * 0.3);
      cairo_close_path(cairo);
      cairo_fill(cairo);
      break;
    case Glyph::Folder:
      cairo_move_to(cairo, cx - s * 0.36, cy - s * 0.22);
      cairo_line_to(cairo, cx - s * 0.08, cy - s * 0.22);
      cairo_line_to(cairo, cx, cy - s * 0.12);
      cairo_line_to(cairo, cx + s * 0.36, cy - s * 0.12);
      cairo_line_to(cairo, cx + s * 0.36, cy + s * 0.26);
      cairo_line_to(cairo, cx - s * 0.36, cy + s * 0.26);
      cairo_close_path(cairo);
      cairo_fill(cairo);
      break;
    case Glyph::Up:
      cairo_move_to(cairo, cx - s * 0.3, cy + s * 0.12);
      cairo_line_to(cairo, cx, cy - s * 0.22);
      cairo_line_to(cairo, cx + s * 0.3, cy + s * 0.12);
      cairo_close_path(cairo);
      cairo_fill(cairo);
      cairo_rectangle(cairo, cx - s * 0.3, cy + s * 0.18, s * 0.6, s * 0.08);
      cairo_fill(cairo);
      break;
  }
}

// Covers the whole image in one colour, under what is drawn on it.
void FillImage(cairo_t* cairo, int width, int height, Rgb color) {
  cairo_rectangle(cairo, 0, 0, width, height);
  SetColor(cairo, color);
  cairo_fill(cairo);
}

}  // namespace

void PaintVersion(cairo_t* cairo, int width, int height, const std::string& version) {
  FillImage(cairo, width, height, kPanelBottom);
  Label(cairo, version, width / 2.0, height / 2.0, 8.0, kDimLabel);
}

void PaintKnobStrip(cairo_t* cairo, int width, int frameHeight, int frames) {
  FillImage(cairo, width, frameHeight * frames, kInsetLight);
  for (int frame = 0; frame < frames; ++frame) {
    const double value = frames > 1 ? static_cast<double>(frame) / (frames - 1) : 0.0;
    KnobFrame(cairo, width / 2.0, frameHeight * frame + frameHeight / 2.0, std::min(width, frameHeight), value);
  }
}

void PaintKeys(cairo_t* cairo, int width, int height, const std::vector<std::string>& stateLabels, Rgb light,
               double fontSize) {
  const int states = static_cast<int>(stateLabels.size());
  const double stateHeight = static_cast<double>(height) / states;
  FillImage(cairo, width, height, kInsetLight);
  for (int state = 0; state < states; ++state) {
    // Two-state keys are dark when off; multi-state selectors are lit in every state.
    const bool lit = states > 2 || state == 1;
    const double top = stateHeight * state;
    KeyFace(cairo, 0.0, top, width, stateHeight, lit, light);
    const Rgb text = lit ? Rgb{0.10, 0.07, 0.03} : kLabel;
    Label(cairo, stateLabels[static_cast<size_t>(state)], width / 2.0, top + stateHeight / 2.0, fontSize, text);
  }
}

void PaintLed(cairo_t* cairo, int width, int height) {
  const double half = height / 2.0;
  FillImage(cairo, width, height, kInsetLight);
  for (int state = 0; state < 2; ++state) {
    const double top = half * state;
    RoundedRect(cairo, 3.0, top + 2.5, width - 6.0, half - 5.0, 2.5);
    SetColor(cairo, state == 1 ? kAmber : kAmberDark, state == 1 ? 1.0 : 0.55);
    cairo_fill(cairo);
    if (state == 1) {
      RoundedRect(cairo, 1.5, top + 1.0, width - 3.0, half - 2.0, 3.5);
      SetColor(cairo, kAmber, 0.35);
      cairo_set_line_width(cairo, 1.5);
      cairo_stroke(cairo);
      RoundedRect(cairo, 5.0, top + 3.0, width - 10.0, 1.5, 0.75);
      cairo_set_source_rgba(cairo, 1.0, 1.0, 0.9, 0.6);
      cairo_fill(cairo);
    }
  }
}

void PaintGlyphKey(cairo_t* cairo, int width, int height, Glyph kind, Rgb light) {
  const double half = height / 2.0;
  FillImage(cairo, width, height, kInsetLight);
  for (int state = 0; state < 2; ++state) {
    const double top = half * state;
    KeyFace(cairo, 0.0, top, width, half, state == 1, light);
    if (state == 1) {
      cairo_set_source_rgb(cairo, 0.10, 0.07, 0.03);
    } else {
      SetColor(cairo, kLabel);
    }
    DrawGlyph(cairo, kind, 0.0, top, width, half);
  }
}

void PaintEntryIcon(cairo_t* cairo, int width, int height, EntryIcon icon) {
  cairo_rectangle(cairo, 0, 0, width, height);
  cairo_set_source_rgb(cairo, 0, 0, 0);
  cairo_fill(cairo);
  const double x = 4.0;
  const double w = width - 8.0;
  const double top = 2.5;
  const double h = height - 5.0;
  switch (icon) {
    case EntryIcon::Drive:
      RoundedRect(cairo, x, top + 2.0, w, h - 3.0, 1.5);
      SetColor(cairo, {0.62, 0.65, 0.70});
      cairo_fill(cairo);
      cairo_rectangle(cairo, x + w - 5.0, top + h - 4.0, 2.5, 1.5);
      SetColor(cairo, kGreen);
      cairo_fill(cairo);
      break;
    case EntryIcon::Directory:
      SetColor(cairo, kAmber);
      DrawGlyph(cairo, Glyph::Folder, x - 1.0, top - 3.0, w + 2.0, h + 6.0);
      break;
    case EntryIcon::File: {
      // A short waveform.
      SetColor(cairo, kBlue);
      cairo_set_line_width(cairo, 1.3);
      const double mid = height / 2.0;
      for (int i = 0; i <= static_cast<int>(w); i += 2) {
        const double amplitude = (h / 2.0) * std::exp(-i / (w * 0.55)) * (i % 4 == 0 ? 1.0 : 0.55);
        cairo_move_to(cairo, x + i + 0.5, mid - amplitude);
        cairo_line_to(cairo, x + i + 0.5, mid + amplitude);
      }
      cairo_stroke(cairo);
      break;
    }
  }
}

void PaintBrowserToolbar(cairo_t* cairo, int width, int height) {
  cairo_rectangle(cairo, 0, 0, width, height);
  VerticalGradient(cairo, 0, height, {0.26, 0.27, 0.29}, {0.15, 0.155, 0.165});
  cairo_fill(cairo);
  cairo_rectangle(cairo, 0, height - 1.0, width, 1.0);
  cairo_set_source_rgb(cairo, 0.0, 0.0, 0.0);
  cairo_fill(cairo);
  // The folder line takes the toolbar's length: no title of its own.
}

}  // namespace skinart

#include "SkinArt.h"

#include <cmath>

namespace skinart {

void SetColor(cairo_t* cairo, Rgb color, double alpha) {
  cairo_set_source_rgba(cairo, color.r, color.g, color.b, alpha);
}

Rgb Mix(Rgb a, Rgb b, double amount) {
  return {a.r + (b.r - a.r) * amount, a.g + (b.g - a.g) * amount, a.b + (b.b - a.b) * amount};
}

void RoundedRect(cairo_t* cairo, double x, double y, double width, double height, double radius) {
  const double r = std::min(radius, std::min(width, height) / 2.0);
  cairo_new_sub_path(cairo);
  cairo_arc(cairo, x + width - r, y + r, r, -M_PI / 2.0, 0.0);
  cairo_arc(cairo, x + width - r, y + height - r, r, 0.0, M_PI / 2.0);
  cairo_arc(cairo, x + r, y + height - r, r, M_PI / 2.0, M_PI);
  cairo_arc(cairo, x + r, y + r, r, M_PI, 1.5 * M_PI);
  cairo_close_path(cairo);
}

void VerticalGradient(cairo_t* cairo, double y0, double y1, Rgb top, Rgb bottom) {
  cairo_pattern_t* gradient = cairo_pattern_create_linear(0.0, y0, 0.0, y1);
  cairo_pattern_add_color_stop_rgb(gradient, 0.0, top.r, top.g, top.b);
  cairo_pattern_add_color_stop_rgb(gradient, 1.0, bottom.r, bottom.g, bottom.b);
  cairo_set_source(cairo, gradient);
  cairo_pattern_destroy(gradient);
}

void Label(cairo_t* cairo, const std::string& text, double x, double y, double size, Rgb color, Align align,
           bool bold) {
  cairo_select_font_face(cairo, "Arial", CAIRO_FONT_SLANT_NORMAL,
                         bold ? CAIRO_FONT_WEIGHT_BOLD : CAIRO_FONT_WEIGHT_NORMAL);
  cairo_set_font_size(cairo, size);
  cairo_text_extents_t extents;
  cairo_text_extents(cairo, text.c_str(), &extents);
  double left = x - extents.x_bearing;
  if (align == Align::Center) left = x - extents.width / 2.0 - extents.x_bearing;
  if (align == Align::Right) left = x - extents.width - extents.x_bearing;
  const double baseline = std::round(y - extents.height / 2.0 - extents.y_bearing);
  SetColor(cairo, color);
  cairo_move_to(cairo, std::round(left), baseline);
  cairo_show_text(cairo, text.c_str());
}

void InsetPanel(cairo_t* cairo, double x, double y, double width, double height, double radius) {
  RoundedRect(cairo, x, y, width, height, radius);
  VerticalGradient(cairo, y, y + height, kInset, Mix(kInset, kInsetLight, 0.5));
  cairo_fill(cairo);
  // Shadow along the top edge, light along the bottom edge.
  RoundedRect(cairo, x + 0.5, y + 0.5, width - 1.0, height - 1.0, radius);
  cairo_pattern_t* edge = cairo_pattern_create_linear(0.0, y, 0.0, y + height);
  cairo_pattern_add_color_stop_rgba(edge, 0.0, 0.0, 0.0, 0.0, 0.85);
  cairo_pattern_add_color_stop_rgba(edge, 0.5, 0.0, 0.0, 0.0, 0.35);
  cairo_pattern_add_color_stop_rgba(edge, 1.0, 1.0, 1.0, 1.0, 0.16);
  cairo_set_source(cairo, edge);
  cairo_set_line_width(cairo, 1.0);
  cairo_stroke(cairo);
  cairo_pattern_destroy(edge);
}

void KeyFace(cairo_t* cairo, double x, double y, double width, double height, bool lit, Rgb light) {
  const double radius = std::min(4.0, std::min(width, height) / 3.0);
  // Dark rim.
  RoundedRect(cairo, x, y, width, height, radius);
  cairo_set_source_rgb(cairo, 0.05, 0.05, 0.06);
  cairo_fill(cairo);
  RoundedRect(cairo, x + 1.0, y + 1.0, width - 2.0, height - 2.0, radius - 0.5);
  if (lit) {
    VerticalGradient(cairo, y, y + height, Mix(light, {1.0, 1.0, 1.0}, 0.35), Mix(light, {0.0, 0.0, 0.0}, 0.18));
  } else {
    VerticalGradient(cairo, y, y + height, {0.33, 0.345, 0.37}, {0.215, 0.225, 0.245});
  }
  cairo_fill(cairo);
  // A highlight on the upper third of the face.
  RoundedRect(cairo, x + 2.0, y + 1.5, width - 4.0, std::max(1.0, (height - 3.0) * 0.38), radius - 1.0);
  cairo_set_source_rgba(cairo, 1.0, 1.0, 1.0, lit ? 0.28 : 0.10);
  cairo_fill(cairo);
  if (lit) {
    // The glow that a lit key throws on its rim.
    RoundedRect(cairo, x + 0.5, y + 0.5, width - 1.0, height - 1.0, radius);
    SetColor(cairo, light, 0.55);
    cairo_set_line_width(cairo, 1.0);
    cairo_stroke(cairo);
  }
}

void Screw(cairo_t* cairo, double x, double y) {
  cairo_arc(cairo, x, y, 4.5, 0.0, 2.0 * M_PI);
  cairo_pattern_t* metal = cairo_pattern_create_radial(x - 1.5, y - 1.5, 0.5, x, y, 4.5);
  cairo_pattern_add_color_stop_rgb(metal, 0.0, 0.78, 0.79, 0.81);
  cairo_pattern_add_color_stop_rgb(metal, 1.0, 0.30, 0.31, 0.33);
  cairo_set_source(cairo, metal);
  cairo_fill(cairo);
  cairo_pattern_destroy(metal);
  cairo_set_source_rgba(cairo, 0.1, 0.1, 0.1, 0.9);
  cairo_set_line_width(cairo, 1.2);
  cairo_move_to(cairo, x - 3.0, y + 1.0);
  cairo_line_to(cairo, x + 3.0, y - 1.0);
  cairo_stroke(cairo);
}

}  // namespace skinart

// Drawing helpers and the palette of the built-in skin.
#pragma once

#include <cairo.h>

#include <string>

namespace skinart {

struct Rgb {
  double r, g, b;
};

// The palette: a charcoal panel, silk-screen labels, amber lights.
inline constexpr Rgb kPanelTop{0.215, 0.225, 0.240};
inline constexpr Rgb kPanelBottom{0.140, 0.145, 0.158};
inline constexpr Rgb kInset{0.105, 0.110, 0.120};
inline constexpr Rgb kInsetLight{0.165, 0.172, 0.185};
inline constexpr Rgb kLabel{0.80, 0.82, 0.85};
inline constexpr Rgb kDimLabel{0.52, 0.55, 0.59};
inline constexpr Rgb kAmber{1.00, 0.62, 0.14};
inline constexpr Rgb kAmberDark{0.42, 0.24, 0.06};
inline constexpr Rgb kRed{0.93, 0.26, 0.22};
inline constexpr Rgb kGreen{0.36, 0.86, 0.42};
inline constexpr Rgb kYellow{0.98, 0.86, 0.25};
inline constexpr Rgb kBlue{0.30, 0.66, 0.98};

void SetColor(cairo_t* cairo, Rgb color, double alpha = 1.0);
Rgb Mix(Rgb a, Rgb b, double amount);
void RoundedRect(cairo_t* cairo, double x, double y, double width, double height, double radius);
void VerticalGradient(cairo_t* cairo, double y0, double y1, Rgb top, Rgb bottom);

enum class Align { Left, Center, Right };
// Text with its vertical middle at y.
void Label(cairo_t* cairo, const std::string& text, double x, double y, double size, Rgb color,
           Align align = Align::Center, bool bold = true);

// A recessed area of the panel with a soft edge.
void InsetPanel(cairo_t* cairo, double x, double y, double width, double height, double radius = 5.0);
// A raised rubber-like key face; lit keys glow in the light colour.
void KeyFace(cairo_t* cairo, double x, double y, double width, double height, bool lit, Rgb light);
void Screw(cairo_t* cairo, double x, double y);

}  // namespace skinart

// A font by family name and pixel size. "Arial" resolves through fontconfig to an Arial-metric
// face (Liberation Sans on Linux).
#pragma once

#include <string>

namespace toolkit {

struct CFont {
  std::string family = "Arial";
  double size = 11.0;
  bool bold = false;
  bool operator==(const CFont&) const = default;
};

inline CFont ArialFont(double size) { return CFont{"Arial", size, false}; }

enum CHoriTxtAlign { kLeftText, kCenterText, kRightText };

}  // namespace toolkit

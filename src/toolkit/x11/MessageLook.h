// The look of the X11 backend's message window (Windows shows its own message box): the text
// in lines, an OK button below, the whole no larger than the screen.
#pragma once

#include <string>
#include <vector>

#include "toolkit/Geometry.h"
#include "toolkit/Image.h"

namespace toolkit {

struct MessageLayout {
  std::vector<std::string> lines;
  int width = 0;
  int height = 0;
  CRect button;
};

// Breaks the text into lines that fit the window, at spaces where possible and anywhere within
// a word wider than the window. Lines beyond what the screen's height holds are left out; the
// last line shown then ends in "...".
MessageLayout LayOutMessage(const std::string& text, int screenWidth, int screenHeight);

// Draws the message into an image of the layout's size; `pressed` shows the button held down.
void DrawMessage(const MessageLayout& layout, bool pressed, Image& image);

}  // namespace toolkit

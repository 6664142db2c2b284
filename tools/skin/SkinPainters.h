// The painters of the built-in skin's bitmaps. Each draws one whole bitmap whose size the
// caller gives; two-state bitmaps get their off image above the on image.
#pragma once

#include <cairo.h>

#include <string>
#include <vector>

#include "SkinArt.h"

namespace skinart {

constexpr int kBackgroundWidth = 1206;
constexpr int kBackgroundHeight = 616;
constexpr int kKnobFrames = 127;

void paintBackground(cairo_t* cairo);
void paintVersion(cairo_t* cairo, int width, int height, const std::string& version);
void paintKnobStrip(cairo_t* cairo, int width, int frameHeight, int frames);
// Key with a text label, lit in the light colour when on.
void paintKeys(cairo_t* cairo, int width, int height, const std::vector<std::string>& stateLabels, Rgb light,
               double fontSize);
void paintLed(cairo_t* cairo, int width, int height);
enum class Glyph { Previous, Next, Play, Folder, Up };
// A small key that shows a symbol.
void paintGlyphKey(cairo_t* cairo, int width, int height, Glyph glyph, Rgb light);
enum class EntryIcon { Drive, Directory, File };
void paintEntryIcon(cairo_t* cairo, int width, int height, EntryIcon icon);
void paintBrowserToolbar(cairo_t* cairo, int width, int height);

}  // namespace skinart

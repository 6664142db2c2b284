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

void PaintBackground(cairo_t* cairo);
void PaintVersion(cairo_t* cairo, int width, int height, const std::string& version);
void PaintKnobStrip(cairo_t* cairo, int width, int frameHeight, int frames);
// Key with a text label, lit in the light colour when on.
void PaintKeys(cairo_t* cairo, int width, int height, const std::vector<std::string>& stateLabels, Rgb light,
               double fontSize);
void PaintLed(cairo_t* cairo, int width, int height);
enum class Glyph { Previous, Next, Play, Folder, Up };
// A small key that shows a symbol.
void PaintGlyphKey(cairo_t* cairo, int width, int height, Glyph glyph, Rgb light);
enum class EntryIcon { Drive, Directory, File };
void PaintEntryIcon(cairo_t* cairo, int width, int height, EntryIcon icon);
void PaintBrowserToolbar(cairo_t* cairo, int width, int height);

}  // namespace skinart

// Draws every built-in bitmap of the skin as PNG, for the plug-in to find by resource number:
// on Linux as byte arrays in a C++ source that it compiles in, on Windows as PNG files that a
// resource script (.rc) puts into the module as numbered RCDATA resources.
#include <cairo.h>
#include <fontconfig/fontconfig.h>

#include <cstdio>
#include <fstream>
#include <functional>
#include <iostream>
#include <string>
#include <vector>

#include "SkinPainters.h"
#include "engine/Limits.h"

namespace {

using namespace skinart;

struct Resource {
  int id;
  std::string name;
  int width;
  int height;
  std::function<void(cairo_t*)> paint;
};

std::vector<Resource> SkinResources(const std::string& version) {
  auto keys = [](int width, int height, std::vector<std::string> labels, Rgb light, double font) {
    return [=](cairo_t* cairo) { PaintKeys(cairo, width, height, labels, light, font); };
  };
  auto glyphKey = [](int width, int height, Glyph glyph, Rgb light) {
    return [=](cairo_t* cairo) { PaintGlyphKey(cairo, width, height, glyph, light); };
  };
  std::vector<Resource> resources = {
      {101, "Background", kBackgroundWidth, kBackgroundHeight, PaintBackground},
      {150, "version", 53, 10, [=](cairo_t* cairo) { PaintVersion(cairo, 53, 10, version); }},
      {113, "btnMute", 26, 42, keys(26, 42, {"M", "M"}, kRed, 10.0)},
      {148, "btnSolo", 26, 42, keys(26, 42, {"S", "S"}, kYellow, 10.0)},
      {108, "btnFolder", 21, 36, glyphKey(21, 36, Glyph::Folder, kAmber)},
      {118, "btnPrevSample", 11, 20, glyphKey(11, 20, Glyph::Previous, kAmber)},
      {114, "btnNextSample", 11, 20, glyphKey(11, 20, Glyph::Next, kAmber)},
      {153, "btnPlayPreview", 11, 22, glyphKey(11, 22, Glyph::Play, kGreen)},
      {102, "ampLevelKnob", 30, 30 * kKnobFrames, [](cairo_t* cairo) { PaintKnobStrip(cairo, 30, 30, kKnobFrames); }},
      {154, "btnSwing", 45, 36, keys(45, 36, {"SWING", "SWING"}, kAmber, 8.0)},
      {131, "btnPtnOct2", 52, 38, keys(52, 38, {"OCT 2", "OCT 2"}, kBlue, 9.0)},
      {132, "btnPtnOct3", 52, 38, keys(52, 38, {"OCT 3", "OCT 3"}, kBlue, 9.0)},
      {110, "btnLed", 51, 22, [](cairo_t* cairo) { PaintLed(cairo, 51, 22); }},
      {147, "btnSeq", 52, 80, keys(52, 80, {"", ""}, kAmber, 9.0)},
      {149, "btnStop", 52, 80, keys(52, 80, {"STOP", "STOP"}, kRed, 10.0)},
      {155, "btnResolution", 52, 76, keys(52, 76, {"16", "32", "64", "128"}, kBlue, 10.0)},
      {157, "btnSequencerMode", 52, 76, keys(52, 76, {"MODE 1", "MODE 2", "MODE 3", "MODE 4"}, kBlue, 8.0)},
      {133, "btnRun", 52, 80, keys(52, 80, {"RUN", "RUN"}, kGreen, 10.0)},
      {109, "btnHSync", 52, 80, keys(52, 80, {"HOST", "HOST"}, kGreen, 10.0)},
      {112, "btnMidi", 52, 80, keys(52, 80, {"MIDI", "MIDI"}, kGreen, 10.0)},
      // The browser's bitmaps.
      {103, "brwDirBg", 23, 15, [](cairo_t* cairo) { PaintEntryIcon(cairo, 23, 15, EntryIcon::Directory); }},
      {104, "brwDrvBg", 23, 15, [](cairo_t* cairo) { PaintEntryIcon(cairo, 23, 15, EntryIcon::Drive); }},
      {105, "brwFileBg", 23, 15, [](cairo_t* cairo) { PaintEntryIcon(cairo, 23, 15, EntryIcon::File); }},
      {106, "brwUpDirBg", 30, 40, glyphKey(30, 40, Glyph::Up, kAmber)},
      {152, "BrowserToolbarBg", 752, 20, [](cairo_t* cairo) { PaintBrowserToolbar(cairo, 752, 20); }},
  };
  // The holder select, pattern and step group buttons are blank: the editor letters them at
  // its current size (note names and step ranges), which stays readable when it is small.
  for (int i = 0; i < engine::kHolderCount; ++i) {
    resources.push_back({134 + i, "btnSel" + std::to_string(i + 1), 52, 38, keys(52, 38, {"", ""}, kAmber, 10.0)});
    resources.push_back({119 + i, "btnPtn" + std::to_string(i + 1), 52, 38, keys(52, 38, {"", ""}, kAmber, 10.0)});
  }
  for (int g = 0; g < 8; ++g) {
    const std::string range = std::to_string(16 * g + 1) + "-" + std::to_string(16 * g + 16);
    resources.push_back({158 + g, "btnSeqGroupNrs-" + range, 36, 26, keys(36, 26, {"", ""}, kAmber, 8.0)});
  }
  return resources;
}

cairo_status_t AppendBytes(void* closure, const unsigned char* data, unsigned int length) {
  static_cast<std::vector<unsigned char>*>(closure)->insert(static_cast<std::vector<unsigned char>*>(closure)->end(),
                                                            data, data + length);
  return CAIRO_STATUS_SUCCESS;
}

std::vector<unsigned char> Render(const Resource& resource) {
  cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, resource.width, resource.height);
  cairo_t* cairo = cairo_create(surface);
  cairo_font_options_t* options = cairo_font_options_create();
  cairo_font_options_set_antialias(options, CAIRO_ANTIALIAS_GRAY);
  cairo_font_options_set_hint_style(options, CAIRO_HINT_STYLE_SLIGHT);
  cairo_set_font_options(cairo, options);
  cairo_font_options_destroy(options);
  resource.paint(cairo);
  cairo_destroy(cairo);
  std::vector<unsigned char> png;
  cairo_surface_write_to_png_stream(surface, AppendBytes, &png);
  cairo_surface_destroy(surface);
  return png;
}

std::string PngPath(const std::string& folder, const Resource& resource) {
  return folder + "/" + resource.name + ".png";
}

void WriteSource(std::ostream& out, const std::vector<Resource>& resources,
                 const std::vector<std::vector<unsigned char>>& images) {
  out << "// Generated by the skin generator; do not edit.\n#include \"editor/BuiltInSkin.h\"\n\n#include <cstdint>\n\n"
         "namespace editor {\nnamespace {\n\n";
  for (size_t i = 0; i < resources.size(); ++i) {
    out << "// " << resources[i].name << ", " << resources[i].width << " x " << resources[i].height << "\n";
    out << "const uint8_t kResource" << resources[i].id << "[] = {";
    for (size_t b = 0; b < images[i].size(); ++b) {
      if (b % 24 == 0) out << "\n";
      out << static_cast<int>(images[i][b]) << ",";
    }
    out << "\n};\n\n";
  }
  out << "}  // namespace\n\nstd::span<const uint8_t> BuiltInResource(int32_t resourceId) {\n  switch (resourceId) {\n";
  for (const Resource& resource : resources) {
    out << "    case " << resource.id << ":\n      return kResource" << resource.id << ";\n";
  }
  out << "    default:\n      return {};\n  }\n}\n\n}  // namespace editor\n";
}

// The resource compiler reads the quoted file names with C escapes.
void WriteResourceScript(std::ostream& out, const std::vector<Resource>& resources, const std::string& folder) {
  out << "// Generated by the skin generator; do not edit.\n";
  for (const Resource& resource : resources) {
    std::string path;
    for (const char c : PngPath(folder, resource)) {
      if (c == '\\' || c == '"') path += '\\';
      path += c;
    }
    out << resource.id << " RCDATA \"" << path << "\"\n";
  }
}

bool EndsWith(const std::string& text, const std::string& ending) {
  return text.size() >= ending.size() && text.compare(text.size() - ending.size(), ending.size(), ending) == 0;
}

}  // namespace

int main(int argc, char** argv) {
  const bool resourceScript = argc > 2 && EndsWith(argv[2], ".rc");
  if (argc < 3 || (resourceScript && argc < 4)) {
    std::cerr << "usage: " << argv[0] << " VERSION OUTPUT.cpp [PNG-FOLDER]\n"
              << "       " << argv[0] << " VERSION OUTPUT.rc PNG-FOLDER\n";
    return 2;
  }
  const auto resources = SkinResources(argv[1]);
  std::vector<std::vector<unsigned char>> images;
  for (const Resource& resource : resources) {
    images.push_back(Render(resource));
    if (argc > 3) {
      std::ofstream png(PngPath(argv[3], resource), std::ios::binary);
      png.write(reinterpret_cast<const char*>(images.back().data()),
                static_cast<std::streamsize>(images.back().size()));
    }
  }
  std::ofstream out(argv[2]);
  if (resourceScript) {
    WriteResourceScript(out, resources, argv[3]);
  } else {
    WriteSource(out, resources, images);
  }
  // Lets go of Cairo's and fontconfig's caches, so that leak checkers see a clean exit.
  cairo_debug_reset_static_data();
  FcFini();
  return out ? 0 : 1;
}

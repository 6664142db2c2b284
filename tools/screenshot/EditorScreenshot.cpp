// Draws the editor of a plug-in bundle, as a new instance shows it (default preset loaded, the
// stored size), into a PNG file. Used for the picture in the README:
//   kh_editor_screenshot <bundle folder> <output.png>
#include <cairo.h>

#include <cstdio>
#include <string>

#include "editor/Gui.h"
#include "editor/MainMenuFrame.h"
#include "plugin/Vst.h"

namespace {

bool WritePng(const toolkit::Image& image, const std::string& path) {
  // The frame's pixels are already in Cairo's premultiplied ARGB layout.
  cairo_surface_t* surface =
      cairo_image_surface_create_for_data(reinterpret_cast<unsigned char*>(const_cast<uint32_t*>(image.data())),
                                          CAIRO_FORMAT_ARGB32, image.width(), image.height(), image.stride());
  const bool written = cairo_surface_write_to_png(surface, path.c_str()) == CAIRO_STATUS_SUCCESS;
  cairo_surface_destroy(surface);
  return written;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: %s <bundle folder> <output.png>\n", argv[0]);
    return 2;
  }
  std::string bundle = argv[1];
  if (bundle.empty() || bundle.back() != '/') bundle += '/';
  plugin::Vst effect(nullptr, plugin::EffectEnvironment{bundle, {}});
  auto& gui = static_cast<editor::Gui&>(effect.editorLink());
  gui.openOffscreen();
  gui.idle();
  toolkit::CFrame& frame = *gui.mainMenuFrame();
  frame.render({0.0, 0.0, frame.getWidth(), frame.getHeight()});
  if (!WritePng(frame.image(), argv[2])) {
    std::fprintf(stderr, "cannot write %s\n", argv[2]);
    return 1;
  }
  return 0;
}

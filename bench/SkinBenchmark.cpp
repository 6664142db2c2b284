// The cost of a change of the editor's size (every skin bitmap restored and rescaled) and of
// drawing the whole background once.
#include <X11/Xlib.h>
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <vector>

#include "editor/BuiltInSkin.h"
#include "toolkit/CFrame.h"
#include "widgets/CBitmapEx.h"

namespace {

// The editor's 57 skin bitmaps by resource number, and the browser's five.
std::vector<int32_t> SkinResourceIds() {
  std::vector<int32_t> ids = {101, 150, 113, 148, 108, 118, 114, 153, 102, 102, 102, 154, 102, 102, 102};
  for (int32_t id = 134; id <= 145; ++id) ids.push_back(id);
  ids.insert(ids.end(), {131, 132});
  for (int32_t id = 119; id <= 130; ++id) ids.push_back(id);
  ids.insert(ids.end(), {110, 147, 149, 155, 157});
  for (int32_t id = 158; id <= 165; ++id) ids.push_back(id);
  ids.insert(ids.end(), {133, 109, 112, 104, 103, 106, 105, 152});
  return ids;
}

struct Skin {
  Skin() {
    editor::InstallBuiltInSkin();
    for (int32_t id : SkinResourceIds()) bitmaps.push_back(new widgets::CBitmapEx(id, "/nonexistent/skin.bmp"));
  }
  ~Skin() {
    for (auto* bitmap : bitmaps) bitmap->forget();
  }
  void scaleTo(float factor) {
    for (auto* bitmap : bitmaps) bitmap->restoreToOriginal();
    for (auto* bitmap : bitmaps) bitmap->resize(factor);
  }
  std::vector<widgets::CBitmapEx*> bitmaps;
};

void RestoreAndResizeWholeSkin(benchmark::State& state) {
  Skin skin;
  const float factor = static_cast<float>(state.range(0)) / 100.0f;
  for (auto _ : state) {
    skin.scaleTo(factor);
    benchmark::DoNotOptimize(skin.bitmaps.front()->handle());
  }
  state.SetLabel(std::to_string(skin.bitmaps.size()) + " bitmaps");
}
BENCHMARK(RestoreAndResizeWholeSkin)->Arg(60)->Arg(100)->Unit(benchmark::kMillisecond);

void ResizeWholeSkinTo60AndBackTo100(benchmark::State& state) {
  Skin skin;
  for (auto _ : state) {
    skin.scaleTo(0.6f);
    skin.scaleTo(1.0f);
    benchmark::DoNotOptimize(skin.bitmaps.front()->handle());
  }
}
BENCHMARK(ResizeWholeSkinTo60AndBackTo100)->Unit(benchmark::kMillisecond);

// The frame draws the full background into its image, as a window's frame does before it shows
// the image. Argument 1 also shows it in a real window: set KH_BENCH_X11=1 and point DISPLAY at
// a display of your choice (an Xvfb, say); the benchmark never opens a window otherwise.
void DrawFullBackground(benchmark::State& state) {
  const bool intoWindow = state.range(0) == 1;
  Display* display = nullptr;
  if (intoWindow && (!std::getenv("KH_BENCH_X11") || !(display = XOpenDisplay(nullptr)))) {
    state.SkipWithError("set KH_BENCH_X11=1 and DISPLAY to draw into a window");
    return;
  }
  editor::InstallBuiltInSkin();
  auto* background = new widgets::CBitmapEx(101, "/nonexistent/skin.bmp");
  const toolkit::CRect size{0, 0, background->getWidth(), background->getHeight()};
  Window host = 0;
  if (display) {
    host = XCreateSimpleWindow(display, DefaultRootWindow(display), 0, 0, 1206, 616, 0, 0, 0);
    XMapWindow(display, host);
    XSync(display, False);
  }
  auto* frame = new toolkit::CFrame(size, display ? reinterpret_cast<void*>(host) : nullptr, nullptr);
  frame->setBackground(background);
  background->forget();
  for (auto _ : state) {
    frame->invalidRect(size);
    frame->updateDirty();
    benchmark::DoNotOptimize(frame->image().data());
  }
  frame->forget();
  if (display) {
    XDestroyWindow(display, host);
    XCloseDisplay(display);
  }
}
BENCHMARK(DrawFullBackground)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

}  // namespace

// Listing a folder of 20 000 accepted sample files, and building the browser's buttons for it.
#include <benchmark/benchmark.h>
#include <stdlib.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <stdexcept>
#include <string>

#include "browser/Browser.h"
#include "browser/VstBrowser.h"

namespace {

constexpr int kFileCount = 20000;

// A temporary folder of kFileCount empty ".wav" files, made once and removed at exit.
class SampleFolder {
 public:
  SampleFolder() {
    std::string pattern = (std::filesystem::temp_directory_path() / "kh-bench-browser-XXXXXX").string();
    if (::mkdtemp(pattern.data()) == nullptr) throw std::runtime_error("cannot create a temporary folder");
    root_ = pattern;
    char name[32];
    for (int index = 0; index < kFileCount; ++index) {
      std::snprintf(name, sizeof name, "sample%05d.wav", index);
      std::ofstream(root_ / name).put('x');
    }
  }
  ~SampleFolder() {
    std::error_code ignored;
    std::filesystem::remove_all(root_, ignored);
  }
  std::string path() const { return root_.string() + '/'; }

 private:
  std::filesystem::path root_;
};

const SampleFolder& Folder() {
  static const SampleFolder folder;
  return folder;
}

void BM_ListFolder(benchmark::State& state) {
  browser::Browser model;
  model.setFilter(browser::kSampleFileTypes);
  model.setPath(Folder().path());
  for (auto _ : state) {
    const auto entries = model.getEntries();
    if (entries.size() != kFileCount) state.SkipWithError("unexpected listing");
    benchmark::DoNotOptimize(entries.data());
  }
}
BENCHMARK(BM_ListFolder)->Unit(benchmark::kMillisecond);

// What a user waits for when a panel first opens on the folder: listing plus one button per file.
void BM_ListAndBuildButtons(benchmark::State& state) {
  const browser::EntryBitmaps icons;
  toolkit::CControl browseButton({0.0, 0.0, 20.0, 20.0});
  for (auto _ : state) {
    state.PauseTiming();
    auto* panel =
        new browser::VstBrowser(browser::kBrowserPanelRect, nullptr, &browseButton, "/nonexistent/", icons, nullptr);
    panel->setFilter(browser::kSampleFileTypes);
    panel->navigateTo(Folder().path(), false);
    state.ResumeTiming();
    panel->showListing();
    if (panel->buttonCount() != kFileCount) state.SkipWithError("unexpected button count");
    state.PauseTiming();
    panel->forget();
    state.ResumeTiming();
  }
}
BENCHMARK(BM_ListAndBuildButtons)->Unit(benchmark::kMillisecond);

// Going back up to a folder that is already listed: releasing the old grid and building anew.
void BM_RebuildButtons(benchmark::State& state) {
  const browser::EntryBitmaps icons;
  toolkit::CControl browseButton({0.0, 0.0, 20.0, 20.0});
  auto* panel =
      new browser::VstBrowser(browser::kBrowserPanelRect, nullptr, &browseButton, "/nonexistent/", icons, nullptr);
  panel->setFilter(browser::kSampleFileTypes);
  panel->navigateTo(Folder().path(), false);
  panel->showListing();
  for (auto _ : state) panel->buildButtons();
  panel->forget();
}
BENCHMARK(BM_RebuildButtons)->Unit(benchmark::kMillisecond);

}  // namespace

// The editor's costs that a user feels: opening it until the first complete picture, changing its
// size from 100 % to 60 %, and idling open while the transport plays. Offscreen (the frame draws
// into its own image; showing that image on an X display is the window backend's cost).
#include <benchmark/benchmark.h>

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "editor/Gui.h"
#include "editor/MainMenuFrame.h"
#include "engine/HostTime.h"
#include "plugin/Vst.h"

namespace {

// A plug-in directory of the benchmark's own, so that size changes write no user's file.
struct Folder {
  Folder() {
    std::string pattern = (std::filesystem::temp_directory_path() / "kh-bench-gui-XXXXXX").string();
    path = std::string(mkdtemp(pattern.data())) + "/";
  }
  ~Folder() { std::filesystem::remove_all(path); }
  std::string path;
};

struct Editor {
  explicit Editor(const std::string& folder)
      : effect(std::make_unique<plugin::Vst>(nullptr, plugin::EffectEnvironment{folder, {}})),
        gui(static_cast<editor::Gui&>(effect->editorLink())) {}
  std::unique_ptr<plugin::Vst> effect;
  editor::Gui& gui;
};

void BM_OpenToFirstCompleteDraw(benchmark::State& state) {
  Folder folder;
  for (auto _ : state) {
    state.PauseTiming();
    auto editor = std::make_unique<Editor>(folder.path);
    state.ResumeTiming();
    editor->gui.openOffscreen();
    editor->gui.mainMenuFrame()->updateDirty();
    state.PauseTiming();
    editor.reset();
    state.ResumeTiming();
  }
}
BENCHMARK(BM_OpenToFirstCompleteDraw)->Unit(benchmark::kMillisecond);

void BM_ScaleFrom100To60Percent(benchmark::State& state) {
  Folder folder;
  Editor editor(folder.path);
  editor.gui.openOffscreen();
  for (auto _ : state) {
    editor.gui.setGuiScale(0.6f);
    editor.gui.mainMenuFrame()->updateDirty();
    state.PauseTiming();
    editor.gui.setGuiScale(1.0f);
    editor.gui.mainMenuFrame()->updateDirty();
    state.ResumeTiming();
  }
}
BENCHMARK(BM_ScaleFrom100To60Percent)->Unit(benchmark::kMillisecond);

// One host idle call every 30 ms while the sequencer runs at 120 BPM: the position LEDs move
// every fourth call or so, and the timer refreshes at every call. CPU share of an open editor = time per call / 30 ms.
void BM_IdleWhileTheTransportPlays(benchmark::State& state) {
  constexpr int32_t kFramesPerIdle = 1440;  // 30 ms at 48 kHz
  Folder folder;
  Editor editor(folder.path);
  editor.gui.openOffscreen();
  editor.gui.mainMenuFrame()->updateDirty();
  engine::DrumEngine& engine = editor.effect->instrument().engine();
  engine.setSyncMode(engine::SyncMode::Run);
  engine::HostTime time;
  time.available = time.playing = time.ppqValid = time.tempoValid = true;
  time.sampleRate = 48000.0;
  time.tempo = 120.0;
  std::vector<std::vector<float>> outputs(engine::kOutputCount, std::vector<float>(kFramesPerIdle));
  std::vector<float*> pointers;
  for (auto& output : outputs) pointers.push_back(output.data());
  for (auto _ : state) {
    state.PauseTiming();
    engine.renderBlock(time, pointers.data(), kFramesPerIdle);
    state.ResumeTiming();
    // The timer's refresh as it runs in the idle call (ticks after the first find the flags clear).
    editor.gui.notify(nullptr, toolkit::kMsgTimer);
    editor.gui.idle();
  }
}
BENCHMARK(BM_IdleWhileTheTransportPlays)->Unit(benchmark::kMicrosecond);

}  // namespace

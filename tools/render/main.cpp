// kestrelhollow-render: a command-line VST 2.x host that renders the plug-in to audio files.
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <optional>
#include <string>
#include <vector>

#include "AudioOutput.h"
#include "Failure.h"
#include "MidiFile.h"
#include "Options.h"
#include "PluginHost.h"
#include "PendingFile.h"
#include "PluginLocation.h"
#include "ProjectText.h"
#include "Renderer.h"
#include "StateFile.h"
#include "Transport.h"
#include "engine/PatternStore.h"
#include "platform/Console.h"
#include "platform/Messages.h"

namespace render {
namespace {

// The unique ID of the Kestrelhollow plug-in ('kshw').
constexpr int32_t kKestrelhollowId = vst::FourCharCode('k', 's', 'h', 'w');

// The chunk to load into the plug-in: the state file's or the plug-in's own, with the modes
// and pattern the command line asks for. Empty when the plug-in keeps the state it has.
std::string ChunkToLoad(const Options& options, PluginHost& host, std::optional<SyncMode> mode) {
  std::string chunk;
  if (!options.statePath.empty()) chunk = ReadStateChunk(options.statePath, host.uniqueId());
  if (!mode && !options.sound && !options.patternNote) return chunk;
  std::string text = TextOfChunk(chunk.empty() ? host.getChunk() : chunk);
  if (!LooksLikeProjectText(text)) {
    throw Failure(options.statePath.empty() ? ExitCode::PluginUnusable : ExitCode::InputUnreadable,
                  "--mode, --sound and --pattern need a Kestrelhollow project as the state; this one is not");
  }
  if (mode) text = WithSyncMode(text, *mode);
  if (options.sound) text = WithSoundMode(text, *options.sound);
  if (options.patternNote) text = WithCurrentPattern(text, *options.patternNote - kFirstPatternNote);
  return ChunkOfText(text);
}

// Hands the state to the plug-in. Hosts ignore what effSetChunk answers, so most plug-ins
// answer anything; ours answers 0 when it refuses the text (another version, damaged) and
// has then shown its reason already: with no display (see PluginHost) its messages come to
// standard error, just before ours. So a refusal is taken at its word from our plug-in only.
void LoadState(PluginHost& host, const std::string& chunk, const Options& options) {
  if (host.setChunk(chunk) == 0 && host.uniqueId() == kKestrelhollowId) {
    const std::string source = options.statePath.empty() ? "its own state" : options.statePath;
    throw Failure(ExitCode::InputUnreadable, "The plug-in refused " + source + "; its message above says why");
  }
}

int64_t FramesToRender(const Options& options, const Transport& transport, const MidiFile* midi) {
  double frames = kDefaultBars * transport.framesPerBar();
  if (options.seconds) {
    frames = *options.seconds * options.sampleRate;
  } else if (options.bars) {
    frames = *options.bars * transport.framesPerBar();
  } else if (midi != nullptr) {
    if (midi->lengthSeconds > kLongestMidiSeconds) {
      throw Failure(ExitCode::InputUnreadable,
                    "The MIDI file " + options.midiPath + " lasts " +
                        std::to_string(std::llround(midi->lengthSeconds)) +
                        " s, more than 24 hours; give --seconds or --bars to render a part of it");
    }
    frames = (midi->lengthSeconds + kMidiTailSeconds) * options.sampleRate;
  }
  return std::max<int64_t>(1, std::llround(frames));
}

// The plug-in's state as a project text; throws Failure(PluginUnusable) for another plug-in's.
std::string ProjectTextOf(PluginHost& host, const std::string& option) {
  std::string text = TextOfChunk(host.getChunk());
  if (!LooksLikeProjectText(text)) {
    throw Failure(ExitCode::PluginUnusable, option + " needs a plug-in whose state is a Kestrelhollow project");
  }
  return text;
}

void Run(const Options& options) {
  std::optional<MidiFile> midi;
  if (!options.midiPath.empty()) midi = ReadMidiFile(options.midiPath, options.sampleRate);
  std::optional<SyncMode> mode = options.mode;
  if (!mode && midi) mode = SyncMode::Midi;

  PluginHost host(options.pluginPath.empty() ? FindPlugin() : options.pluginPath);
  host.configure(options.sampleRate, options.blockSize);
  if (const std::string chunk = ChunkToLoad(options, host, mode); !chunk.empty()) LoadState(host, chunk, options);
  for (const auto& [name, value] : options.parameters) {
    const int32_t index = host.findParameter(name);
    if (index < 0) throw Failure(ExitCode::BadArguments, "The plug-in has no parameter named '" + name + "'");
    host.setParameter(index, value);
  }
  if (!options.saveFxpPath.empty()) {
    SaveProgram(options.saveFxpPath, host.getChunk(), host.uniqueId(), host.effectVersion(), host.programName());
    std::printf("Saved the state to %s\n", options.saveFxpPath.c_str());
  }
  if (!options.saveTextPath.empty()) {
    WriteWholeFile(options.saveTextPath, ProjectTextOf(host, "--save-text"));
    std::printf("Saved the project text to %s\n", options.saveTextPath.c_str());
  }
  const double midiTempo = midi && midi->initialTempo ? *midi->initialTempo : kDefaultTempo;
  const double tempo = options.tempo.value_or(midiTempo);
  if (!options.exportMidiPath.empty()) {
    std::optional<int> pattern;
    if (options.patternNote) pattern = *options.patternNote - kFirstPatternNote;
    WriteWholeFile(options.exportMidiPath, PatternsAsMidi(ProjectTextOf(host, "--export-midi"), pattern, tempo));
    const std::string exported = pattern ? "pattern " + engine::PatternName(*pattern) : "all patterns";
    std::printf("Saved %s as MIDI to %s\n", exported.c_str(), options.exportMidiPath.c_str());
  }
  if (options.outputPath.empty()) return;

  const Transport transport(options.sampleRate, tempo);
  const RenderPlan plan{FramesToRender(options, transport, midi ? &*midi : nullptr), options.blockSize};
  AudioOutput output(options.outputPath, options.layout, host.outputCount(), options.sampleRate, plan.frames);

  transport.describeBlock(0, host.timeInfo());
  host.resume();
  const std::vector<TimedMidiMessage> noMidi;
  const double wallSeconds =
      Render(host, transport, plan, midi ? midi->messages : noMidi, output, platform::StopRequested());
  host.suspend();
  output.finish();

  const double audioSeconds = static_cast<double>(plan.frames) / options.sampleRate;
  std::printf("Rendered %.2f s of audio at %.1f beats per minute in %.3f s: realtime factor %.1f\n", audioSeconds,
              tempo, wallSeconds, audioSeconds / std::max(wallSeconds, 1e-9));
  for (const std::string& path : output.paths()) std::printf("Wrote %s\n", path.c_str());
}

}  // namespace
}  // namespace render

int main(int argc, char** argv) {
  using namespace render;
  // A command-line tool reports on standard error, whatever the default sink is.
  platform::SetMessageSink([](const std::string& caption, const std::string& text) {
    std::fprintf(stderr, "kestrelhollow-render: %s: %s\n", caption.c_str(), text.c_str());
  });
  platform::CatchStopRequests();
  try {
    const Options options = ParseOptions(std::vector<std::string>(argv + 1, argv + argc));
    if (options.showHelp || options.showVersion) {
      std::fputs((options.showHelp ? UsageText() : VersionText()).c_str(), stdout);
      return 0;
    }
    Run(options);
    return static_cast<int>(ExitCode::Ok);
  } catch (const Failure& failure) {
    platform::ShowMessage("Error", failure.what());
    return static_cast<int>(failure.code());
  } catch (const std::exception& error) {
    platform::ShowMessage("Error", std::string("The render failed: ") + error.what());
    return static_cast<int>(ExitCode::RenderFailed);
  }
}

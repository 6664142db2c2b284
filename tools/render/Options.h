// The command line of kestrelhollow-render, checked and turned into settings.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace render {

// Sync modes, in the order of the project text's words for them.
enum class SyncMode { Stop, Run, Hsync, Midi };

// Sound modes, in the order of the project text's words for them.
enum class SoundMode { Classic, Tuned };

enum class OutputLayout {
  StereoSum,   // one stereo file: the sum of all outputs, even ones left, odd ones right
  AllOutputs,  // one file with a channel per plug-in output
  PerHolder,   // one stereo file per output pair
};

struct Options {
  bool showHelp = false;
  bool showVersion = false;
  std::string pluginPath;  // empty: look beside the tool, then in the user's VST folder
  std::string statePath;   // .fxp, .fxb or project text; empty: the plug-in's default preset
  std::string midiPath;    // Standard MIDI File to play; empty: none
  std::optional<SyncMode> mode;
  std::optional<SoundMode> sound;  // empty: the state's own
  std::optional<int> patternNote;  // 48..71; with --export-midi the one pattern exported
  std::optional<double> bars;
  std::optional<double> seconds;
  std::optional<double> tempo;  // beats per minute; default: the MIDI file's, else 120
  int sampleRate = 48000;
  int blockSize = 512;
  OutputLayout layout = OutputLayout::StereoSum;
  std::string outputPath;      // .wav or .flac; empty: no render
  std::string saveFxpPath;     // empty: the state is not saved as a program file
  std::string saveTextPath;    // empty: the state is not saved as a project text
  std::string exportMidiPath;  // empty: the patterns are not exported as a MIDI file
  // Parameters set by name (as the plug-in names them) to a value of 0..1, in order, after the
  // state is loaded.
  std::vector<std::pair<std::string, float>> parameters;
};

constexpr double kDefaultTempo = 120.0;
// Tempi the tool renders at, from --tempo or from a MIDI file.
constexpr int kMinTempo = 20;
constexpr int kMaxTempo = 999;
constexpr double kDefaultBars = 2.0;
constexpr double kMidiTailSeconds = 1.0;  // rendered after a MIDI file's last event
constexpr int kMinBlockSize = 16;
constexpr int kMaxBlockSize = 8192;
// MIDI notes that select the plug-in's patterns 0 to 23.
constexpr int kFirstPatternNote = 48;
constexpr int kLastPatternNote = 71;

// Parses the arguments after the program name; throws Failure(BadArguments) with the reason.
Options ParseOptions(const std::vector<std::string>& arguments);

// The file name's extension from its last full stop, lower-cased (".wav"); empty without one.
std::string ExtensionOf(const std::string& path);

std::string UsageText();
// "kestrelhollow-render <version>".
std::string VersionText();

}  // namespace render

#include "Options.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <cmath>
#include <functional>
#include <map>

#include "Failure.h"

namespace render {
namespace {

[[noreturn]] void BadArgument(const std::string& reason) {
  throw Failure(ExitCode::BadArguments, reason + "\nTry 'kestrelhollow-render --help'.");
}

std::string LowerCase(std::string text) {
  std::transform(text.begin(), text.end(), text.begin(), [](unsigned char c) { return std::tolower(c); });
  return text;
}

double ParseNumber(const std::string& option, const std::string& text, double low, double high) {
  double value = 0.0;
  const char* end = text.data() + text.size();
  const auto [stop, error] = std::from_chars(text.data(), end, value);
  if (error != std::errc() || stop != end || !std::isfinite(value) || value < low || value > high) {
    BadArgument(option + " needs a number from " + std::to_string(static_cast<long long>(low)) + " to " +
                std::to_string(static_cast<long long>(high)) + ", not '" + text + "'");
  }
  return value;
}

int ParseInteger(const std::string& option, const std::string& text, int low, int high) {
  const double value = ParseNumber(option, text, low, high);
  if (value != std::floor(value)) BadArgument(option + " needs a whole number, not '" + text + "'");
  return static_cast<int>(value);
}

SoundMode ParseSound(const std::string& text) {
  const std::string word = LowerCase(text);
  if (word == "classic") return SoundMode::Classic;
  if (word != "tuned") BadArgument("--sound must be tuned or classic, not '" + text + "'");
  return SoundMode::Tuned;
}

SyncMode ParseMode(const std::string& text) {
  static const std::map<std::string, SyncMode> modes{
      {"stop", SyncMode::Stop}, {"run", SyncMode::Run}, {"hsync", SyncMode::Hsync}, {"midi", SyncMode::Midi}};
  const auto found = modes.find(LowerCase(text));
  if (found == modes.end()) BadArgument("--mode must be Hsync, Run, Midi or Stop, not '" + text + "'");
  return found->second;
}

// "NAME=VALUE": the name up to the last '=' and a value of 0..1.
std::pair<std::string, float> ParseParameter(const std::string& option, const std::string& text) {
  const auto equals = text.find_last_of('=');
  if (equals == std::string::npos || equals == 0) BadArgument(option + " needs NAME=VALUE, not '" + text + "'");
  return {text.substr(0, equals), static_cast<float>(ParseNumber(option, text.substr(equals + 1), 0, 1))};
}

OutputLayout ParseLayout(const std::string& text) {
  static const std::map<std::string, OutputLayout> layouts{
      {"sum", OutputLayout::StereoSum}, {"all", OutputLayout::AllOutputs}, {"holders", OutputLayout::PerHolder}};
  const auto found = layouts.find(LowerCase(text));
  if (found == layouts.end()) BadArgument("--outputs must be sum, all or holders, not '" + text + "'");
  return found->second;
}

void CheckConsistency(const Options& options) {
  if (options.outputPath.empty() && options.saveFxpPath.empty() && options.saveTextPath.empty() &&
      options.exportMidiPath.empty()) {
    BadArgument(
        "Nothing to do: give an output file (-o FILE.wav), --save-fxp FILE.fxp, --save-text FILE.txt or "
        "--export-midi FILE.mid");
  }
  if (options.bars && options.seconds) BadArgument("Give either --bars or --seconds, not both");
  if (!options.outputPath.empty()) {
    const std::string extension = ExtensionOf(options.outputPath);
    if (extension != ".wav" && extension != ".flac") {
      BadArgument("The output file must end in .wav or .flac: " + options.outputPath);
    }
    // FLAC holds at most eight channels.
    if (extension == ".flac" && options.layout == OutputLayout::AllOutputs) {
      BadArgument("--outputs all needs a .wav file; FLAC holds at most 8 channels");
    }
  }
  if (!options.saveFxpPath.empty() && ExtensionOf(options.saveFxpPath) != ".fxp") {
    BadArgument("--save-fxp needs a file name ending in .fxp: " + options.saveFxpPath);
  }
  if (!options.exportMidiPath.empty() && ExtensionOf(options.exportMidiPath) != ".mid") {
    BadArgument("--export-midi needs a file name ending in .mid: " + options.exportMidiPath);
  }
}

}  // namespace

std::string ExtensionOf(const std::string& path) {
  const auto slash = path.find_last_of('/');
  const auto dot = path.find_last_of('.');
  if (dot == std::string::npos || (slash != std::string::npos && dot < slash)) return "";
  return LowerCase(path.substr(dot));
}

Options ParseOptions(const std::vector<std::string>& arguments) {
  Options options;
  using Setter = std::function<void(const std::string& option, const std::string& value)>;
  const std::map<std::string, Setter> valued{
      {"--plugin", [&](auto&, auto& v) { options.pluginPath = v; }},
      {"--state", [&](auto&, auto& v) { options.statePath = v; }},
      {"--midi", [&](auto&, auto& v) { options.midiPath = v; }},
      {"--mode", [&](auto&, auto& v) { options.mode = ParseMode(v); }},
      {"--sound", [&](auto&, auto& v) { options.sound = ParseSound(v); }},
      {"--pattern",
       [&](auto& o, auto& v) { options.patternNote = ParseInteger(o, v, kFirstPatternNote, kLastPatternNote); }},
      {"--bars", [&](auto& o, auto& v) { options.bars = ParseNumber(o, v, 0, 100000); }},
      {"--seconds", [&](auto& o, auto& v) { options.seconds = ParseNumber(o, v, 0, 360000); }},
      {"--tempo", [&](auto& o, auto& v) { options.tempo = ParseNumber(o, v, kMinTempo, kMaxTempo); }},
      {"--rate", [&](auto& o, auto& v) { options.sampleRate = ParseInteger(o, v, 8000, 384000); }},
      {"--block", [&](auto& o, auto& v) { options.blockSize = ParseInteger(o, v, kMinBlockSize, kMaxBlockSize); }},
      {"--outputs", [&](auto&, auto& v) { options.layout = ParseLayout(v); }},
      {"--output", [&](auto&, auto& v) { options.outputPath = v; }},
      {"--save-fxp", [&](auto&, auto& v) { options.saveFxpPath = v; }},
      {"--save-text", [&](auto&, auto& v) { options.saveTextPath = v; }},
      {"--export-midi", [&](auto&, auto& v) { options.exportMidiPath = v; }},
      {"--param", [&](auto& o, auto& v) { options.parameters.push_back(ParseParameter(o, v)); }},
  };

  for (size_t i = 0; i < arguments.size(); ++i) {
    std::string option = arguments[i];
    if (option == "-h" || option == "--help") {
      options.showHelp = true;
      return options;
    }
    if (option == "--version") {
      options.showVersion = true;
      return options;
    }
    std::optional<std::string> value;
    if (const auto equals = option.find('='); option.starts_with("--") && equals != std::string::npos) {
      value = option.substr(equals + 1);
      option.resize(equals);
    }
    const auto setter = valued.find(option == "-o" ? "--output" : option);
    if (setter == valued.end()) BadArgument("Unknown argument '" + arguments[i] + "'");
    if (!value) {
      if (i + 1 >= arguments.size()) BadArgument(option + " needs a value");
      value = arguments[++i];
    }
    if (value->empty()) BadArgument(option + " needs a value");
    setter->second(option, *value);
  }
  if ((options.bars && *options.bars <= 0.0) || (options.seconds && *options.seconds <= 0.0)) {
    BadArgument("The render length must be more than zero");
  }
  CheckConsistency(options);
  return options;
}

std::string UsageText() {
  return R"(Usage: kestrelhollow-render [options] -o OUTPUT.wav|OUTPUT.flac
Renders the Kestrelhollow plug-in (or any VST 2.x instrument) to an audio file.

  --plugin PATH       plug-in .so (default: the bundle beside this tool, then
                      ~/.vst/Kestrelhollow/Kestrelhollow.so)
  --state FILE        start from a .fxp, a .fxb or a project text file instead
                      of the plug-in's default preset
  --mode MODE         Hsync (the editor's HOST button: transport playing), Run,
                      Midi or Stop (default: Midi with --midi, else the
                      state's own mode)
  --sound SOUND       tuned (pitch in semitones, samples at the session's
                      rate) or classic, for this render (default: the state's)
  --midi FILE         play a Standard MIDI File's notes into the plug-in
  --pattern NOTE      start with the pattern of MIDI note 48..71 (48 is Oct2 C)
  --param NAME=VALUE  set the plug-in's parameter of that name (such as
                      "D Volume") to VALUE, 0..1; repeatable
  --bars N            render N bars of four beats (default 2)
  --seconds S         render S seconds (default with --midi: the file plus 1 s;
                      a file longer than 24 hours needs --seconds or --bars)
  --tempo BPM         host tempo (default: the MIDI file's, else 120)
  --rate HZ           sample rate (default 48000)
  --block N           block size in frames, 16..8192 (default 512)
  --outputs LAYOUT    sum: stereo sum of all outputs (default)
                      all: one file with every output as a channel
                      holders: one stereo file per output pair, OUTPUT-01 ...
  -o, --output FILE   the audio file to write (.wav 32-bit float, .flac 24-bit)
  --save-fxp FILE     save the plug-in's state as a program file
  --save-text FILE    save the plug-in's state as a project text (Kestrelhollow)
  --export-midi FILE  save the state's 24 patterns as a MIDI file (.mid), a bar
                      each at the render's tempo; with --pattern only that one
                      (Kestrelhollow)
  --version           show the tool's version
  -h, --help          show this text

State and MIDI files: regular files of at most 32 MB; a state must be whole
(its end line present, no NUL byte inside); MIDI tempi from 20 to 999 BPM.

Exit codes: 0 done, 1 render failed (or its audio not finite), 2 bad arguments,
3 plug-in unusable, 4 input file unreadable or refused, 5 output not writable,
130 interrupted.
)";
}

std::string VersionText() { return std::string("kestrelhollow-render ") + KH_VERSION + "\n"; }

}  // namespace render

#include "instrument/Parameters.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>

#include "instrument/Instrument.h"

namespace instrument {
namespace {

constexpr int kMaxPitch = engine::kMaxPitch;
constexpr int kPitchSteps = 2 * kMaxPitch + 1;
// One semitone's share of 0..1: pitch p starts its step at (p + 12) / 25.
constexpr double kPitchStepWidth = 1.0 / kPitchSteps;

struct KindText {
  const char* name;
  const char* shortName;  // with a note name of two characters still within 7
  const char* unit;
  int steps;
};

constexpr std::array<KindText, 9> kKinds{{
    {"Volume", "Vol", "dB", 0},
    {"Pan", "Pan", "", 0},
    {"Pitch", "Ptch", "st", kPitchSteps},
    {"Length", "Len", "%", 0},
    {"Swing", "Swng", "", 2},
    {"Mute", "Mute", "", 2},
    {"Solo", "Solo", "", 2},
    {"Master Level", "Master", "dB", 0},
    {"Swing Amount", "Swing", "%", 0},
}};

bool IsHolderKind(ParameterKind kind) {
  return kind != ParameterKind::MasterLevel && kind != ParameterKind::SwingAmount;
}

uint8_t NoteOf(int holder) { return static_cast<uint8_t>(engine::kFirstNote + holder); }

// The band's start as the single-precision value a control holds, so that the value shown for
// a pitch sets that pitch again.
float PitchStepStart(int step) { return static_cast<float>(kPitchStepWidth * step); }

std::string Printed(const char* format, double value) {
  char text[16];
  std::snprintf(text, sizeof text, format, value);
  return text;
}

std::string Decibels(float gain) { return gain > 0.0f ? Printed("%.1f", 20.0 * std::log10(gain)) : "-inf"; }

std::string Percent(float value) { return Printed("%.0f", std::round(100.0 * value)); }

std::string Pan(float pan) {
  const long amount = std::lround((static_cast<double>(pan) - 0.5) * 200.0);
  if (amount == 0) return "C";
  return (amount < 0 ? "L " : "R ") + std::to_string(std::labs(amount));
}

}  // namespace

std::optional<Parameter> ParameterAt(int index) {
  if (index < 0 || index >= kParameterCount) return std::nullopt;
  constexpr int kHolderParameters = engine::kHolderCount * kHolderParameterCount;
  if (index >= kHolderParameters) {
    return Parameter{index == kHolderParameters ? ParameterKind::MasterLevel : ParameterKind::SwingAmount, 0};
  }
  return Parameter{static_cast<ParameterKind>(index % kHolderParameterCount), index / kHolderParameterCount};
}

int ParameterIndex(ParameterKind kind, int holder) {
  const int kindIndex = static_cast<int>(kind);
  if (!IsHolderKind(kind)) return engine::kHolderCount * kHolderParameterCount + kindIndex - kHolderParameterCount;
  return holder * kHolderParameterCount + kindIndex;
}

ParameterDescription DescribeParameter(Parameter parameter) {
  const KindText& text = kKinds[static_cast<size_t>(parameter.kind)];
  if (!IsHolderKind(parameter.kind)) return {text.name, text.shortName, text.unit, text.steps};
  const std::string note = std::string(engine::kNoteNames[parameter.holder]) + " ";
  return {note + text.name, note + text.shortName, text.unit, text.steps};
}

float ParameterValue(const Instrument& instrument, Parameter parameter) {
  const engine::DrumEngine& engine = instrument.engine();
  const engine::SampleHolder& holder = engine.kit().holder(NoteOf(parameter.holder));
  float value = 0.0f;
  switch (parameter.kind) {
    case ParameterKind::Volume:
      value = holder.volume();
      break;
    case ParameterKind::Pan:
      value = holder.pan();
      break;
    case ParameterKind::Pitch:
      value = *PitchValue(std::clamp<int>(holder.pitch(), -kMaxPitch, kMaxPitch));
      break;
    case ParameterKind::Length:
      value = holder.lengthFraction();
      break;
    case ParameterKind::Swing:
      value = holder.swing() ? 1.0f : 0.0f;
      break;
    case ParameterKind::Mute:
      value = holder.muteState() == engine::kMuted ? 1.0f : 0.0f;
      break;
    case ParameterKind::Solo:
      value = instrument.soloed(parameter.holder) ? 1.0f : 0.0f;
      break;
    case ParameterKind::MasterLevel:
      value = engine.kitPlayer().masterLevel();
      break;
    case ParameterKind::SwingAmount:
      value = engine.patterns().swingAmount();
      break;
  }
  // A loaded text keeps its numbers within the controls' ranges; this holds for any other.
  return std::isnan(value) ? 0.0f : std::clamp(value, 0.0f, 1.0f);
}

std::string ParameterDisplay(const Instrument& instrument, Parameter parameter) {
  const float value = ParameterValue(instrument, parameter);
  switch (parameter.kind) {
    case ParameterKind::Volume:
    case ParameterKind::MasterLevel:
      return Decibels(value);
    case ParameterKind::Pan:
      return Pan(value);
    case ParameterKind::Pitch: {
      const int pitch = *PitchFromValue(value);
      return pitch > 0 ? "+" + std::to_string(pitch) : std::to_string(pitch);
    }
    case ParameterKind::Length:
    case ParameterKind::SwingAmount:
      return Percent(value);
    case ParameterKind::Swing:
    case ParameterKind::Mute:
    case ParameterKind::Solo:
      return value == 1.0f ? "On" : "Off";
  }
  return {};
}

void SetParameter(Instrument& instrument, Parameter parameter, float value) {
  if (std::isnan(value)) return;
  value = std::clamp(value, 0.0f, 1.0f);
  const bool on = value >= 0.5f;
  const int holder = parameter.holder;
  const bool changed = ParameterValue(instrument, parameter) != value;
  switch (parameter.kind) {
    case ParameterKind::Volume:
      instrument.setVolume(holder, value);
      break;
    case ParameterKind::Pan:
      instrument.setPan(holder, value);
      break;
    case ParameterKind::Pitch:
      // A value within the step that stands keeps the pitch (and its pacing).
      if (*PitchFromValue(value) == *PitchFromValue(ParameterValue(instrument, parameter))) return;
      instrument.setPitch(holder, *PitchFromValue(value));
      break;
    case ParameterKind::Length:
      instrument.setLength(holder, value);
      break;
    case ParameterKind::Swing:
      instrument.setSwing(holder, on);
      break;
    // Only a change carries out the rules: restoring the state that stands (a host that sends
    // every parameter after a project load) must not turn a holder muted by solo into one the
    // user muted.
    case ParameterKind::Mute:
      if (on != (ParameterValue(instrument, parameter) == 1.0f)) instrument.setMute(holder, on);
      return;
    case ParameterKind::Solo:
      if (on != instrument.soloed(holder)) instrument.setSolo(holder, on);
      return;
    case ParameterKind::MasterLevel:
      instrument.setMasterLevel(value);
      break;
    case ParameterKind::SwingAmount:
      instrument.setSwingAmount(value);
      break;
  }
  if (changed) instrument.engine().editorState().parameterChanges.increment();
}

std::optional<float> PitchValue(int pitch) {
  if (pitch < -kMaxPitch || pitch > kMaxPitch) return std::nullopt;
  if (pitch == 0) return 0.5f;
  return PitchStepStart(pitch + kMaxPitch);
}

std::optional<int> PitchFromValue(float value) {
  if (!(value >= 0.0f && value <= 1.0f)) return std::nullopt;
  int step = kPitchSteps - 1;
  while (step > 0 && value < PitchStepStart(step)) --step;
  return step - kMaxPitch;
}

}  // namespace instrument

// The instrument's host parameters: a fixed map of indexes to settings of the model, with names,
// units, shown values and normalised values, for any plug-in format to present. A parameter is a
// view of a setting the project text already keeps: setting one goes through the instrument's
// named operations, reading one reads the model, and nothing of its own is saved.
//
// The order never changes once released (hosts store automation by index); new parameters are
// only ever appended. For each holder C..B: volume, pan, pitch, length, swing, mute and solo;
// then the master level and the swing amount.
#pragma once

#include <optional>
#include <string>

#include "engine/Limits.h"

namespace instrument {

class Instrument;

enum class ParameterKind { Volume, Pan, Pitch, Length, Swing, Mute, Solo, MasterLevel, SwingAmount };

constexpr int kHolderParameterCount = 7;  // Volume .. Solo, per holder
constexpr int kParameterCount = engine::kHolderCount * kHolderParameterCount + 2;

struct Parameter {
  ParameterKind kind;
  int holder;  // 0..11; 0 for the master level and the swing amount
};

// Nothing for an index outside 0 .. kParameterCount - 1.
std::optional<Parameter> ParameterAt(int index);
// The index of a holder's parameter of a kind (the holder is ignored for the two master ones).
int ParameterIndex(ParameterKind kind, int holder = 0);

// How a host should present a parameter. Pitch has 25 steps of equal width (one semitone each);
// swing, mute and solo are switches; the rest are continuous.
struct ParameterDescription {
  std::string name;       // "D Volume", "Master Level"
  std::string shortName;  // at most 7 characters: "D Vol", "C# Ptch", "Master"
  std::string unit;       // "dB", "st", "%" or nothing
  int steps;              // 0 for continuous, 2 for a switch, 25 for pitch
};
ParameterDescription DescribeParameter(Parameter parameter);

// The normalised value (0..1) of the setting as it stands.
float ParameterValue(const Instrument& instrument, Parameter parameter);
// The value as a user reads it beside the unit, at most 7 characters: "-6.0", "L 30", "+7",
// "64", "On".
std::string ParameterDisplay(const Instrument& instrument, Parameter parameter);
// Sets the setting from a normalised value; a value outside 0..1 is taken at its end and a value
// that is not a number changes nothing. A value that sets what stands already changes nothing.
// Any thread, lock-free, without allocation; an open editor shows the change at its next refresh.
void SetParameter(Instrument& instrument, Parameter parameter, float value);

// The pitch (-12..12 semitones) as a normalised value, as the editor's pitch knob shows it: the
// start of its step ((pitch + 12) / 25), and 0.5 for none.
std::optional<float> PitchValue(int pitch);
// The pitch a normalised value sets; nothing for a value below 0, above 1 or not a number.
std::optional<int> PitchFromValue(float value);

}  // namespace instrument

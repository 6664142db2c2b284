// Runs the built kestrelhollow-render as a separate process, as a user or a script does, and
// helps build what it reads: project texts with the tests' own sample files, MIDI files.
#pragma once

#include <string>
#include <vector>

#include "support/ChildProcess.h"

namespace rendertest {

using ToolRun = testhost::ProcessRun;

struct RunSettings {
  bool withBuiltPlugin = true;  // adds --plugin with the plug-in built beside the tests
  testhost::ProcessSettings process{};
};

// Runs the tool and waits for it to end.
ToolRun RunRender(const std::vector<std::string>& arguments, RunSettings settings = {});

struct Holder {
  int note;
  std::string path;
  float pan = 0.5f;
  bool swing = false;
};

struct PatternRow {
  int pattern;
  int note;
  std::vector<int> steps;
  int resolution = 16;
};

// A version 2.0 project text with these holders and step rows; everything else default.
std::string ProjectText(const std::vector<Holder>& holders, const std::vector<PatternRow>& rows,
                        const std::string& mode = "Hsync");

struct MidiNote {
  int pulse;                           // at 960 pulses per quarter note and 120 beats per minute: 25 frames at 48 kHz
  std::vector<unsigned char> message;  // a channel message, or a meta event FF type length data
};
constexpr int kFramesPerPulse = 25;

// One track chunk: the messages with delta times, a channel status left out where it repeats
// (running status), and the end of track at the last message.
std::string MidiTrack(const std::vector<MidiNote>& notes);
// A Standard MIDI File of these track chunks.
std::string MidiFileBytes(int format, const std::vector<std::string>& tracks, int division = 960);

}  // namespace rendertest

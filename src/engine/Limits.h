// Every fixed size of the drum engine, in one place; tables are allocated to these.
#pragma once

#include <cstddef>
#include <cstdint>

namespace engine {

constexpr int kHolderCount = 12;
constexpr uint8_t kFirstNote = 36;  // holder 0, note name C
constexpr uint8_t kLastNote = kFirstNote + kHolderCount - 1;
constexpr int kNoteCount = 128;  // the kit is indexed by MIDI note number
constexpr int kPatternCount = 24;
constexpr uint8_t kFirstPatternNote = 48;  // pattern 0; notes 48..71 select patterns
constexpr uint8_t kLastPatternNote = kFirstPatternNote + kPatternCount - 1;
constexpr int kMaxSteps = 128;
constexpr int kDefaultResolution = 16;
constexpr int kResolutionCount = 4;  // 16, 32, 64 and 128 steps per bar
constexpr int kOutputCount = 2 * kHolderCount;
constexpr int kBeatsPerBar = 4;
// A holder's choke group: none, or 1..kChokeGroupCount.
constexpr int kNoChokeGroup = 0;
constexpr int kChokeGroupCount = 4;
// Room for every step of one bar of every holder plus a generous burst of MIDI notes.
constexpr size_t kNoteQueueCapacity = 4096;

// The defaults of a reset and of the controls' reset menus.
constexpr float kDefaultPan = 0.5f;  // centred
constexpr float kDefaultMasterLevel = 0.75f;
constexpr float kDefaultSwingAmount = 0.5f;

constexpr const char* kNoteNames[kHolderCount] = {"C", "C#", "D", "D#", "E", "F", "F#", "G", "G#", "A", "A#", "B"};

// Index 0..3 of a valid resolution, or -1.
constexpr int ResolutionIndex(int32_t resolution) {
  switch (resolution) {
    case 16:
      return 0;
    case 32:
      return 1;
    case 64:
      return 2;
    case 128:
      return 3;
    default:
      return -1;
  }
}

constexpr bool IsHolderNote(int note) { return note >= kFirstNote && note <= kLastNote; }
constexpr bool IsPatternNote(int note) { return note >= kFirstPatternNote && note <= kLastPatternNote; }

}  // namespace engine

// The drum machine behind the plug-in interface: the kit and its voices, the patterns and their clock,
// the note event queue and the sync mode, rendered block by block.
#pragma once

#include <cstdint>
#include <memory>

#include "engine/EditorState.h"
#include "engine/HostTime.h"
#include "engine/KitPlayer.h"
#include "engine/Handover.h"
#include "engine/NoteEventQueue.h"
#include "engine/PatternStore.h"
#include "engine/Relaxed.h"
#include "engine/StepClock.h"
#include "engine/SyncMode.h"

namespace engine {

class DrumEngine {
  friend class ReferenceFrameLoop;  // the tests' frame-by-frame renderer

 public:
  DrumEngine();

  KitPlayer& kitPlayer() { return kitPlayer_; }
  const KitPlayer& kitPlayer() const { return kitPlayer_; }
  Kit& kit() { return kitPlayer_.kit(); }
  const Kit& kit() const { return kitPlayer_.kit(); }
  PatternStore& patterns() { return *patterns_; }
  const PatternStore& patterns() const { return *patterns_; }
  StepClock& clock() { return *clock_; }
  const StepClock& clock() const { return *clock_; }
  EditorState& editorState() { return editorState_; }

  SyncMode syncMode() const { return syncMode_; }
  void setSyncMode(SyncMode mode) { syncMode_ = mode; }
  // The mode the previous block ran in, or the one a reset or a load set for it since. Any thread.
  SyncMode lastMode() const { return lastModeSetting_.pending().value_or(lastMode_); }
  // User-interface thread: the mode counts as the previous block's from the next block on.
  void setLastMode(SyncMode mode) { lastModeSetting_.request(mode); }

  // User-interface thread: modes Hsync, sequencer, kit and voices back to their defaults
  // (the voices and the clock at the next block).
  void resetAll();

  // Audio thread. ------------------------------------------------------------------------

  // A MIDI note-on (status 0x9n) or note-off (0x8n) at a frame of the coming block, taken
  // or dropped according to the sync mode.
  void receiveMidiNote(uint8_t status, uint8_t note, uint8_t velocity, uint16_t frameOffset) noexcept;
  // Renders one block into the 24 outputs. Allocates nothing and takes no lock.
  void renderBlock(const HostTime& time, float* const* outputs, int32_t frames) noexcept;

 private:
  // The changes queued for the audio thread since the last block.
  void carryOutCommands() noexcept;
  void prepareBlock(const HostTime& time, int32_t frames);
  void carryOut(NoteEvent event) noexcept;
  // Every holder over frames first .. first + count - 1, a stretch in which no event falls.
  void renderStretch(float* const* outputs, int32_t first, int32_t count) noexcept;

  KitPlayer kitPlayer_;
  EditorState editorState_;  // before the patterns, which keep their swing amount there
  std::unique_ptr<PatternStore> patterns_;
  std::unique_ptr<StepClock> clock_;
  NoteEventQueue queue_;
  Relaxed<SyncMode> syncMode_{SyncMode::Hsync};
  // Written by the audio thread only: a reset or a load hands their setting over.
  Relaxed<SyncMode> lastMode_{SyncMode::Hsync};
  Handover<SyncMode> lastModeSetting_;
};

}  // namespace engine

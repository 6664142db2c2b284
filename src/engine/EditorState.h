// What the audio engine tells the editor, and the swing amount the editor hands back. Every
// field has one writer thread: the audio thread counts the redraws it asks for and the editor
// remembers the counts it has drawn, so a request is never cleared by its reader nor lost.
#pragma once

#include <cstdint>

#include "engine/HostTime.h"
#include "engine/Limits.h"
#include "engine/Relaxed.h"
#include "engine/SyncMode.h"

namespace engine {

struct EditorState {
  // Audio thread: counted up when the step position, the step group (following the current
  // step) or the pattern shown should be redrawn. The first count draws the position at once.
  Relaxed<uint32_t> positionChanges{1};
  Relaxed<uint32_t> groupChanges{0};
  Relaxed<uint32_t> patternChanges{0};
  // Any thread: counted up when a setting changed other than through the editor (a host's
  // parameter, a mute or solo carried out for another thread), so that the editor shows it.
  Relaxed<uint32_t> parameterChanges{0};
  // Audio thread: the position light is off.
  Relaxed<bool> positionHidden{false};
  // The swing amount: set by the swing control and by a loaded project, saved with the
  // project (the pattern store's swingAmount() is this value), read by the timing every block.
  Relaxed<float> swingAmount{kDefaultSwingAmount};
  // Audio thread: the host's tempo in beats per minute at the last block that told one; 0
  // until a block did.
  Relaxed<double> sessionTempo{0.0};

  // Audio thread, at the start of each block: what the block's mode asks the editor to redraw.
  // Stop shows the position where it stands (hidden unless Run stopped), Midi hides it, and Run
  // and Hsync follow the clock with position, group and pattern; Hsync with the transport
  // stopped shows the position only.
  void reportBlock(SyncMode mode, SyncMode lastMode, const HostTime& time) {
    switch (mode) {
      case SyncMode::Stop:
        positionHidden = lastMode != SyncMode::Run;
        positionChanges.increment();
        break;
      case SyncMode::Midi:
        positionHidden = true;
        break;
      case SyncMode::Hsync:
      case SyncMode::Run:
        positionHidden = false;
        positionChanges.increment();
        if (mode == SyncMode::Hsync && time.available && !time.playing) break;
        groupChanges.increment();
        patternChanges.increment();
        break;
    }
  }
};

}  // namespace engine

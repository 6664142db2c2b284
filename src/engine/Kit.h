// The note-indexed holders: 128 places, of which the notes 36..47 are played.
#pragma once

#include <array>
#include <cstdint>

#include "engine/BlockEpoch.h"
#include "engine/CommandQueue.h"
#include "engine/Limits.h"
#include "engine/PreparationRequests.h"
#include "engine/Relaxed.h"
#include "engine/SampleHolder.h"
#include "engine/SoundMode.h"

namespace engine {

class Kit {
 public:
  Kit(uint8_t firstNote = kFirstNote, uint8_t lastNote = kLastNote);
  Kit(const Kit&) = delete;
  Kit& operator=(const Kit&) = delete;

  uint8_t firstNote() const { return firstNote_; }
  uint8_t lastNote() const { return lastNote_; }
  uint8_t count() const { return count_; }

  // note < 128.
  SampleHolder& holder(uint8_t note) { return holders_[note & 0x7F]; }
  const SampleHolder& holder(uint8_t note) const { return holders_[note & 0x7F]; }

  // User-interface thread.
  void startPreview(uint8_t note);
  void clearHolder(uint8_t note) { holder(note).clear(); }
  // The target gets its own copy of the source's sample.
  void copyHolder(uint8_t fromNote, uint8_t toNote);
  // Every played holder unmuted and cleared.
  void clearAll();

  // How the holders sound, and the session's rate that Tuned prepares their samples for (0
  // until the host tells it: nothing is prepared before, so a host that only scans plug-ins
  // pays nothing for it). Any thread; each change asks for the samples to be prepared anew.
  SoundMode soundMode() const { return soundMode_; }
  void setSoundMode(SoundMode mode);
  double sessionRate() const { return sessionRate_; }
  void setSessionRate(double rate);

  PreparationRequests& preparationRequests() { return preparationRequests_; }

  // The audio thread brackets each block with this epoch.
  BlockEpoch& blockEpoch() { return epoch_; }
  // Voice and clock changes on their way to the audio thread.
  CommandQueue& commands() { return commands_; }

 private:
  uint8_t firstNote_;
  uint8_t lastNote_;
  uint8_t count_;
  BlockEpoch epoch_;
  CommandQueue commands_;
  Relaxed<SoundMode> soundMode_{SoundMode::Classic};
  Relaxed<double> sessionRate_{0.0};
  PreparationRequests preparationRequests_;
  std::array<SampleHolder, kNoteCount> holders_;
};

}  // namespace engine

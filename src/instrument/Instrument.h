// The instrument without a plug-in format: the engine with its kit and sequencer, the project's
// load and save, the default preset, and each rule of the instrument as one named operation.
// The editor and every plug-in format's adapter change the instrument through these; none
// decides a rule from what its controls show. User-interface thread unless a call says otherwise.
#pragma once

#include <array>
#include <atomic>
#include <cstdint>
#include <functional>
#include <mutex>
#include <optional>
#include <string>

#include "engine/DrumEngine.h"
#include "engine/Limits.h"
#include "engine/Relaxed.h"
#include "engine/SoundMode.h"
#include "persistence/ChunkReader.h"
#include "samples/SamplePreparer.h"

namespace instrument {

// Where an instrument finds its files and how it reads sample files. Hosts get the folder of the
// plug-in module and the sample loader; tests put both elsewhere.
struct Environment {
  std::string pluginDirectory;               // ends with the path separator
  persistence::SampleFileLoader loadSample;  // empty: the sample loader, without audition
  std::string documentsFolder{};             // ends with the separator; empty: the user's documents folder
};

// What an export wrote, or why it wrote nothing.
struct ExportResult {
  bool written = false;
  std::string path;    // the file written, or the one that could not be
  std::string reason;  // why it was not: "Cannot write <path>: <the system's reason>"
};

// What a project load leaves for the editor's view: each holder's browser start (a folder or a
// file) and the pattern to show.
struct LoadedProject {
  std::array<std::string, engine::kHolderCount> directories;
  int pattern = 0;
};

class Instrument {
 public:
  // Reset, then the default preset of the plug-in directory if there is one.
  explicit Instrument(Environment environment);
  Instrument(const Instrument&) = delete;
  Instrument& operator=(const Instrument&) = delete;

  engine::DrumEngine& engine() { return engine_; }
  const engine::DrumEngine& engine() const { return engine_; }
  const std::string& pluginDirectory() const { return pluginDirectory_; }
  const std::string& configurationFilePath() const { return configurationFilePath_; }
  const std::string& samplesFolder() const { return samplesFolder_; }

  // The project. ---------------------------------------------------------------------------
  // The state as the version 2.0 project text; it stays valid until the next call. Any thread.
  const std::string& saveProject();
  // Loads a project text (versions 1.0, 1.1 and 2.0) under the state mutex, on any thread:
  // false for a text it refuses (with a message, the state untouched). The editor's view of
  // the outcome waits for it in takeLoadedProject; a later load replaces one not yet taken.
  bool loadProject(const void* data, int32_t byteSize);
  // The view of the last load not yet taken, if any; it is handed out once.
  std::optional<LoadedProject> takeLoadedProject();

  // The rules. -----------------------------------------------------------------------------
  // Sync mode, sequencer, kit, voices and solos back to their defaults ("Clear all now!"); the
  // view registered with setResetView follows.
  void resetAll();
  // The view's own reset, run after each resetAll (empty: none).
  void setResetView(std::function<void()> resetView) { resetView_ = std::move(resetView); }

  // A holder's settings (holder 0..11) and the kit's. Any thread, lock-free and without
  // allocation: the editor sets them on the user-interface thread, a host's automation on its
  // audio thread. Each is a single store that the audio thread reads at its next stretch.
  void setVolume(int holder, float volume);
  void setPan(int holder, float pan);
  // -12..12 semitones (others change nothing); the voice's pacing restarts at the next block.
  // Tuned sound prepares the holder's sample anew on its own thread and plays the copy before
  // until then.
  void setPitch(int holder, int semitones) noexcept;
  void setLength(int holder, float fraction);
  void setSwing(int holder, bool on);
  // kNoChokeGroup or 1..kChokeGroupCount (others change nothing): triggering a holder releases
  // every other sounding holder of its group. Cleared with the holder, copied with it.
  void setChokeGroup(int holder, int group);
  int chokeGroup(int holder) const;
  void setMasterLevel(float level);
  void setSwingAmount(float amount);

  // Muting a holder ends its solo; unmuting it is refused while any holder is soloed (a soloed
  // holder is not muted: unmuting it changes nothing).
  void setMute(int holder, bool on);
  // A solo mutes every holder that is neither soloed nor muted by the user ("muted by solo");
  // ending the last solo unmutes them, ending one of several leaves its holder muted by solo.
  // Mute and solo may come from any thread: see RuleTurn.
  void setSolo(int holder, bool on);
  bool soloed(int holder) const;
  // The Stop button: the mode goes to Stop; pressed again right after Run, the sequencer
  // rewinds to the bar's first step (the clock at the audio thread's next block). True when
  // it rewound.
  bool pressStop();
  // A step of a holder in a pattern set (sounding at full velocity) or cleared.
  void setStep(int pattern, int step, int holder, bool sounding);
  // A step's velocity 1..127 (clamped), whether it sounds or not; setting the step again
  // restores full velocity.
  void setStepVelocity(int pattern, int step, int holder, int velocity);
  int stepVelocity(int pattern, int step, int holder) const;
  void clearPattern(int pattern);
  void copyPattern(int from, int to);
  // A cleared or overwritten holder is neither muted nor soloed.
  void clearHolder(int holder);
  void copyHolder(int from, int to);
  void resetPan(int holder);
  void resetPitch(int holder);
  void resetMasterLevel();

  // Patterns out as a Standard MIDI File (see persistence/MidiExport.h): the pattern, or
  // without one all 24, at the session's tempo (120 beats per minute until a host told one).
  // The file goes to the documents folder's Kestrelhollow/MIDI/, the folders made as needed,
  // named after the pattern ("Oct2 C") or "All patterns" and the local time:
  // "Oct2 C 2026-12-07 14-03-22.mid". A failure writes nothing and changes nothing else.
  ExportResult exportPatternsAsMidi(std::optional<int> pattern);

  // Sound. ---------------------------------------------------------------------------------
  // Classic or Tuned; any thread, as setPitch. "Clear all now!" keeps it; a project text sets it.
  void setSoundMode(engine::SoundMode mode) noexcept;
  engine::SoundMode soundMode() const;
  // The host's sample rate, which Tuned prepares the samples for (on its own thread).
  void setSessionRate(double rate);
  // Waits (bounded) until every sample asked for so far is prepared: before a host plays again
  // after the rate changed.
  void waitUntilPrepared();

 private:
  // Mute and solo touch several holders at once, so their rules run on one thread at a time.
  // A mute or solo is recorded as a request (the latest wish per holder); whichever
  // thread then finds the rules free carries out every request recorded, and a thread that finds
  // them busy returns at once, leaving its request to the thread that holds them, which looks
  // again before it lets go. So the audio thread never waits. The user-interface thread's other
  // changes of mute states (load, reset, clear, copy) take a turn too, waiting for it.
  class RuleTurn {
   public:
    explicit RuleTurn(Instrument& instrument);
    ~RuleTurn();
    RuleTurn(const RuleTurn&) = delete;
    RuleTurn& operator=(const RuleTurn&) = delete;

   private:
    Instrument& instrument_;
  };
  // Per holder h: bit h set when it asked, bit kWantedShift + h when it asked for on.
  static constexpr int kWantedShift = 16;
  using Requests = std::atomic<uint32_t>;
  static void request(Requests& requests, int holder, bool on);
  // Carries out the recorded requests if the rules are free; see RuleTurn.
  void carryOutRequests();
  void carryOut(Requests& requests, void (Instrument::*rule)(int, bool));
  void applyMute(int holder, bool on);
  void applySolo(int holder, bool on);

  void loadDefaultPreset();
  // The solos that the holders' mute states show: a holder not muted while others are muted
  // by solo (after a load, a reset, or a holder cleared or overwritten).
  void soloFromMuteStates();
  bool anySolo() const;
  engine::SampleHolder& holder(int index);

  engine::DrumEngine engine_;
  samples::SamplePreparer preparer_{engine_.kit()};
  std::string pluginDirectory_;
  std::string configurationFilePath_;
  std::string samplesFolder_;
  persistence::SampleFileLoader loadSample_;
  std::string documentsFolder_;
  std::string projectText_;
  std::array<engine::Relaxed<bool>, engine::kHolderCount> solo_{};
  Requests muteRequests_{0};
  Requests soloRequests_{0};
  std::atomic_flag rulesBusy_;
  std::function<void()> resetView_;
  std::mutex loadedMutex_;
  std::optional<LoadedProject> loaded_;
};

}  // namespace instrument

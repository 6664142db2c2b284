#include "instrument/Instrument.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <limits>
#include <thread>
#include <utility>

#include "engine/VoicePlayback.h"
#include "persistence/ChunkLoad.h"
#include "persistence/ChunkWriter.h"
#include "persistence/DefaultPreset.h"
#include "persistence/MidiExport.h"
#include "persistence/Placeholders.h"
#include "platform/BoundedLock.h"
#include "platform/Files.h"
#include "platform/Paths.h"
#include "samples/LoadMessages.h"
#include "samples/SampleLoader.h"

namespace instrument {
namespace {

constexpr const char* kConfigurationFileName = "Kestrelhollow.cfg";

uint8_t NoteOf(int holder) { return static_cast<uint8_t>(engine::kFirstNote + holder); }

}  // namespace

Instrument::Instrument(Environment environment)
    : pluginDirectory_(std::move(environment.pluginDirectory)),
      configurationFilePath_(pluginDirectory_ + kConfigurationFileName),
      samplesFolder_(persistence::SamplesFolder(pluginDirectory_)),
      loadSample_(std::move(environment.loadSample)),
      documentsFolder_(std::move(environment.documentsFolder)) {
  if (!loadSample_) {
    loadSample_ = [](engine::Kit& kit, uint8_t note, const std::string& path) {
      return samples::LoadSample(kit, note, path, false);
    };
  }
  {
    // An editor opened meanwhile waits until the model is built.
    const platform::BoundedLock stateLock(platform::StateMutex());
    resetAll();
  }
  loadDefaultPreset();
}

const std::string& Instrument::saveProject() {
  // A host may save on one thread while it restores on another.
  const platform::BoundedLock stateLock(platform::StateMutex());
  persistence::WriteChunkText(engine_, samplesFolder_, projectText_);
  return projectText_;
}

bool Instrument::loadProject(const void* data, int32_t byteSize) {
  // Held for the whole load, messages included; an editor opening meanwhile waits. The editor
  // is not touched here: it takes the outcome on its own thread.
  const platform::BoundedLock stateLock(platform::StateMutex());
  // Of the samples that fail to load, the first few are told in full and the rest counted.
  const samples::LoadMessageBatch loadMessages;
  const RuleTurn rules(*this);
  if (!persistence::LoadChunk(
          data, byteSize, samplesFolder_, engine_, [this] { engine_.resetAll(); }, loadSample_)) {
    return false;
  }
  soloFromMuteStates();
  LoadedProject loaded;
  for (int index = 0; index < engine::kHolderCount; ++index) {
    const std::string& path = holder(index).path();
    loaded.directories[static_cast<size_t>(index)] = path.empty() ? samplesFolder_ : path;
  }
  loaded.pattern = engine_.clock().currentPattern();
  // A host plays a project as soon as it is loaded: Tuned samples are ready by then.
  waitUntilPrepared();
  const std::lock_guard lock(loadedMutex_);
  loaded_ = std::move(loaded);
  return true;
}

std::optional<LoadedProject> Instrument::takeLoadedProject() {
  const std::lock_guard lock(loadedMutex_);
  return std::exchange(loaded_, std::nullopt);
}

void Instrument::loadDefaultPreset() {
  const std::string path = persistence::DefaultPresetPath(pluginDirectory_);
  if (!platform::FileExists(path)) return;
  std::optional<std::string> text = persistence::ExtractPresetText(platform::ReadTextFile(path));
  if (!text || text->size() > static_cast<size_t>(std::numeric_limits<int32_t>::max())) return;
  loadProject(text->data(), static_cast<int32_t>(text->size()));
}

void Instrument::resetAll() {
  {
    const RuleTurn rules(*this);
    engine_.resetAll();
    soloFromMuteStates();
  }
  if (resetView_) resetView_();
}

void Instrument::setVolume(int index, float volume) {
  if (index >= 0 && index < engine::kHolderCount) holder(index).setVolume(volume);
}

void Instrument::setPan(int index, float pan) {
  if (index >= 0 && index < engine::kHolderCount) holder(index).setPan(pan);
}

void Instrument::setPitch(int index, int semitones) noexcept {
  if (index < 0 || index >= engine::kHolderCount || semitones < -engine::kMaxPitch || semitones > engine::kMaxPitch) {
    return;
  }
  holder(index).setPitch(static_cast<int8_t>(semitones));
}

void Instrument::setLength(int index, float fraction) {
  if (index >= 0 && index < engine::kHolderCount) holder(index).setLengthFraction(fraction);
}

void Instrument::setSwing(int index, bool on) {
  if (index >= 0 && index < engine::kHolderCount) holder(index).setSwing(on);
}

void Instrument::setChokeGroup(int index, int group) {
  if (index >= 0 && index < engine::kHolderCount) holder(index).setChokeGroup(group);
}

int Instrument::chokeGroup(int index) const {
  if (index < 0 || index >= engine::kHolderCount) return engine::kNoChokeGroup;
  return engine_.kit().holder(NoteOf(index)).chokeGroup();
}

void Instrument::setMasterLevel(float level) { engine_.kitPlayer().setMasterLevel(level); }

void Instrument::setSwingAmount(float amount) { engine_.editorState().swingAmount = amount; }

void Instrument::setMute(int index, bool on) {
  if (index < 0 || index >= engine::kHolderCount) return;
  request(muteRequests_, index, on);
  carryOutRequests();
}

void Instrument::setSolo(int index, bool on) {
  if (index < 0 || index >= engine::kHolderCount) return;
  request(soloRequests_, index, on);
  carryOutRequests();
}

void Instrument::request(Requests& requests, int index, bool on) {
  const uint32_t asked = 1u << index;
  const uint32_t wanted = asked << kWantedShift;
  uint32_t bits = requests.load();
  while (!requests.compare_exchange_weak(bits, (bits | asked | wanted) & ~(on ? 0u : wanted))) {
  }
}

void Instrument::carryOutRequests() {
  constexpr uint32_t kAsked = (1u << engine::kHolderCount) - 1;
  while (((muteRequests_.load() | soloRequests_.load()) & kAsked) != 0) {
    // Busy: the thread that holds the rules looks for requests again before it lets go.
    if (rulesBusy_.test_and_set(std::memory_order_acquire)) return;
    carryOut(muteRequests_, &Instrument::applyMute);
    carryOut(soloRequests_, &Instrument::applySolo);
    rulesBusy_.clear(std::memory_order_release);
  }
}

void Instrument::carryOut(Requests& requests, void (Instrument::*rule)(int, bool)) {
  const uint32_t bits = requests.exchange(0);
  if (bits == 0) return;
  for (int index = 0; index < engine::kHolderCount; ++index) {
    if ((bits & (1u << index)) != 0) (this->*rule)(index, (bits & (1u << (kWantedShift + index))) != 0);
  }
  // The editor shows it too when the change came from another thread.
  engine_.editorState().parameterChanges.increment();
}

Instrument::RuleTurn::RuleTurn(Instrument& instrument) : instrument_(instrument) {
  // Only the user-interface thread waits, and only while a rule runs on another thread.
  while (instrument_.rulesBusy_.test_and_set(std::memory_order_acquire)) std::this_thread::yield();
}

Instrument::RuleTurn::~RuleTurn() {
  instrument_.rulesBusy_.clear(std::memory_order_release);
  instrument_.carryOutRequests();
}

// A request was made from what another thread saw a moment ago; the rules here hold to the
// state as it stands: a soloed holder is not muted, so unmuting it changes nothing, and ending
// a solo that a mute ended already changes nothing either.
void Instrument::applyMute(int index, bool on) {
  if (on) {
    holder(index).setMuteState(engine::kMuted);
    solo_[static_cast<size_t>(index)] = false;
  } else if (!soloed(index)) {
    holder(index).setMuteState(anySolo() ? engine::kMuted : engine::kNotMuted);
  }
}

void Instrument::applySolo(int index, bool on) {
  if (!on && !soloed(index)) return;
  if (on) {
    solo_[static_cast<size_t>(index)] = true;
    holder(index).setMuteState(engine::kNotMuted);
    for (int other = 0; other < engine::kHolderCount; ++other) {
      if (soloed(other) || holder(other).muteState() == engine::kMuted) continue;
      holder(other).setMuteState(engine::kMutedBySolo);
    }
    return;
  }
  solo_[static_cast<size_t>(index)] = false;
  holder(index).setMuteState(engine::kMutedBySolo);
  if (anySolo()) return;
  for (int other = 0; other < engine::kHolderCount; ++other) {
    if (holder(other).muteState() == engine::kMutedBySolo) holder(other).setMuteState(engine::kNotMuted);
  }
}

bool Instrument::soloed(int index) const {
  return index >= 0 && index < engine::kHolderCount && solo_[static_cast<size_t>(index)];
}

bool Instrument::anySolo() const {
  for (const engine::Relaxed<bool>& solo : solo_) {
    if (solo) return true;
  }
  return false;
}

void Instrument::soloFromMuteStates() {
  bool anyMutedBySolo = false;
  for (int i = 0; i < engine::kHolderCount; ++i) {
    anyMutedBySolo = anyMutedBySolo || holder(i).muteState() == engine::kMutedBySolo;
  }
  for (int i = 0; i < engine::kHolderCount; ++i) {
    solo_[static_cast<size_t>(i)] = anyMutedBySolo && holder(i).muteState() == engine::kNotMuted;
  }
}

bool Instrument::pressStop() {
  if (engine_.syncMode() != engine::SyncMode::Stop) {
    engine_.setSyncMode(engine::SyncMode::Stop);
    return false;
  }
  if (engine_.lastMode() != engine::SyncMode::Run) return false;
  engine_.clock().rewind();
  return true;
}

void Instrument::setStep(int pattern, int step, int holderIndex, bool sounding) {
  if (sounding) {
    engine_.patterns().setCell(engine::kSoundingStepCell, pattern, step, holderIndex);
  } else {
    engine_.patterns().clearCell(pattern, step, holderIndex);
  }
}

void Instrument::setStepVelocity(int pattern, int step, int holderIndex, int velocity) {
  engine_.patterns().setStepVelocity(velocity, pattern, step, holderIndex);
}

int Instrument::stepVelocity(int pattern, int step, int holderIndex) const {
  return engine_.patterns().stepVelocity(pattern, step, holderIndex);
}

ExportResult Instrument::exportPatternsAsMidi(std::optional<int> pattern) {
  ExportResult result;
  if (pattern && !engine::PatternStore::validPattern(*pattern)) {
    result.reason = "There is no pattern " + std::to_string(*pattern);
    return result;
  }
  const std::string documents = documentsFolder_.empty() ? platform::DocumentsFolder() : documentsFolder_;
  if (documents.empty()) {
    result.reason = "There is neither a documents nor a home folder to write into";
    return result;
  }
  const std::string folder = documents + "Kestrelhollow" + platform::kPathSeparator + "MIDI" + platform::kPathSeparator;
  result.path = folder + persistence::MidiExportName(pattern) + " " + platform::FileNameTimeStamp() + ".mid";
  if (!platform::CreateFolders(folder)) {
    result.reason = "Cannot create " + folder + ": " + std::strerror(errno);
    return result;
  }
  std::string bytes;
  {
    // A host may restore a project meanwhile.
    const platform::BoundedLock stateLock(platform::StateMutex());
    bytes =
        persistence::PatternsAsMidiFile(engine_.patterns(), engine_.kit(), pattern, engine_.editorState().sessionTempo);
  }
  if (!platform::WriteWholeFile(result.path, bytes)) {
    result.reason = "Cannot write " + result.path + ": " + std::strerror(errno);
    return result;
  }
  result.written = true;
  return result;
}

void Instrument::clearPattern(int pattern) { engine_.patterns().clearPattern(pattern); }

void Instrument::copyPattern(int from, int to) { engine_.patterns().copyPattern(from, to); }

void Instrument::clearHolder(int index) {
  const RuleTurn rules(*this);
  engine_.kit().clearHolder(NoteOf(index));
  soloFromMuteStates();
}

void Instrument::copyHolder(int from, int to) {
  if (from == to) return;
  const RuleTurn rules(*this);
  engine_.kit().clearHolder(NoteOf(to));
  engine_.kit().copyHolder(NoteOf(from), NoteOf(to));
  soloFromMuteStates();
}

void Instrument::resetPan(int index) { setPan(index, engine::kDefaultPan); }

void Instrument::resetPitch(int index) { setPitch(index, 0); }

void Instrument::setSoundMode(engine::SoundMode mode) noexcept { engine_.kit().setSoundMode(mode); }

engine::SoundMode Instrument::soundMode() const { return engine_.kit().soundMode(); }

void Instrument::setSessionRate(double rate) { engine_.kit().setSessionRate(rate); }

void Instrument::waitUntilPrepared() { preparer_.waitUntilPrepared(); }

void Instrument::resetMasterLevel() { setMasterLevel(engine::kDefaultMasterLevel); }

engine::SampleHolder& Instrument::holder(int index) { return engine_.kit().holder(NoteOf(index)); }

}  // namespace instrument

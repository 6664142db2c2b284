#include "plugin/Vst.h"

#include <atomic>
#include <cstring>
#include <limits>
#include <optional>

#include "engine/Limits.h"
#include "persistence/ChunkLoad.h"
#include "persistence/ChunkWriter.h"
#include "persistence/Configuration.h"
#include "persistence/DefaultPreset.h"
#include "persistence/Placeholders.h"
#include "platform/BoundedLock.h"
#include "platform/Files.h"
#include "platform/Messages.h"
#include "platform/Paths.h"
#include "samples/LoadMessages.h"
#include "samples/SampleLoader.h"
#include "vst/HostText.h"

namespace plugin {
namespace {

constexpr int32_t kUniqueId = vst::fourCharCode('k', 's', 'h', 'w');
constexpr const char* kEffectName = "Kestrelhollow";
constexpr const char* kVendorName = "Harrowquill";
constexpr const char* kProductName = "Sample";
constexpr int32_t kVendorVersion = 5;
constexpr const char* kConfigurationFileName = "Kestrelhollow.cfg";
constexpr const char* kUnsupportedHostText = "This host (DAW) does not support Kestrelhollow";

// Each new effect's program is named "Drumset " and the next number, wrapping after 255.
std::atomic<uint8_t> programNameCounter{0};

}  // namespace

Vst::Vst(vst::HostCallback host) : Vst(host, EffectEnvironment{platform::PluginDirectory(), {}}) {}

Vst::Vst(vst::HostCallback host, EffectEnvironment environment)
    : AudioEffectX(host, 1, 1),
      pluginDirectory_(std::move(environment.pluginDirectory)),
      configurationFilePath_(pluginDirectory_ + kConfigurationFileName),
      samplesFolder_(persistence::SamplesFolder(pluginDirectory_)),
      loadSample_(std::move(environment.loadSample)),
      editor_(editor::MakeEditor(this, engine_,
                                 {pluginDirectory_, configurationFilePath_, samplesFolder_, [this] { resetAll(); },
                                  [this](int32_t width, int32_t height) { sizeEditorWindow(width, height); }})) {
  setEditor(editor_.get());
  if (!loadSample_) {
    loadSample_ = [](engine::Kit& kit, uint8_t note, const std::string& path) {
      return samples::LoadSample(kit, note, path, false);
    };
  }
  programName_ = "Drumset " + std::to_string(programNameCounter.fetch_add(1));
  if (host != nullptr) {
    programsAreChunks();
    setNumInputs(0);
    setNumOutputs(engine::kOutputCount);
    canProcessReplacing();
    isSynth();
    setUniqueID(kUniqueId);
  }
  {
    // An editor opened meanwhile waits until the model is built.
    const platform::BoundedLock stateLock(platform::StateMutex());
    editor_->setScale(persistence::ReadEditorScale(configurationFilePath_));
    resetAll();
  }
  loadDefaultPreset();
}

Vst::~Vst() {
  // The editor is owned here, not by the base.
  setEditor(nullptr);
}

editor::EditorLink& Vst::editorLink() { return *editor_; }

void Vst::sizeEditorWindow(int32_t width, int32_t height) {
  // A host that cannot resize keeps its window; the editor then draws within it as before.
  if (canHostDo("sizeWindow")) callHost(vst::audioMasterSizeWindow, width, height);
}

void Vst::resetAll() {
  engine_.resetAll();
  editor_->reset();
}

int32_t Vst::getChunk(void** data, bool /*isPreset*/) {
  // A host may save on one thread while it restores on another.
  const platform::BoundedLock stateLock(platform::StateMutex());
  persistence::WriteChunkText(engine_, samplesFolder_, chunkText_);
  *data = chunkText_.data();
  return static_cast<int32_t>(chunkText_.size() + 1);
}

int32_t Vst::setChunk(void* data, int32_t byteSize, bool /*isPreset*/) {
  // Held for the whole load, messages included; an editor opening meanwhile waits. The host
  // may load on any thread: the editor is not touched here, it takes the outcome in its idle.
  const platform::BoundedLock stateLock(platform::StateMutex());
  // Of the samples that fail to load, the first few are told in full and the rest counted.
  const samples::LoadMessageBatch loadMessages;
  if (!persistence::LoadChunk(data, byteSize, samplesFolder_, engine_, [this] { engine_.resetAll(); }, loadSample_)) {
    return 0;  // refused, with a message; hosts ignore the answer, our render tool reads it
  }
  handLoadToEditor();
  return 1;
}

void Vst::handLoadToEditor() {
  editor::EditorLink::LoadedProject loaded;
  for (int index = 0; index < engine::kHolderCount; ++index) {
    const std::string& path = engine_.kit().holder(static_cast<uint8_t>(engine::kFirstNote + index)).path();
    loaded.directories[static_cast<size_t>(index)] = path.empty() ? samplesFolder_ : path;
  }
  engine::StepSequencer& sequencer = engine_.sequencer();
  loaded.pattern = sequencer.currentPattern();
  sequencer.selectPattern(loaded.pattern);
  editor_->handOverLoad(std::move(loaded));
}

void Vst::loadDefaultPreset() {
  const std::string path = persistence::DefaultPresetPath(pluginDirectory_);
  if (!platform::FileExists(path)) return;
  std::optional<std::string> text = persistence::ExtractPresetText(platform::ReadTextFile(path));
  if (!text || text->size() > static_cast<size_t>(std::numeric_limits<int32_t>::max())) return;
  setChunk(text->data(), static_cast<int32_t>(text->size()), true);
}

void Vst::resume() {
  // A host that never sent the block size or gives no time information cannot drive the
  // sequencer. The user is told; ending the host would lose unsaved work, so the effect
  // goes on (blocks without time information simply schedule nothing).
  const bool timeInfoAvailable =
      getTimeInfo(vst::kVstTransportPlaying | vst::kVstPpqPosValid | vst::kVstTempoValid | vst::kVstBarsValid) != nullptr;
  if (!blockSizeReceived_ || !timeInfoAvailable) platform::ShowMessage("Error", kUnsupportedHostText);
  AudioEffectX::resume();
}

void Vst::setBlockSize(int32_t size) {
  AudioEffectX::setBlockSize(size);
  blockSizeReceived_ = true;
}

void Vst::processReplacing(float** /*inputs*/, float** outputs, int32_t frames) {
  if (outputs == nullptr || frames <= 0) return;
  engine::HostTime time;
  if (const vst::VstTimeInfo* info = getTimeInfo(vst::kVstPpqPosValid | vst::kVstTempoValid)) {
    time.available = true;
    // Some hosts leave the rate out of the time information; the one they set still holds.
    time.sampleRate = info->sampleRate > 0.0 ? info->sampleRate : sampleRate_;
    time.ppqPos = info->ppqPos;
    time.tempo = info->tempo;
    time.playing = (info->flags & vst::kVstTransportPlaying) != 0;
    time.ppqValid = (info->flags & vst::kVstPpqPosValid) != 0;
    time.tempoValid = (info->flags & vst::kVstTempoValid) != 0;
  }
  engine_.renderBlock(time, outputs, frames);
}

int32_t Vst::processEvents(vst::VstEvents* events) {
  // The host's list runs past the two entries the structure declares.
  vst::VstEvent* const* list = events->events;
  for (int32_t i = 0; i < events->numEvents; ++i) {
    const vst::VstEvent* event = list[i];
    if (event == nullptr || event->type != vst::kVstMidiType) continue;
    const auto* midi = reinterpret_cast<const vst::VstMidiEvent*>(event);
    const auto status = static_cast<uint8_t>(midi->midiData[0]);
    const auto data1 = static_cast<uint8_t>(midi->midiData[1] & 0x7F);
    const auto data2 = static_cast<uint8_t>(midi->midiData[2] & 0x7F);
    switch (status & 0xF0) {
      case 0xB0:  // control change: reported to the host as automation of that parameter index
        setParameterAutomated(data1, static_cast<float>(data2) / 127.0f);
        break;
      case 0x80:
      case 0x90:
        engine_.receiveMidiNote(status, data1, data2, static_cast<uint16_t>(midi->deltaFrames & 0xFFFF));
        break;
      default:
        break;
    }
  }
  return 1;
}

void Vst::setProgramName(const char* name) {
  programName_.assign(name, strnlen(name, vst::kMaxProgramNameLength - 1));
}

void Vst::getProgramName(char* name) { getProgramNameIndexed(0, currentProgram_, name); }

bool Vst::getProgramNameIndexed(int32_t /*category*/, int32_t index, char* text) {
  if (index != 0) return false;
  vst::copyToHost(text, programName_, vst::kMaxProgramNameLength);
  return true;
}

bool Vst::getOutputProperties(int32_t index, vst::VstPinProperties* properties) {
  if (index < 0 || index >= engine::kOutputCount) return false;
  vst::copyToHost(properties->label, std::string("KHW-") + engine::kNoteNames[index / 2], vst::kMaxPinLabelLength);
  properties->flags = vst::kVstPinIsActive | vst::kVstPinIsStereo;
  return true;
}

bool Vst::getEffectName(char* name) {
  vst::copyToHost(name, kEffectName, vst::kMaxEffectNameLength);
  return true;
}

bool Vst::getVendorString(char* text) {
  vst::copyToHost(text, kVendorName, vst::kMaxVendorStringLength);
  return true;
}

bool Vst::getProductString(char* text) {
  vst::copyToHost(text, kProductName, vst::kMaxProductStringLength);
  return true;
}

int32_t Vst::getVendorVersion() { return kVendorVersion; }

int32_t Vst::canDo(const char* text) {
  if (!canHostDo("sendVstTimeInfo")) {
    platform::ShowMessage("Information", "This host (DAW) doesn't support Kestrelhollow \"SYNC\" mode.");
  }
  if (!canHostDo("sendVstMidiEvent")) {
    platform::ShowMessage("Information", "This host (DAW) doesn't support Kestrelhollow \"MIDI\" mode.");
  }
  for (const char* supported : {"receiveVstEvents", "receiveVstMidiEvent", "receiveVstTimeInfo", "midiProgramNames"}) {
    if (std::strcmp(text, supported) == 0) return 1;
  }
  return -1;
}

}  // namespace plugin

#include "plugin/Vst.h"

#include <atomic>
#include <cstring>

#include "engine/Limits.h"
#include "instrument/Parameters.h"
#include "platform/Messages.h"
#include "platform/Paths.h"
#include "vst/HostText.h"

namespace plugin {
namespace {

constexpr int32_t kUniqueId = vst::FourCharCode('k', 's', 'h', 'w');
constexpr const char* kEffectName = "Kestrelhollow";
constexpr const char* kVendorName = "Harrowquill";
constexpr const char* kProductName = "Sample";
constexpr int32_t kVendorVersion = 5;
constexpr const char* kUnsupportedHostText = "This host (DAW) does not support Kestrelhollow";

// Each new effect's program is named "Drumset " and the next number, wrapping after 255.
std::atomic<uint8_t> programNameCounter{0};

}  // namespace

Vst::Vst(vst::HostCallback host) : Vst(host, EffectEnvironment{platform::PluginDirectory(), {}}) {}

Vst::Vst(vst::HostCallback host, EffectEnvironment environment)
    : AudioEffectX(host, 1, instrument::kParameterCount),
      instrument_(std::move(environment)),
      editor_(editor::MakeEditor(instrument_,
                                 {[this](int32_t parameter) { beginEdit(parameter); },
                                  // The value stands already; setting it again changes nothing.
                                  [this](int32_t parameter, float value) { setParameterAutomated(parameter, value); },
                                  [this](int32_t parameter) { endEdit(parameter); },
                                  [this](int32_t width, int32_t height) { sizeEditorWindow(width, height); }})) {
  setEditor(&editor_);
  programName_ = "Drumset " + std::to_string(programNameCounter.fetch_add(1));
  if (host != nullptr) {
    programsAreChunks();
    setNumInputs(0);
    setNumOutputs(engine::kOutputCount);
    canProcessReplacing();
    isSynth();
    setUniqueID(kUniqueId);
  }
}

void Vst::sizeEditorWindow(int32_t width, int32_t height) {
  // A host that cannot resize keeps its window; the editor then draws within it as before.
  if (canHostDo("sizeWindow")) callHost(vst::audioMasterSizeWindow, width, height);
}

int32_t Vst::getChunk(void** data, bool /*isPreset*/) {
  const std::string& text = instrument_.saveProject();
  *data = const_cast<char*>(text.data());
  return static_cast<int32_t>(text.size() + 1);
}

int32_t Vst::setChunk(void* data, int32_t byteSize, bool /*isPreset*/) {
  // A refused text comes with a message; hosts ignore the answer, our render tool reads it.
  return instrument_.loadProject(data, byteSize) ? 1 : 0;
}

void Vst::resume() {
  // A host that never sent the block size or gives no time information cannot drive the
  // sequencer. The user is told; ending the host would lose unsaved work, so the effect
  // goes on (blocks without time information simply schedule nothing).
  const bool timeInfoAvailable = getTimeInfo(vst::kVstTransportPlaying | vst::kVstPpqPosValid | vst::kVstTempoValid |
                                             vst::kVstBarsValid) != nullptr;
  if (!blockSizeReceived_ || !timeInfoAvailable) platform::ShowMessage("Error", kUnsupportedHostText);
  instrument_.waitUntilPrepared();
  AudioEffectX::resume();
}

void Vst::setSampleRate(float rate) {
  AudioEffectX::setSampleRate(rate);
  instrument_.setSessionRate(rate);
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
  instrument_.engine().renderBlock(time, outputs, frames);
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
    // Control changes are not the host's parameters: a host maps controllers to parameters itself.
    switch (status & 0xF0) {
      case 0x80:
      case 0x90:
        instrument_.engine().receiveMidiNote(status, data1, data2, static_cast<uint16_t>(midi->deltaFrames & 0xFFFF));
        break;
      default:
        break;
    }
  }
  return 1;
}

void Vst::setParameter(int32_t index, float value) {
  if (const auto parameter = instrument::ParameterAt(index)) instrument::SetParameter(instrument_, *parameter, value);
}

float Vst::getParameter(int32_t index) {
  const auto parameter = instrument::ParameterAt(index);
  return parameter ? instrument::ParameterValue(instrument_, *parameter) : 0.0f;
}

// The three texts fit the 8 bytes of the interface; the full name is in the properties.
void Vst::getParameterName(int32_t index, char* text) {
  const auto parameter = instrument::ParameterAt(index);
  vst::CopyToHost(text, parameter ? instrument::DescribeParameter(*parameter).shortName : "",
                  vst::kMaxParameterStringLength);
}

void Vst::getParameterLabel(int32_t index, char* text) {
  const auto parameter = instrument::ParameterAt(index);
  vst::CopyToHost(text, parameter ? instrument::DescribeParameter(*parameter).unit : "",
                  vst::kMaxParameterStringLength);
}

void Vst::getParameterDisplay(int32_t index, char* text) {
  const auto parameter = instrument::ParameterAt(index);
  vst::CopyToHost(text, parameter ? instrument::ParameterDisplay(instrument_, *parameter) : "",
                  vst::kMaxParameterStringLength);
}

bool Vst::getParameterProperties(int32_t index, vst::VstParameterProperties* properties) {
  const auto parameter = instrument::ParameterAt(index);
  if (!parameter) return false;
  const instrument::ParameterDescription description = instrument::DescribeParameter(*parameter);
  *properties = {};
  vst::CopyToHost(properties->label, description.name, vst::kMaxParameterLabelLength);
  vst::CopyToHost(properties->shortLabel, description.shortName, vst::kMaxParameterShortLabelLength);
  // Steps as a share of 0..1: integer minimum and maximum would make some hosts (Ardour) send
  // the integers themselves as values.
  if (description.steps == 2) {
    properties->flags = vst::kVstParameterIsSwitch;
  } else {
    const float step = description.steps > 0 ? 1.0f / static_cast<float>(description.steps) : 0.01f;
    properties->flags = vst::kVstParameterUsesFloatStep | (description.steps > 0 ? 0 : vst::kVstParameterCanRamp);
    properties->stepFloat = step;
    properties->smallStepFloat = description.steps > 0 ? step : step / 10.0f;
    properties->largeStepFloat = description.steps > 0 ? step * 12.0f : step * 10.0f;
  }
  return true;
}

void Vst::setProgramName(const char* name) { programName_.assign(name, strnlen(name, vst::kMaxProgramNameLength - 1)); }

void Vst::getProgramName(char* name) { getProgramNameIndexed(0, currentProgram_, name); }

bool Vst::getProgramNameIndexed(int32_t /*category*/, int32_t index, char* text) {
  if (index != 0) return false;
  vst::CopyToHost(text, programName_, vst::kMaxProgramNameLength);
  return true;
}

bool Vst::getOutputProperties(int32_t index, vst::VstPinProperties* properties) {
  if (index < 0 || index >= engine::kOutputCount) return false;
  vst::CopyToHost(properties->label, std::string("KHW-") + engine::kNoteNames[index / 2], vst::kMaxPinLabelLength);
  properties->flags = vst::kVstPinIsActive | vst::kVstPinIsStereo;
  return true;
}

bool Vst::getEffectName(char* name) {
  vst::CopyToHost(name, kEffectName, vst::kMaxEffectNameLength);
  return true;
}

bool Vst::getVendorString(char* text) {
  vst::CopyToHost(text, kVendorName, vst::kMaxVendorStringLength);
  return true;
}

bool Vst::getProductString(char* text) {
  vst::CopyToHost(text, kProductName, vst::kMaxProductStringLength);
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

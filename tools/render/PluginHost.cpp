#include "PluginHost.h"

#include <algorithm>
#include <cctype>
#include <cstring>

#include "Failure.h"
#include "platform/Console.h"
#include "platform/DynamicLibrary.h"
#include "platform/Files.h"
#include "vst/HostText.h"

namespace render {
namespace {

using Entry = vst::AEffect* (*)(vst::HostCallback);

constexpr const char* kHostVendor = "Kestrelhollow";
constexpr const char* kHostProduct = "kestrelhollow-render";
constexpr intptr_t kHostVersion = 1;
// What we deliver: time information every block and MIDI events with frame offsets.
constexpr const char* kHostCapabilities[] = {"sendVstTimeInfo", "sendVstMidiEvent", "sendVstEvents"};

// The host that is creating or running the effect; the callback has no context pointer.
PluginHost* activeHost = nullptr;

[[noreturn]] void Unusable(const std::string& reason) { throw Failure(ExitCode::PluginUnusable, reason); }

}  // namespace

PluginHost::PluginHost(const std::string& modulePath) : modulePath_(modulePath) {
  if (!platform::FileExists(modulePath)) Unusable("Plug-in not found: " + modulePath);
  // A command-line host has no windows.
  platform::WithoutDisplay();
  // Kept resident after closing, as many hosts do.
  module_ = platform::OpenLibrary(modulePath, platform::Unloading::kNever);
  if (module_ == nullptr) Unusable("Cannot load the plug-in " + modulePath + ": " + platform::LibraryError());
  // Current hosts look up VSTPluginMain first; "main" is the classic name of the same entry.
  auto entry = reinterpret_cast<Entry>(platform::FindSymbol(module_, "VSTPluginMain"));
  if (entry == nullptr) entry = reinterpret_cast<Entry>(platform::FindSymbol(module_, "main"));
  if (entry == nullptr) {
    platform::CloseLibrary(module_);
    Unusable(modulePath + " is not a VST 2.x plug-in: it has no VSTPluginMain or main entry point");
  }
  activeHost = this;
  effect_ = entry(&PluginHost::callback);
  std::string problem;
  if (effect_ == nullptr) {
    problem = "The plug-in " + modulePath + " refused to start";
  } else if (effect_->magic != vst::kEffectMagic) {
    problem = modulePath + " is not a VST 2.x plug-in: its entry point returned no effect record";
    effect_ = nullptr;  // not ours to close
  } else if (effect_->numOutputs < 2 || effect_->processReplacing == nullptr ||
             (effect_->flags & vst::effFlagsCanReplacing) == 0) {
    problem = "The plug-in " + modulePath + " cannot be rendered: it has no stereo outputs with replacing processing";
  }
  if (!problem.empty()) {
    if (effect_ != nullptr) dispatch(vst::effClose);
    effect_ = nullptr;
    activeHost = nullptr;
    platform::CloseLibrary(module_);
    Unusable(problem);
  }
  dispatch(vst::effOpen);
}

PluginHost::~PluginHost() {
  suspend();
  dispatch(vst::effClose);  // the effect deletes itself
  activeHost = nullptr;
  platform::CloseLibrary(module_);
}

intptr_t PluginHost::dispatch(int32_t opcode, int32_t index, intptr_t value, void* ptr, float opt) {
  return effect_->dispatcher(effect_, opcode, index, value, ptr, opt);
}

intptr_t PluginHost::callback(vst::AEffect* /*effect*/, int32_t opcode, int32_t /*index*/, intptr_t value, void* ptr,
                              float /*opt*/) {
  return activeHost != nullptr ? activeHost->answer(opcode, value, ptr) : 0;
}

intptr_t PluginHost::answer(int32_t opcode, intptr_t /*value*/, void* ptr) {
  switch (opcode) {
    case vst::audioMasterVersion:
      return vst::kVstVersion;
    case vst::audioMasterGetTime:
      return reinterpret_cast<intptr_t>(&timeInfo_);
    case vst::audioMasterGetSampleRate:
      return static_cast<intptr_t>(sampleRate_);
    case vst::audioMasterGetBlockSize:
      return blockSize_;
    case vst::audioMasterCanDo:
      for (const char* capability : kHostCapabilities) {
        if (ptr != nullptr && std::strcmp(static_cast<const char*>(ptr), capability) == 0) return 1;
      }
      return 0;
    case vst::audioMasterGetVendorString:
      vst::CopyToHost(static_cast<char*>(ptr), kHostVendor, vst::kMaxVendorStringLength);
      return 1;
    case vst::audioMasterGetProductString:
      vst::CopyToHost(static_cast<char*>(ptr), kHostProduct, vst::kMaxProductStringLength);
      return 1;
    case vst::audioMasterGetVendorVersion:
      return kHostVersion;
    case vst::audioMasterWantMidi:
      return 1;
    default:
      return 0;  // automation, idle, display updates: nothing to do offline
  }
}

void PluginHost::configure(double sampleRate, int32_t blockSize) {
  sampleRate_ = sampleRate;
  blockSize_ = blockSize;
  timeInfo_.sampleRate = sampleRate;
  dispatch(vst::effSetSampleRate, 0, 0, nullptr, static_cast<float>(sampleRate));
  dispatch(vst::effSetBlockSize, 0, blockSize);
}

void PluginHost::resume() {
  if (resumed_) return;
  dispatch(vst::effMainsChanged, 0, 1);
  dispatch(vst::effStartProcess);
  resumed_ = true;
}

void PluginHost::suspend() {
  if (!resumed_) return;
  dispatch(vst::effStopProcess);
  dispatch(vst::effMainsChanged, 0, 0);
  resumed_ = false;
}

std::string PluginHost::programName() {
  char name[vst::kMaxProgramNameLength + 40] = {};  // hosts give more room than effects may use
  dispatch(vst::effGetProgramName, 0, 0, name);
  return std::string(name, strnlen(name, vst::kMaxProgramNameLength - 1));
}

int32_t PluginHost::findParameter(const std::string& name) {
  const auto lower = [](char c) { return std::tolower(static_cast<unsigned char>(c)); };
  const auto sameName = [&](const char* text) {
    return std::equal(name.begin(), name.end(), text, text + strlen(text),
                      [&](char a, char b) { return lower(a) == lower(b); });
  };
  for (int32_t index = 0; index < effect_->numParams; ++index) {
    vst::VstParameterProperties properties{};
    if (dispatch(vst::effGetParameterProperties, index, 0, &properties) != 0) {
      properties.label[sizeof properties.label - 1] = '\0';
      if (sameName(properties.label)) return index;
    }
    char shortName[vst::kMaxParameterStringLength + 56] = {};  // hosts give more room than effects may use
    dispatch(vst::effGetParamName, index, 0, shortName);
    shortName[sizeof shortName - 1] = '\0';
    if (sameName(shortName)) return index;
  }
  return -1;
}

void PluginHost::requireChunks() const {
  if ((effect_->flags & vst::effFlagsProgramChunks) == 0) {
    Unusable("The plug-in " + modulePath_ + " keeps no state chunks, so its state cannot be loaded or saved");
  }
}

std::string PluginHost::getChunk() {
  requireChunks();
  void* data = nullptr;
  const intptr_t size = dispatch(vst::effGetChunk, 0, 0, &data);
  if (size <= 0 || data == nullptr) Unusable("The plug-in " + modulePath_ + " gave no state chunk");
  return std::string(static_cast<const char*>(data), static_cast<size_t>(size));
}

intptr_t PluginHost::setChunk(const std::string& chunk) {
  requireChunks();
  std::string copy = chunk;  // the dispatcher takes a writable pointer
  return dispatch(vst::effSetChunk, 0, static_cast<intptr_t>(copy.size()), copy.data());
}

void PluginHost::sendMidi(const std::vector<BlockMidiMessage>& messages) {
  if (messages.empty()) return;
  midiEvents_.clear();
  for (const BlockMidiMessage& message : messages) midiEvents_.add(message.deltaFrames, message.data);
  dispatch(vst::effProcessEvents, 0, 0, midiEvents_.events());
}

void PluginHost::process(float** outputs, int32_t frames) {
  effect_->processReplacing(effect_, nullptr, outputs, frames);
}

}  // namespace render
